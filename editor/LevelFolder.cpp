// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's data folder, the file dialog's start folder and test-play's temporary folder.
#include "LevelFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "DataPaths.h"

namespace zorvik::editor {

QString ProgramDataFolder() {
    const std::string exeDir =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    return QFile::decodeName(QByteArray::fromStdString(paths::FindDataDirectory(exeDir)));
}

QString DefaultLevelFolder(const QString& programDir) {
    const std::string dataDir = QFile::encodeName(programDir).toStdString();
    if (paths::KeepsUserFilesBesideData(dataDir, dataDir)) return programDir;
    // An installed editor never offers its own folder, where root could save over the shipped
    // levels.
    const QString fallback =
        paths::IsInstalledDataDirectory(dataDir) ? QDir::homePath() : programDir;
    const std::string user = paths::UserDataDirectory();
    if (user.empty()) return fallback;
    const QString levels = QFile::decodeName(QByteArray::fromStdString(user + "/levels"));
    return QDir().mkpath(levels) ? levels : fallback;
}

QString TemporaryFolder() {
    const QByteArray tmpdir = qgetenv("TMPDIR");
    const QString folder = QFile::decodeName(tmpdir);
    // A relative, missing or read-only TMPDIR, or one Qt cannot name, gives /tmp.
    if (tmpdir.startsWith('/') && QFile::encodeName(folder) == tmpdir &&
        paths::CanWriteIn(tmpdir.toStdString())) {
        return folder;
    }
    return QStringLiteral("/tmp");
}

}  // namespace zorvik::editor
