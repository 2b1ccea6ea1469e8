// The editor's data folder and the file dialog's start folder.
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

}  // namespace zorvik::editor
