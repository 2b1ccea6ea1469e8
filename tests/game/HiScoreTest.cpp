// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score table: the 170-line file read and written, bad and unwritable files, and the
// name entry after a game.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
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

namespace fs = std::filesystem;

TEST_F(HiScoreFileTest, SaveWritesPaddedCodesAndLoadReadsThemBack) {
    hiScoreNames[1] = "ALBERT";
    hiScoreValues[1] = "1250";
    hiScoreNames[2] = "A B";
    hiScoreValues[2] = "0000300";
    hiScoreNames[3] = "ZZZZZZZZZZ";
    hiScoreValues[3] = "9999999";
    ASSERT_TRUE(SaveHiScores());

    // The padded forms stay in the table.
    EXPECT_EQ(hiScoreNames[1], "ALBERTzzzz");
    EXPECT_EQ(hiScoreValues[1], "0001250");
    EXPECT_EQ(hiScoreNames[4], "zzzzzzzzzz");

    const std::vector<std::string> lines = ReadLines(FilePath());
    ASSERT_EQ(lines.size(), 170u);
    std::vector<int> numbers;
    for (const auto& line : lines)
        numbers.push_back(std::stoi(line));
    EXPECT_EQ(numbers, FileNumbers({"ALBERT", "A B", "ZZZZZZZZZZ"}, {"1250", "300", "9999999"}));
    EXPECT_EQ(numbers[0], 188);                                   // "A"
    EXPECT_EQ(numbers[6], 245);                                   // "z" padding
    EXPECT_EQ(numbers[11], 155);                                  // the space in "A B"
    EXPECT_EQ(numbers[100], 171);                                 // "0"
    EXPECT_EQ(DataFiles(), std::vector<std::string>{"012.dat"});  // no temporary left

    ResetGlobals();
    ASSERT_TRUE(LoadHiScores());
    EXPECT_EQ(hiScoreNames[1], "ALBERT");
    EXPECT_EQ(hiScoreValues[1], "0001250");
    EXPECT_EQ(hiScoreNames[2], "A B");
    EXPECT_EQ(hiScoreNames[3], "ZZZZZZZZZZ");
    EXPECT_EQ(hiScoreValues[3], "9999999");
    EXPECT_EQ(hiScoreNames[10], "");
    EXPECT_EQ(hiScoreValues[10], "0000000");
}

TEST_F(HiScoreFileTest, ReaderAcceptsBlanksAroundNumbersAndCrLf) {
    std::string text;
    for (const int n : FileNumbers({"OTA"}, {"42"}))
        text += "  " + std::to_string(n) + " \r\n";
    WriteFile(text);
    ASSERT_TRUE(LoadHiScores());
    EXPECT_EQ(hiScoreNames[1], "OTA");
    EXPECT_EQ(hiScoreValues[1], "0000042");
}

TEST_F(HiScoreFileTest, MissingOrUnreadableFilesGiveAnEmptyTable) {
    hiScoreNames[5] = "OLD";
    EXPECT_FALSE(LoadHiScores());
    ExpectEmptyTable();
    // A folder in the file's place cannot be read.
    fs::create_directory(FilePath());
    EXPECT_NO_THROW(EXPECT_FALSE(LoadHiScores()));
    fs::remove(FilePath());
    WriteFile("");
    EXPECT_FALSE(LoadHiScores());
    ExpectEmptyTable();
    EXPECT_TRUE(game_.Host().Messages().empty());

    // The same table with its codes intact loads.
    WriteFile(Lines(FileNumbers({"OTA"}, {"42"})));
    EXPECT_TRUE(LoadHiScores());
    EXPECT_EQ(hiScoreNames[1], "OTA");
}

// Ten entries A..J scoring 100, 90, ... 10, with one line garbled or the file cut short: each
// entry keeps its place when its own ten name lines and seven score lines are valid.
TEST_F(HiScoreFileTest, EachEntryWhoseOwnSeventeenLinesAreValidIsKept) {
    const std::vector<int> full =
        FileNumbers({"ANNA", "B", "C", "D", "E", "F", "G", "H", "I", "J"},
                    {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"});
    const auto firstLines = [&full](int count) {
        return Lines(std::vector<int>(full.begin(), full.begin() + count));
    };
    // The whole file with line `number` (counted from 1) replaced.
    const auto withLine = [&full](int number, const std::string& text) {
        std::vector<int> before(full.begin(), full.begin() + number - 1);
        std::vector<int> after(full.begin() + number, full.end());
        return Lines(before) + text + "\n" + Lines(after);
    };
    struct Case {
        const char* what;
        std::string text;
        std::vector<int> lost;  // entries left empty
    } cases[] = {
        {"line 95 garbled, a name character of entry 10", withLine(95, "abc"), {10}},
        {"line 3 a code below 0", withLine(3, "122"), {1}},
        {"line 8 with two numbers", withLine(8, "18 8"), {1}},
        {"line 10 negative", withLine(10, "-5"), {1}},
        {"line 52 with text after the number", withLine(52, "188x"), {6}},
        {"line 100 blank", withLine(100, ""), {10}},
        {"line 137 garbled, in the sixth score", withLine(137, "1x1"), {6}},
        {"line 106 a code above 255, in the first score", withLine(106, "379"), {1}},
        {"169 lines", firstLines(169), {10}},
        {"121 lines, the third score complete", firstLines(121), {4, 5, 6, 7, 8, 9, 10}},
        {"120 lines, the third score one short", firstLines(120), {3, 4, 5, 6, 7, 8, 9, 10}},
        {"100 lines, names only", firstLines(100), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"empty file", "", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {"last line without its line end", Lines(full).substr(0, Lines(full).size() - 1), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.text);
        bool loaded = true;
        EXPECT_NO_THROW(loaded = LoadHiScores());
        EXPECT_EQ(loaded, c.lost.empty());
        for (int i = 1; i <= 10; ++i) {
            if (std::find(c.lost.begin(), c.lost.end(), i) == c.lost.end()) {
                EXPECT_EQ(hiScoreNames[i],
                          i == 1 ? "ANNA" : std::string(1, static_cast<char>('A' + i - 1)));
                std::string value = std::to_string(110 - 10 * i);
                EXPECT_EQ(hiScoreValues[i], value.insert(0, 7 - value.size(), '0'));
            } else {
                EXPECT_EQ(hiScoreNames[i], "") << "entry " << i;
                EXPECT_EQ(hiScoreValues[i], "") << "entry " << i;
            }
        }
    }
    EXPECT_TRUE(game_.Host().Messages().empty());
}

TEST_F(HiScoreFileTest, FailedSaveKeepsTheOldFile) {
    const std::string old = Lines(FileNumbers({"OLD"}, {"77"}));
    WriteFile(old);
    hiScoreNames[1] = "NEW";
    hiScoreValues[1] = "88";

    // A full disk: the new table does not fit.
    {
        FileSizeLimit full(100);
        ASSERT_TRUE(full.Active());
        EXPECT_FALSE(SaveHiScores());
    }
    EXPECT_EQ(FileBytes(FilePath()), old);
    EXPECT_EQ(DataFiles(), std::vector<std::string>{"012.dat"});

    // Nor can a file replace a folder standing in the table's place.
    fs::remove(FilePath());
    fs::create_directory(FilePath());
    EXPECT_FALSE(SaveHiScores());
    EXPECT_TRUE(fs::is_directory(FilePath()));
    EXPECT_EQ(DataFiles(), std::vector<std::string>{"012.dat"});
}

// The name entry with the game's data in a temporary copy of the game folder.
class EnterHiScoreTest : public ::testing::Test {
  protected:
    EnterHiScoreTest() : game_(dir_.Path()), keys_(game_) {}

    void Start(const std::vector<std::string>& names, const std::vector<std::string>& values) {
        dir_.Write("data/012.dat", Lines(FileNumbers(names, values)));
        ASSERT_TRUE(game_.InitGame());
        game_.SetFrameRateResults();
        game_.Host().SetTimeLimitMs(120 * 1000.0);
    }

    // Enters "A" with 700 points below "BEST" with 900, with breakSave keeping the table from
    // being written: one save-failed message, the entry in memory, the file as it was.
    void EnterWhileTheSaveFails(const std::function<void()>& breakSave) {
        Start({"BEST"}, {"900"});
        const std::string before = Lines(FileNumbersOnDisk());
        breakSave();
        score = 700;
        keys_.Tap(dik::kA).Tap(dik::kEnter);
        EXPECT_NO_THROW(EnterHiScore());

        ASSERT_EQ(game_.Host().Messages().size(), 1u);
        EXPECT_EQ(game_.Host().Messages()[0].rfind(kSaveFailedPrefix, 0), 0u);
        EXPECT_EQ(hiScoreNames[2], "A");
        EXPECT_EQ(hiScoreValues[2], "0000700");  // as the file would have given it
        EXPECT_EQ(Lines(FileNumbersOnDisk()), before);
    }

    std::vector<int> FileNumbersOnDisk() const {
        std::vector<int> numbers;
        for (const auto& line : ReadLines(dir_.File("data/012.dat"))) {
            numbers.push_back(std::stoi(line));
        }
        return numbers;
    }

    TempGameDir dir_;
    GameHarness game_;
    KeyScript keys_;
};

TEST_F(EnterHiScoreTest, EqualScoreGoesBelowAndTheTableIsReadBackWithLeadingZeros) {
    Start({"BEST", "LOW"}, {"5000", "10"});
    score = 5000;
    keys_.Tap(dik::kA).Tap(dik::kB).Tap(dik::kEnter);
    EnterHiScore();
    EXPECT_TRUE(keys_.Finished());

    EXPECT_EQ(hiScoreNames[1], "BEST");
    EXPECT_EQ(hiScoreNames[2], "AB");
    EXPECT_EQ(hiScoreValues[2], "0005000");  // read back from the file
    EXPECT_EQ(hiScoreNames[3], "LOW");
    EXPECT_EQ(hiScoreValues[3], "0000010");
    EXPECT_EQ(FileNumbersOnDisk(), FileNumbers({"BEST", "AB", "LOW"}, {"5000", "5000", "10"}));
    EXPECT_TRUE(game_.Host().Messages().empty());
}

TEST_F(EnterHiScoreTest, TheLastEntryDropsOutWhenATenthBetterScoreComes) {
    Start({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"},
          {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"});
    score = 65;
    keys_.Tap(dik::kQ).Tap(dik::kKeypadEnter);
    EnterHiScore();
    EXPECT_EQ(hiScoreNames[5], "Q");
    EXPECT_EQ(hiScoreValues[5], "0000065");
    EXPECT_EQ(hiScoreNames[6], "E");
    EXPECT_EQ(hiScoreNames[10], "I");
}

TEST_F(EnterHiScoreTest, ScoreZeroOrNotBetterNeverEnters) {
    Start({}, {});
    const std::string before = Lines(FileNumbersOnDisk());
    score = 0;
    const long frames = game_.Host().Frames();
    EnterHiScore();
    EXPECT_EQ(game_.Host().Frames(), frames);  // no prompt drawn
    EXPECT_EQ(Lines(FileNumbersOnDisk()), before);
    EXPECT_EQ(hiScoreNames[1], "");
    EXPECT_EQ(hiScoreValues[1], "0000000");

    ResetGlobals();
    Start({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"},
          {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"});
    score = 10;  // equal to the last entry: below it means outside the table
    EnterHiScore();
    EXPECT_EQ(hiScoreNames[10], "J");
}

TEST_F(EnterHiScoreTest, EnterAtOnceStoresTenZAndShowsAnEmptyName) {
    Start({}, {});
    score = 100;
    keys_.Tap(dik::kEnter);
    EnterHiScore();
    EXPECT_EQ(hiScoreNames[1], "");
    EXPECT_EQ(hiScoreValues[1], "0000100");
    const std::vector<int> numbers = FileNumbersOnDisk();
    ASSERT_EQ(numbers.size(), 170u);
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(numbers[c], 245);  // ten "z"
}

TEST_F(EnterHiScoreTest, HeldLetterIsTypedOnceBackspaceRemovesAndTenLettersAtMost) {
    Start({}, {});
    score = 300;
    keys_.Hold(dik::kA, 3000).Tap(dik::kB).Tap(dik::kBackspace).Tap(dik::kS);
    for (int i = 0; i < 9; ++i)
        keys_.Tap(dik::kZ);  // the eleventh and twelfth are ignored
    keys_.Tap(dik::kEnter);
    EnterHiScore();
    EXPECT_TRUE(keys_.Finished());
    EXPECT_EQ(hiScoreNames[1], "ASZZZZZZZZ");
}

TEST_F(EnterHiScoreTest, BackspaceOnAnEmptyNameDoesNothing) {
    Start({}, {});
    score = 300;
    keys_.Tap(dik::kBackspace).Tap(dik::kSpace).Tap(dik::kA).Tap(dik::kEnter);
    EnterHiScore();
    EXPECT_EQ(hiScoreNames[1], " A");
}

TEST_F(EnterHiScoreTest, TheEntryGoesIntoTheTableAsAnotherGameLeftItOnDisk) {
    Start({"BEST", "LOW"}, {"900", "10"});
    // Another game saved its entry after this one had read the table.
    dir_.Write("data/012.dat", Lines(FileNumbers({"BEST", "OTHER", "LOW"}, {"900", "500", "10"})));
    score = 700;
    keys_.Tap(dik::kA).Tap(dik::kEnter);
    EnterHiScore();
    EXPECT_EQ(FileNumbersOnDisk(),
              FileNumbers({"BEST", "A", "OTHER", "LOW"}, {"900", "700", "500", "10"}));
    // The table shown is the one saved.
    EXPECT_EQ(hiScoreNames[2], "A");
    EXPECT_EQ(hiScoreNames[3], "OTHER");
    EXPECT_TRUE(game_.Host().Messages().empty());
}

TEST_F(EnterHiScoreTest, UnwritableFileKeepsTheEntryInMemoryAndTellsThePlayer) {
    // A full disk: the table cannot be written.
    std::unique_ptr<FileSizeLimit> full;
    EnterWhileTheSaveFails([&] { full = std::make_unique<FileSizeLimit>(100); });
    full.reset();
    EXPECT_EQ(hiScoreNames[1], "BEST");
    EXPECT_EQ(hiScoreValues[1], "0000900");
    EXPECT_EQ(hiScoreNames[3], "");
}

TEST_F(EnterHiScoreTest, APartlyReadTableStartsQuietlyAndTheNextEntryKeepsWhatWasRead) {
    std::string text = Lines(FileNumbers({"A", "B", "C", "D"}, {"400", "300", "200", "100"}));
    text.resize(text.find('\n', 4 * 121) + 1);  // 122 lines: entries 1..3 and a bit of 4
    dir_.Write("data/012.dat", text);
    ASSERT_TRUE(game_.InitGame());
    game_.SetFrameRateResults();
    game_.Host().SetTimeLimitMs(120 * 1000.0);
    EXPECT_TRUE(game_.Host().Messages().empty());
    EXPECT_EQ(hiScoreNames[3], "C");
    EXPECT_EQ(hiScoreValues[3], "0000200");
    EXPECT_EQ(hiScoreNames[4], "");
    EXPECT_EQ(hiScoreValues[4], "");

    score = 250;
    keys_.Tap(dik::kZ).Tap(dik::kEnter);
    EnterHiScore();
    EXPECT_EQ(FileNumbersOnDisk(), FileNumbers({"A", "B", "Z", "C"}, {"400", "300", "250", "200"}));
    EXPECT_TRUE(game_.Host().Messages().empty());
}

TEST_F(EnterHiScoreTest, ReadOnlyFileIsRefusedWithTheMessageAndKeptAsItWas) {
    const std::string path = dir_.File("data/012.dat");
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    EnterWhileTheSaveFails([&] { fs::permissions(path, readOnly); });
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, readOnly);
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace
}  // namespace zorvik::test
