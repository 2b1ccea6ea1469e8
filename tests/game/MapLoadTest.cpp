// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a level's three map files into the layers and object tables, and the intro card.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "A_deklarace.h"
#include "E_load.h"
#include "GameHarness.h"
#include "TestLevel.h"

namespace zorvik::test {
namespace {

class MapLoadTest : public ::testing::Test {
  protected:
    MapLoadTest() : game(dir.Path()) {}

    // Writes the level as level `number` and reads it.
    void Load(const TestLevel& level, int number = 1) {
        level.Write(dir, number);
        levelNumber = static_cast<int16_t>(number);
        ReadLevelMap();
    }

    TempGameDir dir;
    GameHarness game;
};

std::string Line(const std::string& cells) {
    return cells + "\r\n";
}

std::string Lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += Line(line);
    return text;
}

std::string FullLine(const std::string& cell) {
    std::string line;
    for (int i = 0; i < 50; ++i)
        line += cell;
    return line;
}

TEST_F(MapLoadTest, CellsReadAsNumbersAndShortLinesGiveZeros) {
    // Row 1: 018, 000, three blanks, then 7s; row 5 holds only 30 cells.
    std::string row1 = "018000   ";
    for (int i = 4; i <= 50; ++i)
        row1 += "007";
    std::string row5;
    for (int i = 1; i <= 30; ++i)
        row5 += "003";
    std::string tiles =
        Line(row1) + Lines(3, FullLine("000")) + Line(row5) + Lines(13, FullLine("000"));
    dir.Write("map/mapa1.map", tiles);
    dir.Write("map/mapa1.map.1", Lines(18, FullLine("000")));
    dir.Write("map/mapa1.map.2", Lines(18, FullLine("000")));
    mapTiles(40, 5) = 12;  // what an earlier level left
    levelNumber = 1;
    ReadLevelMap();

    EXPECT_EQ(mapTiles(1, 1), 18);
    EXPECT_EQ(mapTiles(2, 1), 0);
    EXPECT_EQ(mapTiles(3, 1), 0);
    EXPECT_EQ(mapTiles(4, 1), 7);
    EXPECT_EQ(mapTiles(50, 1), 7);
    EXPECT_EQ(mapTiles(30, 5), 3);
    for (int c = 31; c <= 50; ++c)
        EXPECT_EQ(mapTiles(c, 5), 0) << "column " << c;
}

TEST_F(MapLoadTest, SolidityFrameIsSetWhateverTheFileHolds) {
    TestLevel level;  // all passable
    mapSolid(52, 0) = 7;
    mapSolid(53, 20) = 5;
    Load(level);
    for (int c = 0; c <= 51; ++c) {
        EXPECT_EQ(mapSolid(c, 0), 1);
        EXPECT_EQ(mapSolid(c, 19), 1);
    }
    for (int r = 0; r <= 19; ++r) {
        EXPECT_EQ(mapSolid(0, r), 1);
        EXPECT_EQ(mapSolid(51, r), 1);
    }
    EXPECT_EQ(mapSolid(1, 1), 0);
    EXPECT_EQ(mapSolid(50, 18), 0);
    // Cells outside the map and the frame keep what they held.
    EXPECT_EQ(mapSolid(52, 0), 7);
    EXPECT_EQ(mapSolid(53, 20), 5);
}

TEST_F(MapLoadTest, ReloadingRestoresTheLayers) {
    TestLevel level;
    level.Ground(12);
    level.items[11][8] = 40;
    Load(level);
    mapItems(8, 11) = 0;
    mapTiles(3, 12) = 15;
    mapSolid(3, 5) = 1;
    ReadLevelMap();
    EXPECT_EQ(mapItems(8, 11), 40);
    EXPECT_EQ(mapTiles(3, 12), 1);
    EXPECT_EQ(mapSolid(3, 5), 0);
}

TEST_F(MapLoadTest, StoneMarkerMakesAStoneOneRowUpAtRest) {
    TestLevel level;
    level.tiles[10][7] = 14;
    level.items[10][7] = 20;
    level.tiles[10][9] = 5;
    level.items[10][9] = 39;
    // Leftovers of an earlier level's stone.
    Stone& old = stones[1];
    old.stepX = 1;
    old.stepY = 6;
    old.heading = -1;
    old.rollLeft = 40;
    old.falling = kTrue;
    old.frame = 9;
    old.frameTick = 2;
    Load(level);

    ASSERT_EQ(stoneCount, 2);
    const Stone& s = stones[1];
    EXPECT_EQ(s.column, 7);
    EXPECT_EQ(s.row, 9);
    EXPECT_EQ(s.offsetX, 35);
    EXPECT_EQ(s.offsetY, 58);
    EXPECT_EQ(s.stepX, 0);
    EXPECT_EQ(s.stepY, 0);
    EXPECT_EQ(s.heading, 0);
    EXPECT_EQ(s.rollLeft, 0);
    EXPECT_EQ(s.falling, 0);
    EXPECT_EQ(s.frame, 0);
    EXPECT_EQ(s.frameTick, 0);
    EXPECT_EQ(mapTiles(7, 10), -14);  // the platform counts as pressed
    EXPECT_EQ(mapItems(7, 10), 0);
    EXPECT_EQ(stones[2].column, 9);
    EXPECT_EQ(mapTiles(9, 10), -5);
}

TEST_F(MapLoadTest, LaterStartCodeAndRedSignpostWin) {
    TestLevel level;
    level.items[5][3] = 999;
    level.items[8][10] = 998;
    level.items[2][40] = 55;
    level.items[9][12] = 55;
    Load(level);
    EXPECT_EQ(playerCol, 10);
    EXPECT_EQ(playerRow, 8);
    EXPECT_EQ(playerFacing, 1);
    EXPECT_EQ(playerFrame, 36);
    EXPECT_EQ(playerOffsetX, 35.0);
    EXPECT_EQ(playerOffsetY, 40.0);
    EXPECT_EQ(playerDrawOffsetX, -35);
    EXPECT_EQ(playerDrawOffsetY, -45);
    EXPECT_EQ(signpostCol, 12);
    EXPECT_EQ(signpostRow, 9);

    TestLevel right;
    right.items[4][6] = 999;
    Load(right, 2);
    EXPECT_EQ(playerCol, 6);
    EXPECT_EQ(playerRow, 4);
    EXPECT_EQ(playerFacing, 2);
    EXPECT_EQ(playerFrame, 0);
    EXPECT_EQ(playerDrawOffsetX, -25);
    // No red signpost in this level: the old one stays.
    EXPECT_EQ(signpostCol, 12);

    // Without a start code the player stays where it was.
    playerCol = 20;
    playerRow = 3;
    Load(TestLevel{}, 3);
    EXPECT_EQ(playerCol, 20);
    EXPECT_EQ(playerRow, 3);
}

TEST_F(MapLoadTest, LevelTenReadsItsOwnFiles) {
    TestLevel one;
    one.tiles[1][1] = 1;
    one.Write(dir, 1);
    TestLevel ten;
    ten.tiles[1][1] = 10;
    ten.solid[2][2] = 1;
    ten.items[3][3] = 52;
    Load(ten, 10);
    EXPECT_EQ(mapTiles(1, 1), 10);
    EXPECT_EQ(mapSolid(2, 2), 1);
    EXPECT_EQ(mapItems(3, 3), 52);
}

TEST_F(MapLoadTest, BoardsAndEnemiesAreBuilt) {
    TestLevel level;
    level.tiles[10][5] = 18;
    level.items[10][5] = 1;
    level.tiles[12][30] = 18;
    level.items[12][30] = 2;
    level.items[4][3] = 41;
    level.items[4][9] = 50;
    level.items[6][11] = 56;
    level.items[6][14] = 57;
    boards[3].column = 9;  // a record this level does not fill
    boards[1].height = 50;
    figureEnemies[1].lastDir = -1;
    figureEnemies[1].state = 2;
    Load(level);

    ASSERT_EQ(boardCount, 2);
    EXPECT_EQ(boards[1].column, 5);
    EXPECT_EQ(boards[1].topRow, 7);
    EXPECT_EQ(boards[1].height, 219);
    EXPECT_EQ(boards[1].closeRequest, kTrue);
    EXPECT_EQ(boards[2].column, 30);
    EXPECT_EQ(boards[2].topRow, 9);
    for (size_t k : {0u, 3u, 4u, 19u})
        EXPECT_EQ(boards[k].column, 0) << "board " << k;

    ASSERT_EQ(flexEnemyCount, 2);
    const FlexEnemy& f1 = flexEnemies[1];
    EXPECT_EQ(f1.col, 3);
    EXPECT_EQ(f1.row, 4);
    EXPECT_EQ(f1.xInCell, 0);
    EXPECT_EQ(f1.yOffset, 25);
    EXPECT_EQ(f1.worldX, 3 * 73 + 18);
    EXPECT_EQ(f1.dir, 1);
    EXPECT_EQ(f1.tick, 3);
    EXPECT_EQ(f1.period, 3);
    EXPECT_EQ(flexEnemies[2].dir, -1);
    EXPECT_EQ(flexEnemies[2].period, 7);

    ASSERT_EQ(figureEnemyCount, 2);
    const FigureEnemy& g1 = figureEnemies[1];
    EXPECT_EQ(g1.col, 11);
    EXPECT_EQ(g1.row, 6);
    EXPECT_EQ(g1.xInCell, 35);
    EXPECT_EQ(g1.worldX, 11 * 73 + 35);
    EXPECT_EQ(g1.yOffset, 0);
    EXPECT_EQ(g1.dir, 1);
    EXPECT_EQ(g1.lastDir, 1);
    EXPECT_EQ(g1.state, 1);
    EXPECT_EQ(g1.tick, 3);
    EXPECT_EQ(g1.alive, kTrue);
    EXPECT_EQ(figureEnemies[2].dir, -1);
    EXPECT_EQ(figureEnemies[2].lastDir, -1);
}

TEST_F(MapLoadTest, ContentsOutsideTheTablesAreIgnored) {
    TestLevel level;
    level.tiles[10][2] = 18;  // link number beyond the table
    level.items[10][2] = 60;
    level.tiles[11][3] = 18;  // negative link number
    level.items[11][3] = -10;
    level.tiles[2][4] = 18;  // gate would stand above the map
    level.items[2][4] = 1;
    for (int c = 1; c <= 20; ++c) {
        level.tiles[16][c] = 3;
        level.items[16][c] = 20;  // twenty stones
    }
    for (int c = 1; c <= 11; ++c) {
        level.items[5][c] = 43;  // eleven flexible enemies
        level.items[7][c] = 57;  // eleven figure enemies
    }
    level.items[8][8] = 999;  // and the rest of the level still loads
    boards[1].column = 0;
    Load(level);

    EXPECT_EQ(boardCount, 0);
    EXPECT_EQ(boards[1].column, 0);
    EXPECT_EQ(stoneCount, 19);
    EXPECT_EQ(stones[19].column, 19);
    EXPECT_EQ(mapTiles(19, 16), -3);
    // The twentieth stone marker is left as it is.
    EXPECT_EQ(mapTiles(20, 16), 3);
    EXPECT_EQ(mapItems(20, 16), 20);
    EXPECT_EQ(flexEnemyCount, 10);
    EXPECT_EQ(flexEnemies[10].col, 10);
    EXPECT_EQ(figureEnemyCount, 10);
    EXPECT_EQ(figureEnemies[10].col, 10);
    EXPECT_EQ(playerCol, 8);
    EXPECT_EQ(playerRow, 8);
}

TEST_F(MapLoadTest, CountsAndChargesResetButOldRecordsStay) {
    TestLevel first;
    first.items[3][3] = 42;
    first.items[3][4] = 42;
    first.items[9][9] = 21;
    Load(first);
    ASSERT_EQ(flexEnemyCount, 2);
    beamCharges = 6;
    TestLevel second;
    second.items[2][20] = 44;
    Load(second, 2);
    EXPECT_EQ(flexEnemyCount, 1);
    EXPECT_EQ(stoneCount, 0);
    EXPECT_EQ(beamCharges, 0);
    EXPECT_EQ(flexEnemies[1].col, 20);
    EXPECT_EQ(flexEnemies[2].col, 4);  // above the count, untouched
}

TEST_F(MapLoadTest, MissingOrShortFileIsReportedWithItsName) {
    TestLevel level;
    level.Write(dir, 4);
    dir.Remove("map/mapa4.map.1");
    levelNumber = 4;
    try {
        ReadLevelMap();
        FAIL() << "a missing map file was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(dir.File("map/mapa4.map.1")), std::string::npos)
            << e.what();
    }

    level.Write(dir, 5);
    dir.Write("map/mapa5.map.2", Lines(17, FullLine("000")));
    levelNumber = 5;
    try {
        ReadLevelMap();
        FAIL() << "a map file of 17 lines was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(dir.File("map/mapa5.map.2")), std::string::npos)
            << e.what();
    }

    // A cell whose number does not fit the layer ("9e9" reads as nine thousand million).
    level.Write(dir, 6);
    dir.Write("map/mapa6.map",
              Line("9e9" + FullLine("000").substr(3)) + Lines(17, FullLine("000")));
    levelNumber = 6;
    try {
        ReadLevelMap();
        FAIL() << "an out-of-range cell was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(dir.File("map/mapa6.map")), std::string::npos)
            << e.what();
    }
}

TEST_F(MapLoadTest, IntroCardWaitsForSpaceThenLoads) {
    ASSERT_TRUE(game.InitGame());
    game.SetFrameRateResults();
    TestLevel level;
    level.items[6][7] = 999;
    level.Write(dir, 3);
    levelNumber = 3;
    textSkippable = kTrue;
    sound021->Play(dx::DSBPLAY_LOOPING);
    const int introSounds = sound028->PlayCount();
    // Other keys do nothing; Space, pressed a while later, ends the wait.
    game.Press(28);
    game.Press(1);
    const double start = game.Host().NowExactMs();
    game.HoldKeyMs(57, start + 2000, start + 1e9);
    LoadLevel();

    EXPECT_GE(game.Host().NowExactMs(), start + 2000);
    EXPECT_EQ(textSkippable, 0);
    EXPECT_FALSE(sound021->IsPlaying());
    EXPECT_EQ(sound028->PlayCount(), introSounds + 1);
    EXPECT_EQ(playerCol, 7);
    EXPECT_EQ(playerRow, 6);
}

TEST_F(MapLoadTest, IntroCardOfLevelTenShowsBothDigitsAndTheSpaceLine) {
    ASSERT_TRUE(game.InitGame());
    game.SetFrameRateResults();
    TestLevel().Write(dir, 10);
    levelNumber = 10;
    game.Press(57);
    LoadLevel();

    // The card as stamps of font cells (13 columns of 27 x 33, glyph 25 x 31, colour set 1
    // 99 pixels lower) on a black screen.
    dx::DirectDrawSurface7 expected(640, 480);
    const auto stamp = [&](int cell, int style, int x, int y) {
        const int left = 27 * (cell % 13), top = 33 * (cell / 13) + 99 * style;
        expected.BltFast(x, y, fontSheet.get(), dx::RECT{left, top, left + 25, top + 31},
                         dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT);
    };
    const dx::RECT dot{309, 66, 321, 97};
    const auto stampDot = [&](int x) {
        expected.BltFast(x, 435, fontSheet.get(), dot,
                         dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT);
    };
    // "zLEVEL c10": the letters in the first colour set from x 170, both digits in the second.
    int x = 170;
    for (const char ch : std::string("LEVEL"))
        stamp(ch - 'A', 0, std::exchange(x, x + 20), 100);
    stamp(26, 1, 290, 100);  // 1
    stamp(35, 1, 310, 100);  // 0
    // "z...STISKNI MEZERNI-K...": from x 110 on y 430, the acute riding on the last I.
    for (const int dotX : {110, 130, 150})
        stampDot(dotX);
    x = 170;
    for (const char ch : std::string("STISKNI"))
        stamp(ch - 'A', 0, std::exchange(x, x + 20), 430);
    x = 330;
    for (const char ch : std::string("MEZERNIK"))
        stamp(ch - 'A', 0, std::exchange(x, x + 20), 430);
    expected.BltFast(458, 424, fontSheet.get(), dx::RECT{270, 74, 282, 87},
                     dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT);
    for (const int dotX : {490, 510, 530})
        stampDot(dotX);

    const std::vector<uint16_t> shown = game.Host().Screen();
    ASSERT_EQ(shown.size(), 640u * 480u);
    int differing = 0, lit = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] != expected.Pixels()[i]) ++differing;
        if (expected.Pixels()[i] != 0) ++lit;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(lit, 4000);  // the stamps drew the card
    EXPECT_EQ(levelNumber, 10);
}

}  // namespace
}  // namespace zorvik::test
