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

}  // namespace zorvik::editor
