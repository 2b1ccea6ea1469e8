// SPDX-License-Identifier: GPL-3.0-or-later
// The program's data folder, the writability test and the per-user data folder.
#include "DataPaths.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace zorvik::paths {

namespace {

bool HasDataFolder(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir / "data", ec);
}

// The home folder of this process's user in the password database; empty when it has none.
std::string HomeFromPasswordDatabase() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
}

bool IsAbsolute(const char* path) {
    return path != nullptr && path[0] == '/';
}

}  // namespace

std::string FindDataDirectory(const std::string& exeDir) {
    if (HasDataFolder(exeDir)) return exeDir;
    const std::filesystem::path installed =
        std::filesystem::path(exeDir).parent_path() / "share" / "zorvik";
    if (HasDataFolder(installed)) return installed.lexically_normal().string();
    return exeDir;
}

bool IsInstalledDataDirectory(const std::string& dataDir) {
    std::filesystem::path path = std::filesystem::path(dataDir).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();  // a trailing slash
    return path.filename() == "zorvik" && path.parent_path().filename() == "share";
}

bool KeepsUserFilesBesideData(const std::string& dataDir, const std::string& folder) {
    return !IsInstalledDataDirectory(dataDir) && CanWriteIn(folder);
}

bool CanWriteIn(const std::string& dir) {
    std::string probe = dir + "/.zorvik-write-test-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

std::string UserDataDirectory() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (IsAbsolute(xdg)) return std::string(xdg) + "/zorvik";
    const char* home = std::getenv("HOME");
    if (IsAbsolute(home)) return std::string(home) + "/.local/share/zorvik";
    const std::string passwordHome = HomeFromPasswordDatabase();
    if (IsAbsolute(passwordHome.c_str())) return passwordHome + "/.local/share/zorvik";
    return {};
}

}  // namespace zorvik::paths
