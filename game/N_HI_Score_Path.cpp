// The high-score file's location: beside the game's data, or in the player's data folder.
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

}  // namespace

std::string HiScoreFilePath() {
    const std::string shipped = GamePath("/data/012.dat");
    if (paths::CanWriteIn(GamePath("/data"))) return shipped;
    const std::string userDir = paths::UserDataDirectory();
    if (userDir.empty()) return shipped;
    std::error_code ec;
    std::filesystem::create_directories(userDir, ec);
    if (ec) return shipped;
    const std::string user = userDir + "/012.dat";
    if (!std::filesystem::exists(user, ec)) SeedFrom(shipped, user);
    return user;
}

}  // namespace zorvik
