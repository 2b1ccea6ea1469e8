// The high-score table: the 170-line file read and written, bad and unwritable files, and the
// name entry after a game.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "GameHarness.h"
#include "MenuScript.h"
#include "N_HI_Score.h"

namespace zorvik::test {
namespace {

namespace fs = std::filesystem;

const char* const kSaveFailedPrefix = "Nepodařilo se uložit tabulku nejlepších skóre";

// The file's lines for a table given as ten names and ten scores (padded as the game pads).
std::vector<int> FileNumbers(const std::vector<std::string>& names,
                             const std::vector<std::string>& values) {
    std::vector<int> numbers;
    for (int i = 0; i < 10; ++i) {
        std::string name = i < static_cast<int>(names.size()) ? names[i] : "";
        name.resize(10, 'z');
        for (const char c : name)
            numbers.push_back(static_cast<unsigned char>(c) + 123);
    }
    for (int i = 0; i < 10; ++i) {
        std::string value = i < static_cast<int>(values.size()) ? values[i] : "";
        value.insert(0, 7 - value.size(), '0');
        for (const char c : value)
            numbers.push_back(static_cast<unsigned char>(c) + 123);
    }
    return numbers;
}

std::string Lines(const std::vector<int>& numbers) {
    std::string text;
    for (const int n : numbers)
        text += std::to_string(n) + "\n";
    return text;
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

void ExpectEmptyTable() {
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(hiScoreNames[i], "") << "entry " << i;
        EXPECT_EQ(hiScoreValues[i], "") << "entry " << i;
    }
}

// A program folder holding only data/, for the file alone.
class HiScoreFileTest : public ::testing::Test {
  protected:
    HiScoreFileTest() : dir_(MakeDir()), game_(dir_.string()) {}
    ~HiScoreFileTest() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    static fs::path MakeDir() {
        std::string pattern = (fs::temp_directory_path() / "zorvik-hiscore-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        fs::create_directories(fs::path(pattern) / "data");
        return pattern;
    }

    std::string FilePath() const { return (dir_ / "data" / "012.dat").string(); }
    void WriteFile(const std::string& text) const {
        std::ofstream out(FilePath(), std::ios::binary | std::ios::trunc);
        out << text;
    }

    fs::path dir_;
    GameHarness game_;
};

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
    EXPECT_EQ(numbers[0], 188);    // "A"
    EXPECT_EQ(numbers[6], 245);    // "z" padding
    EXPECT_EQ(numbers[11], 155);   // the space in "A B"
    EXPECT_EQ(numbers[100], 171);  // "0"
    EXPECT_FALSE(fs::exists(FilePath() + ".tmp"));

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

TEST_F(HiScoreFileTest, FaultsBeforeTheFirstScoreIsReadGiveAnEmptyTable) {
    const std::string good = Lines(FileNumbers({"OTA"}, {"42"}));
    const auto replaceLine = [&good](int index, const std::string& with) {
        std::istringstream in(good);
        std::string line, out;
        for (int i = 0; std::getline(in, line); ++i)
            out += (i == index ? with : line) + "\n";
        return out;
    };
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"garbled line", replaceLine(50, "abc")},
        {"number with text after it", replaceLine(3, "188x")},
        {"blank line", replaceLine(100, "")},
        {"two numbers on a line", replaceLine(7, "18 8")},
        {"100 lines", good.substr(0, 100 * 4)},
        {"code below 0", replaceLine(0, "122")},
        {"code above 255", replaceLine(105, "379")},
        {"negative number", replaceLine(9, "-5")},
        {"empty file", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.text);
        hiScoreNames[1] = "OLD";
        hiScoreValues[1] = "0000001";
        bool loaded = true;
        EXPECT_NO_THROW(loaded = LoadHiScores());
        EXPECT_FALSE(loaded);
        ExpectEmptyTable();
    }

    fs::remove(FilePath());
    hiScoreNames[5] = "OLD";
    EXPECT_FALSE(LoadHiScores());
    ExpectEmptyTable();
    // A folder in the file's place opens but cannot be read.
    fs::create_directory(FilePath());
    EXPECT_NO_THROW(EXPECT_FALSE(LoadHiScores()));
    fs::remove(FilePath());
    EXPECT_TRUE(game_.Host().Messages().empty());

    // The same file with its codes intact loads.
    WriteFile(good);
    EXPECT_TRUE(LoadHiScores());
}

// Ten entries A..J scoring 100, 90, ... 10, cut or garbled after entry `kept`'s score.
TEST_F(HiScoreFileTest, EntriesReadInFullBeforeTheFirstFaultAreKept) {
    const std::vector<int> full =
        FileNumbers({"ANNA", "B", "C", "D", "E", "F", "G", "H", "I", "J"},
                    {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10"});
    const auto firstLines = [&full](int count) {
        return Lines(std::vector<int>(full.begin(), full.begin() + count));
    };
    const auto rest = [&full](int from) {
        return Lines(std::vector<int>(full.begin() + from, full.end()));
    };
    struct Case {
        const char* what;
        std::string text;
        int kept;
    } cases[] = {
        {"169 lines", firstLines(169), 9},
        {"121 lines, the third score complete", firstLines(121), 3},
        {"120 lines, the third score one short", firstLines(120), 2},
        {"garbled in the sixth score", firstLines(137) + "1x1\n" + rest(138), 5},
        {"code out of range in the sixth score", firstLines(136) + "400\n" + rest(137), 5},
        {"last line without its line end", Lines(full).substr(0, Lines(full).size() - 1), 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.text);
        EXPECT_EQ(LoadHiScores(), c.kept == 10);
        for (int i = 1; i <= 10; ++i) {
            if (i <= c.kept) {
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

    // The temporary file cannot be created where a folder of its name stands.
    fs::create_directory(FilePath() + ".tmp");
    EXPECT_FALSE(SaveHiScores());
    std::ifstream in(FilePath());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), old);
    fs::remove(FilePath() + ".tmp");

    // Nor can a file replace a folder standing in the table's place.
    fs::remove(FilePath());
    fs::create_directory(FilePath());
    EXPECT_FALSE(SaveHiScores());
    EXPECT_TRUE(fs::is_directory(FilePath()));
    EXPECT_FALSE(fs::exists(FilePath() + ".tmp"));
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

TEST_F(EnterHiScoreTest, UnwritableFileKeepsTheEntryInMemoryAndTellsThePlayer) {
    // A folder where the temporary file would go: the table cannot be written.
    EnterWhileTheSaveFails([&] { fs::create_directory(dir_.File("data/012.dat.tmp")); });
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
