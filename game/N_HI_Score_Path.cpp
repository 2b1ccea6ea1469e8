// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score file's location: beside the game's data, or in the player's data folder (always
// for an installed game).
#include "N_HI_Score_Path.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "A_deklarace.h"
#include "DataPaths.h"
#include "N_HI_Score.h"
#include "RegularFile.h"
#include "SafeWrite.h"

namespace zorvik {

namespace {

// Copies the shipped table into place through a temporary file, so a broken copy never stands
// as the player's table, nor is a temporary left behind when the disk is full. The copy is the
// player's to write whatever the shipped file's mode was.
void SeedFrom(const std::string& shipped, const std::string& user) {
    const files::ReadResult table = files::ReadRegularFile(shipped, kMaxHiScoreFileBytes);
    if (!table.ok()) return;
    files::ReplaceFile(user, table.bytes, files::NewFileMode() | S_IRUSR | S_IWUSR);
}

// Where the table is read from and where a changed table is saved.
struct TableFiles {
    std::string read;
    std::string save;  // empty: nowhere
};

TableFiles LocateTable() {
    const std::string shipped = ShippedHiScorePath();
    const std::string dataDir = GamePath("");
    if (paths::KeepsUserFilesBesideData(dataDir, GamePath("/data"))) return {shipped, shipped};
    // Without a folder of the player's own, an installed game still shows the shipped table but
    // saves nowhere; a read-only copy's save fails on its own.
    const TableFiles noUserFolder{shipped, paths::IsInstalledDataDirectory(dataDir) ? "" : shipped};
    const std::string userDir = paths::UserDataDirectory();
    if (userDir.empty()) return noUserFolder;
    std::error_code ec;
    std::filesystem::create_directories(userDir, ec);
    if (ec) return noUserFolder;
    const std::string user = userDir + "/012.dat";
    const files::FolderLock lock(userDir);
    struct stat info {};
    if (::lstat(user.c_str(), &info) != 0 && errno == ENOENT) SeedFrom(shipped, user);
    return {user, user};
}

}  // namespace

std::string ShippedHiScorePath() {
    return GamePath("/data/012.dat");
}

std::string HiScoreFilePath() {
    return LocateTable().read;
}

std::string HiScoreSavePath() {
    return LocateTable().save;
}

}  // namespace zorvik
