// SPDX-License-Identifier: GPL-3.0-or-later
// The recent map sets and the last folder in the settings.
#include "RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace zorvik::editor {

namespace {

const QString kFilesKey = QStringLiteral("recent/files");
const QString kFolderKey = QStringLiteral("recent/folder");

}  // namespace

RecentFiles::RecentFiles(QSettings& settings) : settings_(settings) {}

QStringList RecentFiles::Files() const {
    QStringList files = settings_.value(kFilesKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, kMaxFiles);
}

void RecentFiles::Add(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    files.prepend(path);
    Store(files.mid(0, kMaxFiles));
}

void RecentFiles::Remove(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    Store(files);
}

QString RecentFiles::LastFolder() const {
    const QString folder = settings_.value(kFolderKey).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return {};
    return folder;
}

void RecentFiles::SetLastFolder(const QString& folder) {
    settings_.setValue(kFolderKey, folder);
    settings_.sync();
}

void RecentFiles::Store(const QStringList& files) {
    settings_.setValue(kFilesKey, files);
    settings_.sync();
}

}  // namespace zorvik::editor
