// The high-score file's location: beside the game's data, or in the player's data folder (always
// for an installed game).
#include "N_HI_Score_Path.h"

#include <filesystem>
#include <system_error>

#include "A_deklarace.h"
#include "DataPaths.h"

namespace zorvik {

namespace {

// Copies the shipped table to a temporary name and renames it into place, so a broken copy
// never stands as the player's table. The copy is the player's to write whatever the shipped
// file's mode was.
void SeedFrom(const std::string& shipped, const std::string& user) {
    namespace fs = std::filesystem;
    const std::string temporary = user + ".tmp";
    std::error_code ec;
    fs::copy_file(shipped, temporary, fs::copy_options::overwrite_existing, ec);
    if (ec) return;
    fs::permissions(temporary, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::add, ec);
    fs::rename(temporary, user, ec);
    if (ec) fs::remove(temporary, ec);
}

// Where the table is read from and where a changed table is saved.
struct TableFiles {
    std::string read;
    std::string save;  // empty: nowhere
};

TableFiles LocateTable() {
    const std::string shipped = GamePath("/data/012.dat");
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
    if (!std::filesystem::exists(user, ec)) SeedFrom(shipped, user);
    return {user, user};
}

}  // namespace

std::string HiScoreFilePath() {
    return LocateTable().read;
}

std::string HiScoreSavePath() {
    return LocateTable().save;
}

}  // namespace zorvik
