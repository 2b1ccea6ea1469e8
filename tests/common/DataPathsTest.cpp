// SPDX-License-Identifier: GPL-3.0-or-later
// Where the programs find their data and where a player's files go: the build's folder, an
// installed tree (never written, whoever runs the program), the XDG variables, the password
// database without HOME, and writability found by trying.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "DataPaths.h"

namespace zorvik::paths {
namespace {

namespace fs = std::filesystem;

class DataPathsTest : public ::testing::Test {
  protected:
    DataPathsTest() {
        std::string pattern = (fs::temp_directory_path() / "zorvik-paths-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        root_ = pattern;
        for (const char* name : {"XDG_DATA_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
        }
    }
    ~DataPathsTest() override {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    fs::path root_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(DataPathsTest, DataIsFoundBesideTheProgramThenInTheInstalledShareFolder) {
    fs::create_directories(root_ / "build" / "data");
    EXPECT_EQ(FindDataDirectory((root_ / "build").string()), (root_ / "build").string());

    fs::create_directories(root_ / "usr" / "bin");
    fs::create_directories(root_ / "usr" / "share" / "zorvik" / "data");
    EXPECT_EQ(FindDataDirectory((root_ / "usr" / "bin").string()),
              (root_ / "usr" / "share" / "zorvik").string());

    // Neither: the program's own folder, where the missing files are then reported.
    fs::create_directories(root_ / "lonely");
    EXPECT_EQ(FindDataDirectory((root_ / "lonely").string()), (root_ / "lonely").string());
}

TEST_F(DataPathsTest, TheUserFolderFollowsXdgDataHomeThenHome) {
    setenv("XDG_DATA_HOME", "/data/home", 1);
    setenv("HOME", "/home/hra", 1);
    EXPECT_EQ(UserDataDirectory(), "/data/home/zorvik");
    setenv("XDG_DATA_HOME", "", 1);
    EXPECT_EQ(UserDataDirectory(), "/home/hra/.local/share/zorvik");
    setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
    EXPECT_EQ(UserDataDirectory(), "/home/hra/.local/share/zorvik");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserDataDirectory(), "/home/hra/.local/share/zorvik");
}

TEST_F(DataPathsTest, WithoutHomeTheUserFolderComesFromThePasswordDatabase) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr) << "this test needs a user with an entry in the password database";
    const std::string expected = std::string(entry->pw_dir) + "/.local/share/zorvik";
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    EXPECT_EQ(UserDataDirectory(), expected);
    setenv("HOME", "", 1);
    EXPECT_EQ(UserDataDirectory(), expected);
    setenv("HOME", "relative/home", 1);
    EXPECT_EQ(UserDataDirectory(), expected);
}

TEST_F(DataPathsTest, AnInstalledDataFolderIsKnownByItsShareFolder) {
    EXPECT_TRUE(IsInstalledDataDirectory("/usr/share/zorvik"));
    EXPECT_TRUE(IsInstalledDataDirectory("/usr/local/share/zorvik/"));
    EXPECT_TRUE(IsInstalledDataDirectory("/opt/hry/bin/../share/zorvik"));
    EXPECT_FALSE(IsInstalledDataDirectory("/home/hra/zorvik/build/dist"));
    EXPECT_FALSE(IsInstalledDataDirectory("/home/hra/zorvik"));
    EXPECT_FALSE(IsInstalledDataDirectory("/usr/share/zorvik/data"));
    EXPECT_FALSE(IsInstalledDataDirectory("/usr/share/zorvik-old"));
}

TEST_F(DataPathsTest, UserFilesStayBesideTheDataOnlyInAWritableBuildOrCopy) {
    const fs::path build = root_ / "build" / "dist";
    const fs::path installed = root_ / "usr" / "share" / "zorvik";
    for (const fs::path& dir : {build, installed})
        fs::create_directories(dir / "data");
    EXPECT_TRUE(KeepsUserFilesBesideData(build.string(), (build / "data").string()));
    // Writable as it is for root, and still never written by the installed programs.
    ASSERT_TRUE(CanWriteIn((installed / "data").string()));
    EXPECT_FALSE(KeepsUserFilesBesideData(installed.string(), (installed / "data").string()));
    EXPECT_FALSE(KeepsUserFilesBesideData(build.string(), (build / "missing").string()));
    // Found from a program in games/ or bin/ of the same prefix, it is the installed folder.
    fs::create_directories(root_ / "usr" / "games");
    EXPECT_TRUE(IsInstalledDataDirectory(FindDataDirectory((root_ / "usr" / "games").string())));
}

TEST_F(DataPathsTest, WritabilityIsTriedAndLeavesNothingBehind) {
    EXPECT_TRUE(CanWriteIn(root_.string()));
    EXPECT_TRUE(fs::is_empty(root_));
    EXPECT_FALSE(CanWriteIn((root_ / "missing").string()));
    EXPECT_FALSE(CanWriteIn("/proc"));  // refused even to root, whatever the mode bits say
    // Mode bits alone do not decide: root may write into a folder marked read-only.
    fs::create_directories(root_ / "locked");
    fs::permissions(root_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(CanWriteIn((root_ / "locked").string()), geteuid() == 0);
    fs::permissions(root_ / "locked", fs::perms::owner_all);
}

}  // namespace
}  // namespace zorvik::paths
