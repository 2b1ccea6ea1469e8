// The prover on small levels made for it: what it says about each is checked against what the
// game does when its route, or its replay into a dead end, is played.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "A_deklarace.h"
#include "LevelPlay.h"
#include "ProverLevels.h"
#include "Search.h"

namespace zorvik::test {
namespace {

ProveResult Prove(const ProverLevel& level) {
    ProveOptions options;
    options.seconds = 600;
    return ProveLevel(level.Path(), options);
}

// Floor in row 16 (the player stands in row 15), walls at columns 1 and 12 from top to bottom,
// a gap of `gap` cells from column 6 down through the bottom row (falling in costs a life).
ProverLevel GapLevel(int gap) {
    std::vector<std::string> rows(14, "W..........W");
    std::string stand = "W.rP.......W";
    stand[10] = 'E';
    rows.push_back(stand);
    std::string floor = "WWWWWWWWWWWW";
    for (int c = 5; c < 5 + gap; ++c)
        floor[static_cast<size_t>(c)] = '.';
    rows.push_back(floor);
    rows.push_back(floor);
    rows.push_back(floor);
    return ProverLevel(rows);
}

TEST(ProverTest, AGapTheLongJumpJustClearsIsFinishedByTheRouteItGives) {
    const ProverLevel level = GapLevel(2);
    const ProveResult result = Prove(level);
    ASSERT_TRUE(result.finishable);
    EXPECT_TRUE(result.routeVerified);
    EXPECT_FALSE(result.budgetStopped);
    EXPECT_TRUE(result.deadEnds.empty());
    // The route needs the long jump, and the game played with pixels on agrees with it.
    const bool longJump = std::any_of(result.route.segments.begin(), result.route.segments.end(),
                                      [](const Replay::Segment& s) { return s.up && s.ctrl; });
    EXPECT_TRUE(longJump);
    const GameRun run = PlayInGame(level.Path(), result.route);
    EXPECT_TRUE(run.left);
    EXPECT_EQ(run.deaths, 0);
    EXPECT_EQ(run.frames, result.routeFrames);
}

TEST(ProverTest, AGapNoJumpClearsCannotBeFinished) {
    const ProverLevel level = GapLevel(3);
    const ProveResult result = Prove(level);
    EXPECT_FALSE(result.finishable);
    EXPECT_FALSE(result.budgetStopped);
    EXPECT_EQ(result.furthest.col, 5);  // the edge of the gap
    EXPECT_EQ(result.furthest.row, 15);
}

}  // namespace
}  // namespace zorvik::test
