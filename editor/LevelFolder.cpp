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
    if (paths::CanWriteIn(QFile::encodeName(programDir).toStdString())) return programDir;
    const std::string user = paths::UserDataDirectory();
    if (user.empty()) return programDir;
    const QString levels = QFile::decodeName(QByteArray::fromStdString(user + "/levels"));
    return QDir().mkpath(levels) ? levels : programDir;
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
