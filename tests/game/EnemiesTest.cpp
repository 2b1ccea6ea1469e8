// SPDX-License-Identifier: GPL-3.0-or-later
// Enemies: step timing, gliding and picture anchors, reversal, the range rule, the crawl sound,
// the hit tests of both kinds, patrol and standing of figures, and deaths in one frame.
#include "I_Nepratele.h"
#include "ObjectsTestSupport.h"

namespace zorvik::test {
namespace {

class EnemiesTest : public ObjectsTest {
  protected:
    void SetUp() override {
        ObjectsTest::SetUp();
        Floor(10, 5, 15);  // enemies walk in row 9 over columns 5..15
        lives = 3;
        signpostCol = 40;
        signpostRow = 3;
        PlacePlayer(40, 3, 35, 40);  // far away
    }
    static void PlacePlayer(int col, int row, double offsetX, double offsetY) {
        playerCol = static_cast<int16_t>(col);
        playerRow = static_cast<int16_t>(row);
        playerOffsetX = offsetX;
        playerOffsetY = offsetY;
    }
    // A flexible enemy as the loader makes it from code 41..50.
    static FlexEnemy& LoadedFlex(int index, int col, int row, int dir, int period) {
        FlexEnemy& e = flexEnemies[static_cast<size_t>(index)];
        e = FlexEnemy{static_cast<int16_t>(col),
                      static_cast<int16_t>(row),
                      0,
                      25,
                      col * 73.0 + 18,
                      0,
                      static_cast<int16_t>(dir),
                      3,
                      static_cast<int16_t>(period)};
        flexEnemyCount = static_cast<int16_t>(std::max<int>(flexEnemyCount, index));
        return e;
    }
    // A figure enemy as the loader makes it from code 56 or 57.
    static FigureEnemy& LoadedFigure(int index, int col, int row, int dir) {
        FigureEnemy& e = figureEnemies[static_cast<size_t>(index)];
        e = FigureEnemy{};
        e.col = static_cast<int16_t>(col);
        e.row = static_cast<int16_t>(row);
        e.xInCell = 35;
        e.worldX = static_cast<int16_t>(col * 73 + 35);
        e.dir = e.lastDir = static_cast<int16_t>(dir);
        e.tick = 3;
        e.state = 1;
        e.alive = kTrue;
        figureEnemyCount = static_cast<int16_t>(std::max<int>(figureEnemyCount, index));
        return e;
    }
};

TEST_F(EnemiesTest, FlexibleEnemyStepsWhenItsTickWrapsAndThenEveryPeriod) {
    for (int period : {3, 7}) {
        FlexEnemy& e = LoadedFlex(1, 8, 9, 1, period);
        std::vector<int> steps;
        double last = e.worldX;
        for (int frame = 1; frame <= 20; ++frame) {
            UpdateFlexEnemies();
            if (e.worldX != last) {
                EXPECT_NEAR(e.worldX - last, 3.7, 1e-9);
                steps.push_back(frame);
            }
            last = e.worldX;
        }
        const std::vector<int> expected =
            period == 3 ? std::vector<int>{3, 6, 9, 12, 15, 18} : std::vector<int>{4, 11, 18};
        EXPECT_EQ(steps, expected) << "period " << period;
    }
}

TEST_F(EnemiesTest, FlexibleEnemyPictureRunsTenFramesThenItsAnchorJumps) {
    FlexEnemy& e = LoadedFlex(1, 8, 9, 1, 3);
    e.tick = 2;  // a step in every third frame from the first
    auto step = [] {
        for (int i = 0; i < 3; ++i)
            UpdateFlexEnemies();
    };
    for (int i = 1; i <= 9; ++i)
        step();
    EXPECT_EQ(e.frame, 9);
    EXPECT_EQ(e.xInCell, 0);
    step();
    EXPECT_EQ(e.frame, 0);
    EXPECT_EQ(e.xInCell, 37);
    EXPECT_EQ(e.col, 8);
    for (int i = 1; i <= 10; ++i)
        step();
    EXPECT_EQ(e.xInCell, 1);  // 74 wraps into the next column
    EXPECT_EQ(e.col, 9);
    EXPECT_NEAR(e.worldX, 8 * 73 + 18 + 20 * 3.7, 1e-9);

    // Moving left plays the frames backwards from the anchor.
    FlexEnemy& l = LoadedFlex(1, 8, 9, -1, 3);
    l.tick = 2;
    step();
    EXPECT_EQ(l.frame, 9);
    EXPECT_EQ(l.xInCell, 36);
    EXPECT_EQ(l.col, 7);
}

TEST_F(EnemiesTest, FlexibleEnemyReversesAtTheProbeCellOfItsLeadingEdge) {
    // Moving right the probe is worldX itself: floor ends with column 15 (x 1095..1167).
    FlexEnemy& e = LoadedFlex(1, 14, 9, 1, 3);
    e.tick = 2;
    e.worldX = 1168 - 3.7 - 3.7 + 0.1;  // two steps: 1164.4 stays, 1168.1 probes column 16
    for (int i = 0; i < 3; ++i)
        UpdateFlexEnemies();
    EXPECT_EQ(e.dir, 1);
    for (int i = 0; i < 3; ++i)
        UpdateFlexEnemies();
    EXPECT_EQ(e.dir, -1);

    // Moving left the probe is worldX - 35: the floor starts with column 5 (x 365).
    FlexEnemy& l = LoadedFlex(1, 6, 9, -1, 3);
    l.tick = 2;
    l.worldX = 365 + 35 + 3.7 + 0.1;  // one step: 400.1 stays, 396.4 probes column 4
    for (int i = 0; i < 3; ++i)
        UpdateFlexEnemies();
    EXPECT_EQ(l.dir, -1);
    for (int i = 0; i < 3; ++i)
        UpdateFlexEnemies();
    EXPECT_EQ(l.dir, 1);

    // A wall in its own row turns it as well, and it never leaves its row.
    mapSolid(12, 9) = 1;
    FlexEnemy& w = LoadedFlex(1, 11, 9, 1, 3);
    w.worldX = 12 * 73 - 1;
    w.tick = 2;
    for (int i = 0; i < 3; ++i)
        UpdateFlexEnemies();
    EXPECT_EQ(w.dir, -1);
    EXPECT_EQ(w.row, 9);
}

TEST_F(EnemiesTest, FlexibleEnemyOutOfRangeIsNotDrawnHeardOrHitting) {
    struct Case {
        int playerCol, playerRow, enemyCol;
        bool inRange;
    };
    const Case cases[] = {{16, 9, 8, false},  // 8 columns away
                          {15, 9, 8, true},   // 7 columns away
                          {8, 14, 8, false},  // 5 rows away
                          {8, 13, 8, true}};  // 4 rows away (no hit: another row)
    cameraCol = 4;
    cameraRow = 5;
    for (const Case& c : cases) {
        ClearSurface(*tileCanvas);
        lives = 3;
        FlexEnemy& e = LoadedFlex(1, c.enemyCol, 9, 1, 3);
        e.frame = 5;
        e.tick = 0;
        PlacePlayer(c.playerCol, c.playerRow, 35, 40);
        e.worldX = c.playerCol * 73 + 35;  // the body right at the player
        const int plays = sounds015[1]->PlayCount();
        UpdateFlexEnemies();
        const bool hit = lives < 3;
        EXPECT_EQ(sounds015[1]->PlayCount() > plays, c.inRange)
            << c.playerCol << "," << c.playerRow;
        EXPECT_EQ(CountNonZero(*tileCanvas) > 0, c.inRange) << c.playerCol << "," << c.playerRow;
        EXPECT_EQ(hit, c.inRange && c.playerRow == 9) << c.playerCol << "," << c.playerRow;
    }
}

TEST_F(EnemiesTest, FlexibleEnemyCrawlSoundIsQuieterFartherAway) {
    FlexEnemy& e = LoadedFlex(3, 8, 9, 1, 7);
    e.frame = 5;
    PlacePlayer(10, 6, 35, 40);
    e.worldX = 10 * 73 + 35 - 100.5;  // 100.5 away rounds to 100
    UpdateFlexEnemies();
    EXPECT_EQ(sounds015[3]->Volume(), -500);
    EXPECT_EQ(sounds015[3]->PlayCount(), 1);
    UpdateFlexEnemies();  // still frame 5: played again
    EXPECT_EQ(sounds015[3]->PlayCount(), 2);
    EXPECT_EQ(sounds015[1]->PlayCount(), 0);
}

TEST_F(EnemiesTest, FlexibleEnemyHitsOnlyWithinItsReachAndBelowTheCellTop) {
    struct Case {
        double distance, offsetY;
        bool hit;
    };
    const Case cases[] = {{0, 10, false},  {0, 10.5, true},   {42.9, 40, true},
                          {43, 40, false}, {-42.9, 40, true}, {-43, 40, false}};
    for (const Case& c : cases) {
        lives = 3;
        FlexEnemy& e = LoadedFlex(1, 8, 9, 1, 7);
        PlacePlayer(8, 9, 35, c.offsetY);
        e.worldX = 8 * 73 + 35 + c.distance;
        UpdateFlexEnemies();
        EXPECT_EQ(lives < 3, c.hit) << c.distance << " " << c.offsetY;
    }
}

TEST_F(EnemiesTest, FlexibleEnemyDrawnFromItsFrameAtItsAnchor) {
    FlexEnemy& e = LoadedFlex(1, 8, 9, 1, 7);
    e.frame = 4;
    e.xInCell = 37;
    PlacePlayer(9, 9, 35, 5);  // near but high in the cell: no hit
    cameraCol = 4;
    cameraRow = 5;
    cameraFineX = 3;
    cameraFineY = 2;
    UpdateFlexEnemies();
    EXPECT_TRUE(BlockMatches(*tileCanvas, 4 * 73 + 37 - 3, 4 * 73 + 25 - 2, *objectSheet,
                             65 * 4 + 20, 130, 64, 65));
}

TEST_F(EnemiesTest, FarFigurePatrolsAndTurnsAtTheMiddleOfTheLastCell) {
    FigureEnemy& e = LoadedFigure(1, 14, 9, 1);
    int maxX = e.worldX;
    for (int frame = 0; frame < 5 * 40; ++frame) {
        UpdateFigureEnemies();
        maxX = std::max<int>(maxX, e.worldX);
        EXPECT_EQ(e.worldX, e.col * 73 + e.xInCell);
    }
    EXPECT_EQ(maxX, 15 * 73 + 37);
    EXPECT_EQ(e.dir, -1);
    EXPECT_EQ(e.state, 1);
    EXPECT_LT(e.worldX, maxX);
}

TEST_F(EnemiesTest, NearFigureWalksToThePlayerAndStandsAtAnObstacleFacingIt) {
    FigureEnemy& e = LoadedFigure(1, 13, 9, -1);
    PlacePlayer(18, 9, 35, 40);  // five columns away, beyond the floor's end
    std::vector<int> standingFrames;
    for (int frame = 0; frame < 5 * 80; ++frame) {
        UpdateFigureEnemies();
        if (e.state == 2 && e.tick == 0) standingFrames.push_back(e.frame);
    }
    EXPECT_EQ(e.dir, 1);
    EXPECT_EQ(e.state, 2);
    EXPECT_EQ(e.col, 15);
    EXPECT_GT(e.xInCell, 35);
    ASSERT_GE(standingFrames.size(), 12u);
    for (size_t i = 1; i < standingFrames.size(); ++i) {
        EXPECT_EQ(standingFrames[i], (standingFrames[i - 1] + 1) % 10);
    }
    // Drawn as the standing figure facing right.
    ClearSurface(*tileCanvas);
    cameraCol = 10;
    cameraRow = 5;
    UpdateFigureEnemies();
    EXPECT_TRUE(BlockMatches(*tileCanvas, 5 * 73 + e.xInCell - 8, 4 * 73, *enemySheet, 61 * e.frame,
                             181, 61, 91));

    // The player moving away beyond five columns: it turns back and patrols again.
    PlacePlayer(30, 9, 35, 40);
    for (int frame = 0; frame < 10; ++frame)
        UpdateFigureEnemies();
    EXPECT_EQ(e.state, 1);
    EXPECT_EQ(e.dir, -1);
}

TEST_F(EnemiesTest, FigureInThePlayersColumnKeepsItsLastDirection) {
    FigureEnemy& e = LoadedFigure(1, 10, 9, 1);
    e.lastDir = -1;
    e.tick = 4;
    PlacePlayer(10, 6, 35, 40);  // same column, three rows up: near but out of reach
    UpdateFigureEnemies();
    EXPECT_EQ(e.dir, -1);
    EXPECT_EQ(e.lastDir, -1);
    EXPECT_EQ(e.xInCell, 32);
    // Walking left is drawn from the second row of pictures.
    ClearSurface(*tileCanvas);
    cameraCol = 5;
    cameraRow = 5;
    e.tick = 0;
    UpdateFigureEnemies();
    EXPECT_TRUE(
        BlockMatches(*tileCanvas, 5 * 73 + 32 - 23, 4 * 73, *enemySheet, 55 * e.frame, 91, 55, 90));
}

TEST_F(EnemiesTest, FigurePicturesWalkingRightAndStandingLeft) {
    cameraCol = 2;
    cameraRow = 5;
    // Far from the player it walks right through the first row of pictures, 23 pixels left
    // of its position.
    FigureEnemy& walker = LoadedFigure(1, 8, 9, 1);
    int framesSeen = 0;
    for (int frame = 0; frame < 5 * 12; ++frame) {
        ClearSurface(*tileCanvas);
        UpdateFigureEnemies();
        ASSERT_EQ(walker.dir, 1);
        ASSERT_EQ(walker.state, 1);
        framesSeen = std::max<int>(framesSeen, walker.frame);
        EXPECT_TRUE(BlockMatches(*tileCanvas, (walker.col - 2) * 73 + walker.xInCell - 23, 4 * 73,
                                 *enemySheet, 55 * walker.frame, 0, 55, 90))
            << "frame " << frame;
    }
    EXPECT_EQ(framesSeen, 12);

    // Near the player with a ledge to its left, it stands facing left: the fourth row of
    // pictures, 43 pixels left of its position.
    walker.alive = 0;
    FigureEnemy& stander = LoadedFigure(2, 5, 9, -1);
    PlacePlayer(2, 9, 35, 40);
    for (int frame = 0; frame < 5 * 12; ++frame) {
        ClearSurface(*tileCanvas);
        UpdateFigureEnemies();
        if (frame < 2) continue;  // the first step comes on the second frame
        ASSERT_EQ(stander.state, 2);
        ASSERT_EQ(stander.dir, -1);
        EXPECT_TRUE(BlockMatches(*tileCanvas, 3 * 73 + 35 - 43, 4 * 73, *enemySheet,
                                 64 * stander.frame, 272, 64, 91))
            << "frame " << frame;
    }
    EXPECT_EQ(stander.xInCell, 35);
    EXPECT_EQ(lives, 3);
}

TEST_F(EnemiesTest, FigureHitsInItsRowAndFromBelowOnlyLowInTheCell) {
    struct Case {
        int playerRow;
        double offsetX, offsetY;
        bool hit;
    };
    // The figure stands at x 35 of column 8, row 9.
    const Case cases[] = {
        {9, 35 + 39, 40, true}, {9, 35 + 40, 40, false}, {9, 35 - 39, 0, true}, {8, 35, 40, false},
        {8, 35, 40.5, true},    {8, 35 + 40, 60, false}, {7, 35, 60, false},
    };
    for (const Case& c : cases) {
        lives = 3;
        FigureEnemy& e = LoadedFigure(1, 8, 9, 1);
        e.tick = 0;
        PlacePlayer(8, c.playerRow, c.offsetX, c.offsetY);
        UpdateFigureEnemies();
        EXPECT_EQ(lives < 3, c.hit) << c.playerRow << " " << c.offsetX << " " << c.offsetY;
    }
}

TEST_F(EnemiesTest, DestroyedFigureIsNeitherMovedDrawnNorHitting) {
    FigureEnemy& e = LoadedFigure(1, 8, 9, 1);
    e.alive = 0;
    PlacePlayer(8, 9, 35, 40);
    for (int frame = 0; frame < 20; ++frame)
        UpdateFigureEnemies();
    EXPECT_EQ(e.worldX, 8 * 73 + 35);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(CountNonZero(*tileCanvas), 0);
}

TEST_F(EnemiesTest, EnemyAtTheSignpostTakesASecondLifeInTheSameFrame) {
    signpostCol = 12;
    signpostRow = 9;
    LoadedFlex(1, 6, 9, 1, 7).worldX = 6 * 73 + 35;
    LoadedFlex(2, 12, 9, 1, 7).worldX = 12 * 73 + 30;  // waiting at the signpost
    LoadedFigure(1, 12, 9, 1);                         // and a figure there too
    PlacePlayer(6, 9, 35, 40);
    UpdateFlexEnemies();
    EXPECT_EQ(lives, 1);
    EXPECT_EQ(playerCol, 12);
    UpdateFigureEnemies();
    EXPECT_EQ(lives, 0);
    EXPECT_EQ(sound027->PlayCount(), 3);
}

// A level played with keys: the bottle walks into a crawling enemy, loses a life and starts
// again at the red signpost.
void FlexEnemyScenario(bool forDocs) {
    TestLevel level;
    level.Ground(12);
    level.items[11][3] = 55;
    level.items[11][5] = 999;
    level.items[11][10] = 46;  // crawling left, fastest
    LevelRun run(level);
    ASSERT_EQ(flexEnemyCount, 1);
    GameHarness& game = run.Game();

    bool saved = false, crawlHeard = false;
    game.Press(LevelRun::kRight);
    run.Run([&](const uint16_t*, const uint16_t* previous) {
        if (sounds015[1]->PlayCount() > 0) crawlHeard = true;
        if (lives < 3) {
            // The frame before the touch shows the two meeting.
            saved = dx::SavePng(PicturePath(forDocs, "flex-enemy.png"), previous, 640, 480);
            game.Release(LevelRun::kRight);
            return true;
        }
        return false;
    });

    EXPECT_EQ(lives, 2);
    EXPECT_EQ(playerCol, 3);
    EXPECT_EQ(playerRow, 11);
    EXPECT_EQ(sound027->PlayCount(), 1);
    EXPECT_TRUE(crawlHeard);
    EXPECT_TRUE(saved);
    // The enemy kept crawling; it is never removed.
    EXPECT_EQ(flexEnemyCount, 1);
    EXPECT_LT(flexEnemies[1].worldX, 10 * 73 + 18);
}

TEST(FlexEnemyScenario, WalkingIntoACrawlingEnemyCostsALife) {
    FlexEnemyScenario(false);
}

TEST(DocPictures, DISABLED_FlexEnemy) {
    FlexEnemyScenario(true);
}

}  // namespace
}  // namespace zorvik::test
