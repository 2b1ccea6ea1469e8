// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score file against hostile conditions: a link planted at a temporary name, a table
// shared by several players, a damaged table, a FIFO or a device in its place, a power loss
// between write and rename, and two games saving at the same moment.
#include <gtest/gtest.h>

#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "GameHarness.h"
#include "HiScoreFiles.h"
#include "HostileFiles.h"
#include "MenuScript.h"
#include "N_HI_Score.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

// Called on every fsync of this process while set (see the definition of fsync below).
std::function<void(int)> fsyncSeen;

}  // namespace
}  // namespace zorvik::test

// Every fsync of the test program comes here, so a test can see what reached the disk when.
extern "C" int fsync(int fd) {
    if (zorvik::test::fsyncSeen) zorvik::test::fsyncSeen(fd);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace zorvik::test {
namespace {

namespace fs = std::filesystem;

const std::string kOldTable = Lines(FileNumbers({"OLD"}, {"77"}));

void SetNewTable() {
    hiScoreNames[1] = "NEW";
    hiScoreValues[1] = "88";
}
const std::string kNewTable = Lines(FileNumbers({"NEW"}, {"88"}));

TEST_F(HiScoreFileTest, TheNewTableIsOnDiskBeforeTheRenameAndTheRenameAfter) {
    WriteFile(kOldTable);
    SetNewTable();
    struct Sync {
        std::string path;
        bool folder;
        std::string fileContent;  // the synced file's content at that moment
        std::string tableOnDisk;  // 012.dat's content at that moment
    };
    std::vector<Sync> syncs;
    fsyncSeen = [&](int fd) {
        std::array<char, 4096> target{};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t length = ::readlink(link.c_str(), target.data(), target.size() - 1);
        const std::string path(target.data(), length > 0 ? static_cast<size_t>(length) : 0);
        const bool folder = fs::is_directory(path);
        syncs.push_back({path, folder, folder ? "" : FileBytes(path), FileBytes(FilePath())});
    };
    const bool saved = SaveHiScores();
    fsyncSeen = nullptr;
    ASSERT_TRUE(saved);

    const fs::path data = fs::canonical(dir_ / "data");
    size_t fileSync = syncs.size();
    for (size_t i = 0; i < syncs.size() && fileSync == syncs.size(); ++i) {
        const Sync& s = syncs[i];
        if (!s.folder && fs::path(s.path).parent_path() == data && s.fileContent == kNewTable &&
            s.tableOnDisk == kOldTable) {
            fileSync = i;
        }
    }
    ASSERT_LT(fileSync, syncs.size()) << "the new table was not synced under another name";
    bool folderSynced = false;
    for (size_t i = fileSync + 1; i < syncs.size(); ++i)
        folderSynced = folderSynced || (syncs[i].folder && syncs[i].path == data.string() &&
                                        syncs[i].tableOnDisk == kNewTable);
    EXPECT_TRUE(folderSynced) << "the folder was not synced after the rename";
    EXPECT_EQ(FileBytes(FilePath()), kNewTable);
}

TEST_F(HiScoreFileTest, ALinkAtTheOldTemporaryNameIsNeitherFollowedNorTouched) {
    WriteFile(kOldTable);
    const std::string victim = (dir_ / "victim").string();
    std::ofstream(victim) << "someone else's file";
    const std::string planted = FilePath() + ".tmp";
    fs::create_symlink(victim, planted);
    SetNewTable();
    ASSERT_TRUE(SaveHiScores());
    EXPECT_EQ(FileBytes(victim), "someone else's file");
    EXPECT_TRUE(fs::is_symlink(planted));
    EXPECT_FALSE(fs::is_symlink(FilePath()));
    EXPECT_EQ(FileBytes(FilePath()), kNewTable);
    EXPECT_EQ(DataFiles(), (std::vector<std::string>{"012.dat", "012.dat.tmp"}));
}

TEST_F(HiScoreFileTest, TheNewTableKeepsTheOldOnesPermissionBits) {
    const mode_t umask = ::umask(022);
    for (const fs::perms mode : {fs::perms(0666), fs::perms(0640), fs::perms(0600)}) {
        WriteFile(kOldTable);
        fs::permissions(FilePath(), mode);
        SetNewTable();
        ASSERT_TRUE(SaveHiScores());
        EXPECT_EQ(fs::status(FilePath()).permissions(), mode);
        EXPECT_EQ(FileBytes(FilePath()), kNewTable);
    }
    // A new table gets what any new file of this user gets.
    fs::remove(FilePath());
    ASSERT_TRUE(SaveHiScores());
    EXPECT_EQ(fs::status(FilePath()).permissions(), fs::perms(0644));
    ::umask(umask);
}

TEST_F(HiScoreFileTest, ADamagedTableIsKeptAsBadBeforeTheFirstSaveOverIt) {
    // Line 95 garbled: entry 10's name is lost, the nine others are read.
    std::string damaged =
        Lines(FileNumbers({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"},
                          {"90", "80", "70", "60", "50", "40", "30", "20", "10", "5"}));
    const size_t line95 = 94 * 4;  // every line of names is three digits and its end
    damaged.replace(line95, 3, "x9x");
    WriteFile(damaged);
    EXPECT_FALSE(LoadHiScores());
    EXPECT_EQ(hiScoreNames[9], "I");
    EXPECT_EQ(hiScoreNames[10], "");

    ASSERT_TRUE(SaveHiScores());
    EXPECT_EQ(FileBytes(FilePath() + ".bad"), damaged);
    EXPECT_EQ(FileBytes(FilePath()),
              Lines(FileNumbers({"A", "B", "C", "D", "E", "F", "G", "H", "I"},
                                {"90", "80", "70", "60", "50", "40", "30", "20", "10"})));
    // The table on disk is sound now: later saves leave the kept one alone.
    hiScoreNames[10] = "NEW";
    ASSERT_TRUE(SaveHiScores());
    EXPECT_EQ(FileBytes(FilePath() + ".bad"), damaged);
    EXPECT_EQ(DataFiles(), (std::vector<std::string>{"012.dat", "012.dat.bad"}));

    // A table that was sound is never copied.
    fs::remove(FilePath() + ".bad");
    ASSERT_TRUE(SaveHiScores());
    EXPECT_EQ(DataFiles(), std::vector<std::string>{"012.dat"});
}

TEST_F(HiScoreFileTest, SpecialFilesInTheTablesPlaceReadAsEmptyAndAreMovedAsideBySaving) {
    struct Case {
        const char* what;
        std::function<void()> make;
        fs::file_type kept;  // what 012.dat.bad is after the save
    } cases[] = {
        {"FIFO", [this] { MakeFifo(FilePath()); }, fs::file_type::fifo},
        {"link to /dev/zero", [this] { fs::create_symlink("/dev/zero", FilePath()); },
         fs::file_type::symlink},
        {"a sparse file of a gigabyte",
         [this] { MakeSparseFile(FilePath(), off_t{1} << 30, kOldTable); }, fs::file_type::regular},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove(FilePath(), ignored);
        fs::remove(FilePath() + ".bad", ignored);
        c.make();
        hiScoreNames[1] = "OLD";
        bool loaded = true;
        EXPECT_TRUE(FinishesWithin(5, FilePath(), [&] { loaded = LoadHiScores(); }));
        EXPECT_FALSE(loaded);
        ExpectEmptyTable();

        SetNewTable();
        bool saved = false;
        EXPECT_TRUE(FinishesWithin(5, FilePath(), [&] { saved = SaveHiScores(); }));
        EXPECT_TRUE(saved);
        ASSERT_TRUE(fs::is_regular_file(FilePath()));  // before it is read here
        EXPECT_EQ(FileBytes(FilePath()), kNewTable);
        EXPECT_EQ(fs::symlink_status(FilePath() + ".bad").type(), c.kept);
    }
    EXPECT_TRUE(game_.Host().Messages().empty());
}

TEST(HiScoreStartUp, AFifoOrALinkToDevZeroAsTheTableNeitherStopsNorExhaustsTheGame) {
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "FIFO" : "/dev/zero");
        TempGameDir dir;
        const std::string table = dir.File("data/012.dat");
        fs::remove(table);
        if (fifo) {
            MakeFifo(table);
        } else {
            fs::create_symlink("/dev/zero", table);
        }
        GameHarness game(dir.Path());
        bool started = false;
        EXPECT_TRUE(FinishesWithin(10, table, [&] { started = game.InitGame(); }));
        EXPECT_TRUE(started);
        EXPECT_TRUE(game.Host().Messages().empty());
        EXPECT_EQ(hiScoreNames[1], "");
    }
}

// One game of the race, in a child process: it reads the table, tells `ready`, waits for `go`,
// then enters each score under a one-letter name. Ends with 0 when all went in unremarked.
int PlayEntries(const std::string& folder, int ready, int go,
                const std::vector<std::pair<int, int32_t>>& entries) {
    GameHarness game(folder);
    KeyScript keys(game);
    if (!game.InitGame()) return 2;
    game.SetFrameRateResults();
    game.Host().SetTimeLimitMs(600 * 1000.0);
    for (const auto& [letter, points] : entries)
        keys.Tap(letter).Tap(dik::kEnter);
    char byte = 1;
    if (::write(ready, &byte, 1) != 1 || ::read(go, &byte, 1) != 1) return 3;
    for (const auto& [letter, points] : entries) {
        score = points;
        EnterHiScore();
    }
    return keys.Finished() && game.Host().Messages().empty() ? 0 : 4;
}

TEST(HiScoreRace, TwoGamesEnteringAtOnceKeepEachOthersEntries) {
    TempGameDir dir;
    dir.Write(
        "data/012.dat",
        Lines(FileNumbers({"OLD", "OLD", "OLD", "OLD", "OLD", "OLD", "OLD", "OLD", "OLD", "OLD"},
                          {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"})));
    constexpr int kT = 20;
    int ready[2];
    int go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    // Both games read the table before either saves; then they enter three scores each.
    ChildProcess first([&] {
        return PlayEntries(dir.Path(), ready[1], go[0],
                           {{dik::kA, 1000}, {dik::kB, 900}, {dik::kQ, 800}});
    });
    ChildProcess second([&] {
        return PlayEntries(dir.Path(), ready[1], go[0],
                           {{dik::kS, 950}, {kT, 850}, {dik::kZ, 750}});
    });
    ::close(ready[1]);
    ::close(go[0]);
    // Waits at most a minute for each game, so a game that dies cannot hang the test.
    pollfd readyEnd{ready[0], POLLIN, 0};
    char bytes[2];
    const bool bothReady = ::poll(&readyEnd, 1, 60000) == 1 && ::read(ready[0], bytes, 1) == 1 &&
                           ::poll(&readyEnd, 1, 60000) == 1 && ::read(ready[0], bytes + 1, 1) == 1;
    EXPECT_TRUE(bothReady);
    if (bothReady) {
        EXPECT_EQ(::write(go[1], bytes, 2), 2);
    }
    ::close(ready[0]);
    ::close(go[1]);
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);

    GameHarness game(dir.Path());
    ASSERT_TRUE(LoadHiScores());
    const std::vector<std::string> names(hiScoreNames.begin() + 1, hiScoreNames.end());
    const std::vector<std::string> values(hiScoreValues.begin() + 1, hiScoreValues.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"A", "S", "B", "T", "Q", "Z", "OLD", "OLD", "OLD", "OLD"}));
    EXPECT_EQ(values,
              (std::vector<std::string>{"0001000", "0000950", "0000900", "0000850", "0000800",
                                        "0000750", "0000100", "0000090", "0000080", "0000070"}));
}

}  // namespace
}  // namespace zorvik::test
