// The program's data folder, the writability test and the per-user data folder.
#include "DataPaths.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zorvik::paths {

namespace {

bool HasDataFolder(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir / "data", ec);
}

}  // namespace

std::string FindDataDirectory(const std::string& exeDir) {
    if (HasDataFolder(exeDir)) return exeDir;
    const std::filesystem::path installed =
        std::filesystem::path(exeDir).parent_path() / "share" / "zorvik";
    if (HasDataFolder(installed)) return installed.lexically_normal().string();
    return exeDir;
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
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/zorvik";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/share/zorvik";
    return {};
}

}  // namespace zorvik::paths
