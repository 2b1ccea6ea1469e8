// SPDX-License-Identifier: GPL-3.0-or-later
// A game that keeps its high-score table in the player's XDG data folder: one whose data folder
// the player may not write into, and an installed game whoever runs it. The table is seeded
// there and the name entry saves it there, leaving the shipped table as it was. The first test
// runs on a read-only copy of the build's game folder with a temporary XDG_DATA_HOME, or on the
// folder named by ZORVIK_TEST_READONLY_DATA with the user's own data folder (the package check
// points it at an unpacked package, as a fresh user and as root); it is skipped for a copy that
// this user may write into anyway (root). The full disk at the first start runs as a normal
// user in a child process, whoever runs the tests.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "DataPaths.h"
#include "GameHarness.h"
#include "HiScoreFiles.h"
#include "HostileFiles.h"
#include "MenuScript.h"
#include "N_HI_Score.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

namespace fs = std::filesystem;

// A writable copy of the build's game folder reached as <prefix>/share/zorvik, as an installed
// game finds its data, and XDG_DATA_HOME set to a fresh folder or to the folder given.
class InstalledCopy {
  public:
    explicit InstalledCopy(const std::string& xdg = "") {
        std::string pattern = (fs::temp_directory_path() / "zorvik-prefix-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        prefix_ = pattern;
        fs::create_directories(prefix_ / "share");
        fs::create_directory_symlink(copy_.Path(), prefix_ / "share" / "zorvik");
        setenv("XDG_DATA_HOME", xdg.empty() ? (prefix_ / "home").c_str() : xdg.c_str(), 1);
    }
    ~InstalledCopy() {
        unsetenv("XDG_DATA_HOME");
        std::error_code ignored;
        fs::remove_all(prefix_, ignored);
    }
    InstalledCopy(const InstalledCopy&) = delete;
    InstalledCopy& operator=(const InstalledCopy&) = delete;

    std::string DataDir() const { return (prefix_ / "share" / "zorvik").string(); }
    std::string ShippedTable() const { return copy_.File("data/012.dat"); }
    std::string BuildFolder() const { return copy_.Path(); }
    fs::path UserTable() const { return prefix_ / "home" / "zorvik" / "012.dat"; }

  private:
    TempGameDir copy_;
    fs::path prefix_;
};

// Plays a name entry of "AB" with a score above every entry; returns the host's messages.
std::vector<std::string> EnterAB(GameHarness& game) {
    KeyScript keys(game);
    game.SetFrameRateResults();
    game.Host().SetTimeLimitMs(120 * 1000.0);
    score = 9999999;
    keys.Tap(dik::kA).Tap(dik::kB).Tap(dik::kEnter);
    EnterHiScore();
    EXPECT_TRUE(keys.Finished());
    game.onKeyboardRead = nullptr;  // the script goes now
    return game.Host().Messages();
}

TEST(UserData, NameEntryOnAReadOnlyGameWritesTheTableIntoTheUsersDataFolder) {
    std::unique_ptr<TempGameDir> copy;
    std::string gameDir;
    if (const char* installed = std::getenv("ZORVIK_TEST_READONLY_DATA")) {
        gameDir = installed;
    } else {
        copy = std::make_unique<TempGameDir>();
        gameDir = copy->Path();
        fs::permissions(gameDir + "/data", fs::perms::owner_read | fs::perms::owner_exec);
    }
    struct Restore {
        std::string data;
        ~Restore() {
            std::error_code ignored;
            if (!data.empty()) fs::permissions(data, fs::perms::owner_all, ignored);
        }
    } restore{copy ? gameDir + "/data" : ""};
    if (paths::KeepsUserFilesBesideData(gameDir, gameDir + "/data"))
        GTEST_SKIP() << "this user may write into data/";

    fs::path xdg;
    if (copy) {
        std::string pattern = (fs::temp_directory_path() / "zorvik-home-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        xdg = pattern;
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    }
    const fs::path userTable = fs::path(paths::UserDataDirectory()) / "012.dat";
    ASSERT_FALSE(fs::exists(userTable)) << "a fresh player has no table yet";
    const std::string shipped = FileBytes(gameDir + "/data/012.dat");
    ASSERT_FALSE(shipped.empty());

    {
        GameHarness game(gameDir);
        ASSERT_TRUE(game.InitGame());
        EXPECT_EQ(FileBytes(userTable), shipped);  // seeded at the first read
        const std::string best = hiScoreNames[1];
        EXPECT_TRUE(EnterAB(game).empty());
        EXPECT_EQ(hiScoreNames[1], "AB");
        EXPECT_EQ(hiScoreNames[2], best);
    }
    EXPECT_EQ(FileBytes(gameDir + "/data/012.dat"), shipped);
    EXPECT_NE(FileBytes(userTable), shipped);
    // The next game reads the player's table, not the shipped one.
    {
        GameHarness game(gameDir);
        ASSERT_TRUE(game.InitGame());
        EXPECT_EQ(hiScoreNames[1], "AB");
        EXPECT_EQ(hiScoreValues[1], "9999999");
    }
    std::printf("high-score table written to %s\n", userTable.c_str());
    if (copy) {
        unsetenv("XDG_DATA_HOME");
        std::error_code ignored;
        fs::remove_all(xdg, ignored);
    }
}

// A player whose disk is full at the first start: the copy of the shipped table cannot be made.
// The table shown is the shipped one, nothing is left in the player's folder, and the first save
// once there is room writes the player's table from it. Runs in a child process as a normal
// user (nobody, when the tests run as root), for whom data/ is read-only.
TEST(UserData, AFailedFirstCopyShowsTheShippedTableAndLeavesNoTemporary) {
    std::string pattern = (fs::temp_directory_path() / "zorvik-seed-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path game = pattern;
    const fs::path xdg = game / "xdg";
    fs::create_directories(game / "data");
    fs::create_directories(xdg);
    const std::string shipped = Lines(FileNumbers({"SHIPPED", "TABLE"}, {"5000", "4000"}));
    std::ofstream(game / "data" / "012.dat") << shipped;
    fs::permissions(game, fs::perms(0755));
    fs::permissions(game / "data" / "012.dat", fs::perms(0644));
    fs::permissions(game / "data", fs::perms(0555));
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(xdg.c_str(), kNobody, kNobody), 0);
    }

    ChildProcess player([&] {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return 10;
        if (paths::CanWriteIn((game / "data").string())) return 11;
        setenv("XDG_DATA_HOME", xdg.c_str(), 1);
        const fs::path userTable = xdg / "zorvik" / "012.dat";
        GameHarness harness(game.string());
        {
            FileSizeLimit full(100);
            if (!full.Active()) return 12;
            EXPECT_TRUE(LoadHiScores());
        }
        EXPECT_EQ(hiScoreNames[1], "SHIPPED");
        EXPECT_EQ(hiScoreValues[2], "0004000");
        EXPECT_TRUE(fs::is_empty(xdg / "zorvik")) << "a temporary file was left behind";

        hiScoreNames[3] = "MINE";
        hiScoreValues[3] = "3000";
        EXPECT_TRUE(SaveHiScores());
        EXPECT_EQ(FileBytes(userTable.string()),
                  Lines(FileNumbers({"SHIPPED", "TABLE", "MINE"}, {"5000", "4000", "3000"})));
        return ::testing::Test::HasFailure() ? 1 : 0;
    });
    EXPECT_EQ(player.Wait(), 0);
    EXPECT_EQ(FileBytes((game / "data" / "012.dat").string()), shipped);
    fs::permissions(game / "data", fs::perms::owner_all);
    std::error_code ignored;
    fs::remove_all(game, ignored);
}

TEST(UserData, AnInstalledGameSavesInTheUsersFolderEvenWhereItMayWriteItsData) {
    InstalledCopy installed;
    // Root's situation: the installed data folder takes new files.
    ASSERT_TRUE(paths::CanWriteIn(installed.DataDir() + "/data"));
    const std::string shipped = FileBytes(installed.ShippedTable());
    {
        GameHarness game(installed.DataDir());
        ASSERT_TRUE(game.InitGame());
        EXPECT_TRUE(EnterAB(game).empty());
        EXPECT_EQ(hiScoreNames[1], "AB");
    }
    EXPECT_EQ(FileBytes(installed.ShippedTable()), shipped);
    ASSERT_TRUE(fs::exists(installed.UserTable()));
    {
        GameHarness game(installed.DataDir());
        ASSERT_TRUE(game.InitGame());
        EXPECT_EQ(hiScoreNames[1], "AB");
    }
}

TEST(UserData, AnInstalledGameWithoutAFolderForThePlayerShowsTheShippedTableAndSavesNowhere) {
    // No folder can be made under /proc, not even by root.
    InstalledCopy installed("/proc/zorvik-no-such-folder");
    const std::string shipped = FileBytes(installed.ShippedTable());
    std::string shippedBest;
    {
        GameHarness game(installed.BuildFolder());
        ASSERT_TRUE(game.InitGame());
        shippedBest = hiScoreNames[1];
    }
    ASSERT_FALSE(shippedBest.empty());
    GameHarness game(installed.DataDir());
    ASSERT_TRUE(game.InitGame());
    EXPECT_EQ(hiScoreNames[1], shippedBest);
    const std::vector<std::string> messages = EnterAB(game);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Nepodařilo se uložit tabulku nejlepších skóre", 0), 0u);
    EXPECT_EQ(hiScoreNames[1], "AB");  // kept in memory until the game ends
    EXPECT_EQ(FileBytes(installed.ShippedTable()), shipped);
}

}  // namespace
}  // namespace zorvik::test
