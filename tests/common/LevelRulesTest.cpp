// SPDX-License-Identifier: GPL-3.0-or-later
// The layout rules of a playable level: each finding on a small map, and a sound level with none.
#include <gtest/gtest.h>

#include "LevelRules.h"

namespace zorvik::levelrules {
namespace {

struct Map {
    Layer tiles = Layer(kCells, 0);
    Layer solid = Layer(kCells, 0);
    Layer items = Layer(kCells, 0);

    void Put(int column, int row, int tile, int solidity, int item) {
        const auto i = static_cast<size_t>(CellIndex(column, row));
        tiles[i] = tile;
        solid[i] = solidity;
        items[i] = item;
    }
    std::vector<Finding> Check() const { return CheckLevel(tiles, solid, items); }
};

// A start, an exit, and board 1 at column 10 row 12 opened by a platform at column 5.
Map SoundLevel() {
    Map map;
    map.Put(2, 17, 0, 0, 999);
    map.Put(49, 17, 0, 0, 997);
    map.Put(10, 12, 18, 1, 1);
    map.Put(5, 17, 14, 1, 1);
    map.Put(10, 9, 4, 0, 0);  // a passable tile in the gate is fine
    return map;
}

TEST(LevelRules, SoundLevelHasNoFindingsAndAGoalCountsAsAnEnd) {
    EXPECT_TRUE(SoundLevel().Check().empty());
    Map goal = SoundLevel();
    goal.Put(49, 17, 0, 0, 900);
    EXPECT_TRUE(goal.Check().empty());
}

TEST(LevelRules, ReportsALevelWithoutExitOrGoal) {
    Map map = SoundLevel();
    map.Put(49, 17, 0, 0, 0);
    EXPECT_EQ(map.Check(), (std::vector<Finding>{{FindingKind::NoExitOrGoal, 0, 0, 0}}));
    EXPECT_EQ(FindingText(map.Check()[0]), "Level nema vychod (997) ani cil hry (900)");
}

TEST(LevelRules, BoardsMustBeNumberedOneToCountOnce) {
    Map map = SoundLevel();
    map.Put(20, 12, 18, 1, 3);  // two boards: 3 is outside 1..2
    map.Put(6, 17, 14, 1, 3);
    EXPECT_EQ(map.Check(), (std::vector<Finding>{{FindingKind::BoardNumberOutside, 20, 12, 3}}));
    map.Put(20, 12, 18, 1, 1);  // 1 twice: the second in reading order is reported
    map.Put(6, 17, 14, 1, 1);
    EXPECT_EQ(map.Check(), (std::vector<Finding>{{FindingKind::BoardNumberTwice, 20, 12, 1}}));
    map.Put(20, 12, 18, 1, 0);  // number 0 is never animated
    map.Put(6, 17, 14, 1, 0);
    EXPECT_EQ(map.Check(), (std::vector<Finding>{{FindingKind::BoardNumberOutside, 20, 12, 0}}));
}

TEST(LevelRules, MoreBoardsThanTheGameTableHolds) {
    Map map = SoundLevel();
    for (int n = 2; n <= 20; ++n) {
        map.Put(10 + 2 * (n - 1), 12, 18, 1, n);
        map.Put(n, 18, 14, 1, n);
    }
    const std::vector<Finding> findings = map.Check();
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings[0], (Finding{FindingKind::TooManyBoards, 0, 0, 20}));
    // Twenty boards numbered 1..20 are otherwise in order.
    EXPECT_EQ(findings.size(), 1u);
}

TEST(LevelRules, HousingAboveRowFourAndStoneInRowOne) {
    Map map = SoundLevel();
    map.Put(10, 12, 0, 0, 0);
    map.Put(10, 3, 18, 1, 1);
    map.Put(30, 4, 0, 0, 0);
    map.Put(7, 1, 0, 0, 20);
    map.Put(8, 2, 0, 0, 21);  // row 2 leaves row 1 for the stone
    EXPECT_EQ(map.Check(), (std::vector<Finding>{{FindingKind::HousingTooHigh, 10, 3, 1},
                                                 {FindingKind::StoneInTopRow, 7, 1, 20}}));
}

TEST(LevelRules, PlatformsAndHousingsMustShareLinkNumbers) {
    Map map = SoundLevel();
    map.Put(5, 17, 14, 1, 2);
    map.Put(6, 17, 14, 1, 1);  // a second platform for board 1 is fine
    EXPECT_EQ(map.Check(), (std::vector<Finding>{{FindingKind::PlatformWithoutHousing, 5, 17, 2}}));
    map.Put(6, 17, 0, 0, 0);
    EXPECT_EQ(map.Check(),
              (std::vector<Finding>{{FindingKind::PlatformWithoutHousing, 5, 17, 2},
                                    {FindingKind::HousingWithoutPlatform, 10, 12, 1}}));
}

TEST(LevelRules, GateCellsMustBeEmptyOrPassable) {
    Map map = SoundLevel();
    map.Put(10, 11, 7, 1, 0);   // solid tile right above the housing
    map.Put(10, 10, 0, 0, 40);  // a star is passable
    map.Put(10, 8, 7, 1, 0);    // above the gate: not checked
    EXPECT_EQ(map.Check(), (std::vector<Finding>{{FindingKind::GateCellBlocked, 10, 11, 7}}));
    EXPECT_EQ(FindingText(map.Check()[0]),
              "Pole brany (sloupec 10, radek 11) nad prknem neni prazdne ani pruchozi");
}

TEST(LevelRules, ShortLayersReadAsEmptyCells) {
    EXPECT_EQ(CheckLevel({}, {}, {}), (std::vector<Finding>{{FindingKind::NoExitOrGoal, 0, 0, 0}}));
}

}  // namespace
}  // namespace zorvik::levelrules
