// SPDX-License-Identifier: GPL-3.0-or-later
// The level compiler: legend, link numbers and speeds, stones, and the checks that keep a
// shipped level inside the game's limits.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "LevelMeasures.h"
#include "LevelSource.h"
#include "MapText.h"
#include "TestPaths.h"

namespace zorvik::levels {
namespace {

// A level of empty rows with the given rows replaced (row number -> 50 characters).
std::string Source(const std::map<int, std::string>& rows,
                   const std::map<int, std::string>& extra = {}) {
    std::string text = "name: test\n[map]\n";
    for (int r = 1; r <= kRows; ++r) {
        text += (rows.count(r) ? rows.at(r) : std::string(kColumns, '.')) + "\n";
    }
    if (!extra.empty()) {
        text += "[extra]\n";
        for (int r = 1; r <= kRows; ++r) {
            text += (extra.count(r) ? extra.at(r) : std::string(kColumns, '.')) + "\n";
        }
    }
    return text;
}

std::string Row(const std::string& start, char fill = '.') {
    std::string row = start;
    row.resize(kColumns, fill);
    return row;
}

const std::string kGround(kColumns, '#');

TEST(LevelSource, CompilesTilesObjectsLinksAndSpeeds) {
    const auto level = CompileLevelSource(Source({{10, Row(".|")},
                                                  {11, Row(".|")},
                                                  {12, Row("P|.>.<...rEIf")},
                                                  {13, Row("_B##o#")},
                                                  {14, kGround}},
                                                 {{12, Row("...3.5")}, {13, Row("11")}}));
    ASSERT_TRUE(level.errors.empty()) << level.errors.front();
    const auto& L = level.layers;
    EXPECT_EQ(L.items[11][0], 999);
    EXPECT_EQ(L.items[11][3], 43);  // rightwards, speed 3
    EXPECT_EQ(L.items[11][5], 50);  // leftwards, speed 5
    EXPECT_EQ(L.items[11][9], 55);
    EXPECT_EQ(L.items[11][10], 997);
    // Pillar and mushrooms are passable decoration.
    EXPECT_EQ(L.tiles[11][11], 19);
    EXPECT_EQ(L.tiles[11][12], 20);
    EXPECT_EQ(L.solid[11][12], 0);
    EXPECT_EQ(L.tiles[12][0], 14);
    EXPECT_EQ(L.items[12][0], 1);  // platform linked to board 1
    EXPECT_EQ(L.tiles[12][1], 18);
    EXPECT_EQ(L.solid[12][1], 1);
    EXPECT_EQ(L.items[12][1], 1);
    // A stone drawn at row 13 rests on row 14: its code marks the ground cell.
    EXPECT_EQ(L.items[12][4], 0);
    EXPECT_EQ(L.items[13][4], 20);
    EXPECT_EQ(L.tiles[13][4], 1);
}

TEST(LevelSource, RefusesLevelsOutsideTheGamesLimits) {
    auto errorsOf = [](const std::string& text) { return CompileLevelSource(text).errors; };
    EXPECT_TRUE(errorsOf(Source({{5, Row("PrE")}})).empty());
    EXPECT_FALSE(errorsOf(Source({{5, Row("Pr")}})).empty());    // no way out
    EXPECT_FALSE(errorsOf(Source({{5, Row("PrEG")}})).empty());  // an exit and the goal
    EXPECT_FALSE(errorsOf(Source({{5, Row("rE")}})).empty());    // no start
    EXPECT_FALSE(errorsOf(Source({{5, Row("PrE")}, {6, Row("P")}})).empty());  // two starts
    EXPECT_FALSE(errorsOf(Source({{5, Row("PE")}})).empty());                  // no red signpost
    EXPECT_FALSE(errorsOf(Source({{5, Row("PrE")}, {6, Row(">>>>>>>>>>>")}})).empty());
    EXPECT_FALSE(errorsOf(Source({{5, Row("PrE?")}})).empty());  // unknown character
    // A housing too high, a gap in the board numbers, a platform without a board.
    EXPECT_FALSE(errorsOf(Source({{3, Row("B")}, {5, Row("PrE")}}, {{3, Row("1")}})).empty());
    EXPECT_FALSE(errorsOf(Source({{9, Row("B")}, {5, Row("PrE")}}, {{9, Row("2")}})).empty());
    EXPECT_FALSE(errorsOf(Source({{9, Row("_")}, {5, Row("PrE")}}, {{9, Row("1")}})).empty());
    // A board whose gate cells are not empty, a stone in the air or on a platform.
    EXPECT_FALSE(
        errorsOf(Source({{8, Row("#")}, {9, Row("B")}, {5, Row("PrE")}}, {{9, Row("1")}})).empty());
    EXPECT_FALSE(errorsOf(Source({{5, Row("PrEo")}})).empty());
    EXPECT_FALSE(errorsOf(Source({{5, Row("PrEo")}, {6, Row("._B")}}, {{6, Row(".11")}})).empty());
    // Passable decoration may stand behind a gate.
    EXPECT_TRUE(errorsOf(Source({{8, Row("~")}, {9, Row("B")}, {10, Row("._")}, {5, Row("PrE")}},
                                {{9, Row("1")}, {10, Row(".1")}}))
                    .empty());
    // The shared layout rules: a board that no platform opens would stay shut for good.
    const auto shut = errorsOf(Source({{9, Row("B")}, {5, Row("PrE")}}, {{9, Row("1")}}));
    ASSERT_EQ(shut.size(), 1u);
    EXPECT_NE(shut[0].find("nevede zadna plosinka"), std::string::npos) << shut[0];
    // A digit that means nothing, a short row.
    EXPECT_FALSE(errorsOf(Source({{5, Row("PrE")}}, {{5, Row("..7")}})).empty());
    EXPECT_FALSE(errorsOf(Source({{5, "PrE"}})).empty());
}

TEST(LevelSource, WritesThreeFilesOfEighteenLinesThatReadBack) {
    const auto level = CompileLevelSource(Source({{12, Row("P*+$b.rE")}, {13, kGround}}, {}));
    ASSERT_TRUE(level.errors.empty());
    const auto texts = MapFileTexts(level.layers);
    for (const auto& text : texts) {
        EXPECT_EQ(text.size(), 18u * 152u);
        std::istringstream in(text);
        const auto lines = maptext::ReadLines(in, 18);
        ASSERT_EQ(lines.size(), 18u);
        EXPECT_EQ(lines[0].size(), 150u);
    }
    std::istringstream items(texts[2]);
    const auto lines = maptext::ReadLines(items, 18);
    EXPECT_EQ(maptext::CellValue(lines[11], 2), 40);
    EXPECT_EQ(maptext::CellValue(lines[11], 3), 51);
    EXPECT_EQ(maptext::CellValue(lines[11], 4), 52);
    EXPECT_EQ(maptext::CellValue(lines[11], 5), 53);
}

// The map files that ship must be exactly what the sources compile to.
TEST(LevelSource, ShippedMapsMatchTheirSources) {
    namespace fs = std::filesystem;
    const fs::path sources = fs::path(test::SourceDir()) / "levels";
    const fs::path maps = fs::path(test::SourceDir()) / "map";
    int checked = 0;
    for (int n = 1; fs::exists(sources / ("level" + std::to_string(n) + ".txt")); ++n) {
        const auto level =
            CompileLevelSource(test::FileBytes(sources / ("level" + std::to_string(n) + ".txt")));
        ASSERT_TRUE(level.errors.empty()) << "level " << n << ": " << level.errors.front();
        const auto texts = MapFileTexts(level.layers);
        const char* suffixes[3] = {"", ".1", ".2"};
        for (int i = 0; i < 3; ++i) {
            const fs::path file = maps / ("mapa" + std::to_string(n) + ".map" + suffixes[i]);
            EXPECT_EQ(test::FileBytes(file), texts[i]) << file << " is out of date: run mapc";
        }
        ++checked;
    }
    EXPECT_GE(checked, 8) << "the campaign has at least eight levels";
}

// The compiler itself: a level the game cannot play is named and nothing is written for it;
// --stats prints a row for a sound level and writes nothing either.
TEST(LevelSource, MapcRefusesABadLevelAndWritesNoMap) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("mapc-test-" + std::to_string(::getpid()));
    fs::create_directories(root / "levels");
    fs::create_directories(root / "map");
    const auto write = [&](const std::string& text) {
        std::ofstream(root / "levels" / "level1.txt", std::ios::binary) << text;
    };
    const auto run = [&](const std::string& args) {
        const std::string command = std::string("\"") + ZORVIK_MAPC + "\" " + args + " > \"" +
                                    (root / "out.txt").string() + "\" 2>&1";
        const int status = std::system(command.c_str());
        return std::make_pair(status, test::FileBytes(root / "out.txt"));
    };
    const std::string levels = "\"" + (root / "levels").string() + "\"";
    const std::string maps = "\"" + (root / "map").string() + "\"";

    write(Source({{9, Row("B")}, {5, Row("PrE")}}, {{9, Row("1")}}));  // a board nothing opens
    auto [status, out] = run(levels + " " + maps);
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("level1.txt"), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(root / "map" / "mapa1.map"));

    write(Source({{4, Row("*")}, {5, Row("PrE")}, {6, kGround}}));
    std::tie(status, out) = run("--stats " + levels);
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("| 1 | test | "), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(root / "map" / "mapa1.map"));
    std::tie(status, out) = run(levels + " " + maps);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(fs::exists(root / "map" / "mapa1.map.2"));
    fs::remove_all(root);
}

// With --prove a level takes its place only when proven clean: a room whose floor has a hole
// one cannot climb out of is refused with the prover's finding, and the maps already written
// stay as they were.
TEST(LevelSource, MapcProveRefusesALevelWithADeadEndAndKeepsTheOldMap) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("mapc-prove-" + std::to_string(::getpid()));
    fs::create_directories(root / "levels");
    fs::create_directories(root / "map");
    const auto write = [&](const std::string& floor) {
        std::string text = "name: test\n[map]\n";
        for (int r = 1; r <= 18; ++r) {
            std::string row = r <= 12   ? "W.......W"
                              : r == 13 ? "W.rP..E.W"
                              : r < 18  ? floor
                                        : "WWWWWWWWW";
            text += row + std::string(50 - row.size(), '.') + "\n";
        }
        std::ofstream(root / "levels" / "level1.txt", std::ios::binary) << text;
    };
    const auto run = [&] {
        const std::string command = std::string("\"") + ZORVIK_MAPC + "\" --prove \"" +
                                    (root / "levels").string() + "\" \"" + (root / "map").string() +
                                    "\" > \"" + (root / "out.txt").string() + "\" 2>&1";
        const int status = std::system(command.c_str());
        return std::make_pair(status, test::FileBytes(root / "out.txt"));
    };

    write("WWWWWWWWW");
    auto [status, out] = run();
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("finish: yes"), std::string::npos) << out;
    const std::string clean = test::FileBytes(root / "map" / "mapa1.map.1");
    ASSERT_FALSE(clean.empty());

    write("WWWW.WWWW");  // four rows deep over solid ground: no way out, and no death either
    std::tie(status, out) = run();
    EXPECT_NE(status, 0);
    EXPECT_NE(out.find("trapped pit with no way out"), std::string::npos) << out;
    EXPECT_NE(out.find("not proven clean"), std::string::npos) << out;
    EXPECT_EQ(test::FileBytes(root / "map" / "mapa1.map.1"), clean);
    EXPECT_FALSE(fs::exists(root / "map" / ".mapa1.map.proving"));
    fs::remove_all(root);
}

// Every shipped level builds in height: at least a quarter of its used cells lie in rows 1..10
// and a star sits in row 8 or higher; the last level ends at the goal, every other at an exit.
TEST(LevelSource, ShippedLevelsUseTheUpperRowsAndEndRight) {
    namespace fs = std::filesystem;
    const fs::path sources = fs::path(test::SourceDir()) / "levels";
    int count = 0;
    while (fs::exists(sources / ("level" + std::to_string(count + 1) + ".txt")))
        ++count;
    for (int n = 1; n <= count; ++n) {
        SCOPED_TRACE("level " + std::to_string(n));
        const auto level =
            CompileLevelSource(test::FileBytes(sources / ("level" + std::to_string(n) + ".txt")));
        ASSERT_TRUE(level.errors.empty()) << level.errors.front();
        const auto items = Flatten(level.layers.items);
        const auto m = levelrules::MeasureLevel(Flatten(level.layers.tiles), items);
        EXPECT_GE(m.UpperShare(), 25.0) << m.usedInUpperRows << " of " << m.usedCells;
        EXPECT_GE(m.highestStarRow, 1);
        EXPECT_LE(m.highestStarRow, 8);
        const bool goal = std::find(items.begin(), items.end(), 900) != items.end();
        EXPECT_EQ(goal, n == count) << "only the last level has the goal";
    }
}

}  // namespace
}  // namespace zorvik::levels
