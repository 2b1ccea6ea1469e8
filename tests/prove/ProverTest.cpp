// SPDX-License-Identifier: GPL-3.0-or-later
// The prover on small levels made for it: what it says about each is checked against what the
// game does when its route, or its replay into a dead end, is played.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "A_deklarace.h"
#include "LevelPlay.h"
#include "ProverLevels.h"
#include "Search.h"
#include "StateKey.h"

namespace zorvik::test {
namespace {

// A state budget rather than a time budget keeps the verdicts the same on any machine.
ProveResult Prove(const ProverLevel& level, long maxStates = 400'000) {
    ProveOptions options;
    options.seconds = 3600;
    options.maxStates = maxStates;
    return ProveLevel(level.Path(), options);
}

bool Has(const std::vector<Pickup>& pickups, Cell where, int code) {
    return std::any_of(pickups.begin(), pickups.end(),
                       [&](const Pickup& p) { return p.where == where && p.code == code; });
}

// The route, played in the game from a fresh start, leaves the level without a death.
void ExpectRouteLeavesTheLevel(const ProverLevel& level, const ProveResult& result) {
    ASSERT_TRUE(result.finishable);
    EXPECT_TRUE(result.routeVerified);
    const GameRun run = PlayInGame(level.Path(), result.route);
    EXPECT_TRUE(run.left);
    EXPECT_EQ(run.deaths, 0);
    EXPECT_EQ(run.frames, result.routeFrames);
}

// Proves a level that has a route and, searched to its end, exactly one dead end; returns it.
DeadEnd TheOnlyDeadEnd(const ProverLevel& level) {
    const ProveResult result = Prove(level);
    ExpectRouteLeavesTheLevel(level, result);
    EXPECT_FALSE(result.budgetStopped);
    EXPECT_EQ(result.deadEnds.size(), 1u);
    return result.deadEnds.empty() ? DeadEnd{} : result.deadEnds[0];
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

// The search plays a move that dies again from the frame before the death, for each place the
// player may start again from: the frame it names is the one the life is lost in.
TEST(ProverTest, ALifeIsLostInTheFrameThePlayNamesAndNotBefore) {
    const ProverLevel level = GapLevel(3);
    LevelPlay play(level.Path());
    play.Start();
    const PlaySnapshot start = play.Save();
    PlayEvents walk;
    for (int i = 0; i < 400 && walk.deaths == 0; ++i)
        walk = play.Hold(kKeyRight, 1);
    ASSERT_EQ(walk.deaths, 1);
    const long frame = play.DeathFrame();
    const long step = play.DeathStep();
    EXPECT_GE(play.Steps(), step + 1);

    play.Restore(start);
    EXPECT_EQ(play.DeathFrame(), -1);
    EXPECT_EQ(play.HoldUntil(kKeyRight, frame - 1).deaths, 0);
    EXPECT_EQ(play.Frames(), frame - 1);
    EXPECT_EQ(play.Steps(), step);
    EXPECT_EQ(play.HoldUntil(kKeyRight, frame).deaths, 1);
    EXPECT_EQ(play.DeathFrame(), frame);
}

// Where the player would start again plays no part in a route, which loses no life: a signpost
// on the way (it lights when touched and puts out the one before, and the red one at the start
// lights again when walked over) adds no state to the search for a first route.
TEST(ProverTest, SignpostsOnTheWayAddNoStatesToTheSearchForAFirstRoute) {
    // The exit on a ledge to the left, reached only by a long jump from a block to the right;
    // the search walks to and fro under the ledge, over both signposts, before it finds the way.
    const auto statesToARoute = [](const char* stand) {
        const ProverLevel level(Stack({{10, "W..........W"},
                                       {1, "W.E........W"},
                                       {1, "WWWWWWWW...W"},
                                       {1, "W..........W"},
                                       {1, "W........W.W"},
                                       {1, stand},
                                       {3, "WWWWWWWWWWWW"}}));
        ProveOptions options;
        options.stopAtFirstRoute = true;
        options.seconds = 3600;
        const ProveResult result = ProveLevel(level.Path(), options);
        ExpectRouteLeavesTheLevel(level, result);
        return result.states;
    };
    EXPECT_EQ(statesToARoute("W.rP.s.....W"), statesToARoute("W.rP.......W"));
}

// Five signposts on a floor with a hole to die in behind the start: each of the six restart
// points is reached with every place on the floor, and each such state is found again when it
// is met again (the search ends, over at most six states for each one of a level without them).
TEST(ProverTest, EveryRestartPointOfALevelWithManySignpostsIsSearchedOnce) {
    const auto prove = [](const char* stand) {
        const ProverLevel level(
            Stack({{14, "W.................W"}, {1, stand}, {3, "W.WWWWWWWWWWWWWWWWW"}}));
        ProveOptions options;
        options.seconds = 3600;
        options.maxStates = 400'000;
        const ProveResult result = ProveLevel(level.Path(), options);
        ExpectRouteLeavesTheLevel(level, result);
        EXPECT_TRUE(result.Clean());
        return result.states;
    };
    const long without = prove("W..rP...........E.W");
    const long with = prove("W..rPs.s.s.s.s..E.W");
    EXPECT_GT(with, without);
    EXPECT_LE(with, 6 * without);
}

// A room over a floor with a one-cell hole four rows deep: a player who drops in can neither
// climb out nor die there.
TEST(ProverTest, APitWithNoWayOutAndNoDeathIsATrappedDeadEnd) {
    const ProverLevel level(Stack(
        {{10, "W..........W"}, {1, "W.rP.....E.W"}, {4, "WWWWWW.WWWWW"}, {3, "WWWWWWWWWWWW"}}));
    const DeadEnd pit = TheOnlyDeadEnd(level);
    EXPECT_TRUE(pit.trapped);
    EXPECT_EQ(pit.what, "pit with no way out");
    // The game agrees: the replay ends in the hole, alive, and stays there.
    const GameRun run = PlayInGame(level.Path(), pit.replay);
    EXPECT_FALSE(run.left);
    EXPECT_EQ(run.deaths, 0);
    EXPECT_EQ(run.col, 7);
    EXPECT_GE(run.row, 12);
}

// A hole in the floor drops the player onto a signpost in a chamber he cannot climb out of,
// beside a gap down to the bottom of the map: from then on every life starts down there.
TEST(ProverTest, ASignpostThatMovesTheRestartPointIntoAPitDoomsTheLevel) {
    const ProverLevel level(Stack({{10, "W..........W"},
                                   {1, "W.rP.....E.W"},
                                   {2, "WWWWW.WWWWWW"},
                                   {1, "WWWW.....WWW"},
                                   {1, "WWWW.s...WWW"},
                                   {3, "WWWWWWW.WWWW"}}));
    const DeadEnd pit = TheOnlyDeadEnd(level);
    EXPECT_FALSE(pit.trapped);
    EXPECT_EQ(pit.what, "a signpost moved the restart point out of reach");
    // The game agrees: after the replay, a walk into the gap costs a life and the player starts
    // again beside it, however often he dies.
    Replay on = pit.replay;
    for (int life = 0; life < 2; ++life) {
        on.Hold(kKeyRight, 200);
        on.Hold(0, 150);
    }
    const GameRun run = PlayInGame(level.Path(), on);
    EXPECT_FALSE(run.left);
    EXPECT_EQ(run.deaths, 2);
    EXPECT_EQ(run.row, 15);
}

// A star four rows above the floor, higher than any jump, and one on the way.
TEST(ProverTest, AStarOutOfReachIsTheOnlyUnreachablePickup) {
    const ProverLevel level(Stack({{4, "W..........W"},
                                   {1, "W....*.....W"},
                                   {9, "W..........W"},
                                   {1, "W.rP*....E.W"},
                                   {3, "WWWWWWWWWWWW"}}));
    const ProveResult result = Prove(level);
    ExpectRouteLeavesTheLevel(level, result);
    EXPECT_FALSE(result.budgetStopped);
    EXPECT_TRUE(result.deadEnds.empty());
    ASSERT_EQ(result.unreachable.size(), 1u);
    EXPECT_TRUE(Has(result.unreachable, {6, 5}, 40));
}

// A room with a gate (the housing `B` in `platformRow`, a wall above the gate's three cells)
// lowered by the platform `_`; `floorRow` is where the player stands, and a `.` in
// `platformRow` is a pit down to the bottom.
ProverLevel GateLevel(const std::string& floorRow, const std::string& platformRow,
                      const std::string& links) {
    const size_t gate = platformRow.find('B');
    std::vector<std::string> rows(14, std::string(platformRow.size(), '.'));
    for (size_t r = 0; r < rows.size(); ++r) {
        rows[r].front() = 'W';
        rows[r].back() = 'W';
        if (r < 12) rows[r][gate] = 'W';
    }
    rows.push_back(floorRow);
    rows.push_back(platformRow);
    std::string below = platformRow;
    for (char& c : below)
        if (c != '.') c = 'W';
    rows.push_back(below);
    rows.push_back(below);
    return ProverLevel(rows, {links, "", ""});
}

TEST(ProverTest, AGateThatOnlyAStoneOpensIsPassedWithTheStoneOnItsPlatform) {
    const ProverLevel level = GateLevel("WrP.o...EW", "WWWWW_WBWW", ".....1.1..");
    const ProveResult result = Prove(level, 40'000);
    ExpectRouteLeavesTheLevel(level, result);
    const GameRun run = PlayInGame(level.Path(), result.route);
    EXPECT_EQ(run.stoneCol, 6);  // resting on the platform, which holds the gate open
    EXPECT_EQ(run.stoneRow, 15);
}

// The gate level with a pit at the far left and the restart point beside it: a stone pushed the
// wrong way never reaches the platform again, and the gate stays shut for every later life.
TEST(ProverTest, AStonePushedTheWrongWayDoomsTheLevelButDoesNotTrapThePlayer) {
    const ProverLevel level = GateLevel("W.rP.o...EW", "W.WWWW_WBWW", "......1.1..");
    const ProveResult result = Prove(level, 600'000);
    ExpectRouteLeavesTheLevel(level, result);
    const auto lost = std::find_if(result.deadEnds.begin(), result.deadEnds.end(),
                                   [](const DeadEnd& d) { return d.what.rfind("stone", 0) == 0; });
    ASSERT_NE(lost, result.deadEnds.end());
    EXPECT_FALSE(lost->trapped);
    // In the game the replay into it ends with the stone left of where it started, off the
    // platform, and the level not left; the player died on the way, so dying is possible.
    const GameRun run = PlayInGame(level.Path(), lost->replay);
    EXPECT_FALSE(run.left);
    EXPECT_LT(run.stoneCol, 6);
    EXPECT_GT(run.deaths, 0);
}

// A refill of two charges before a figure that guards a tunnel under thick rock: one shot may
// miss, but with both wasted every later life meets the figure.
TEST(ProverTest, ARefillWastedBeforeAFigureThatMustBeShotDoomsTheLevel) {
    const ProverLevel level(
        Stack({{10, "W.........W"}, {4, "W.....WWWWW"}, {1, "WrPb...{.EW"}, {3, "WWWWWWWWWWW"}}));
    const ProveResult result = Prove(level);
    ExpectRouteLeavesTheLevel(level, result);
    EXPECT_EQ(PlayInGame(level.Path(), result.route).figuresAlive, 0);  // the route shoots it

    const auto wasted = std::find_if(
        result.deadEnds.begin(), result.deadEnds.end(),
        [](const DeadEnd& d) { return d.what == "no refill left for a figure that must be shot"; });
    ASSERT_NE(wasted, result.deadEnds.end());
    EXPECT_FALSE(wasted->trapped);
    const GameRun run = PlayInGame(level.Path(), wasted->replay);
    EXPECT_FALSE(run.left);
    EXPECT_EQ(run.beamCharges, 0);
    EXPECT_EQ(run.figuresAlive, 1);
}

// A stone beside the start's step drops into a notch onto the platform of a gate nine columns on,
// out of the player's reach while it sinks: the search counts the sinking gate as open already.
TEST(ProverTest, AGateNobodyCanReachBeforeItIsOpenCountsAsOpenAndTheVerdictStaysTheSame) {
    const ProverLevel level(Stack({{12, "W...........W...W"},
                                   {1, "W...............W"},
                                   {1, "WrP.............W"},
                                   {1, "WWWo..........E.W"},
                                   {1, "WWWW.WWWWWWWBWWWW"},
                                   {1, "WWWW_WWWWWWWWWWWW"},
                                   {1, "WWWWWWWWWWWWWWWWW"}}),
                            {"............1....", "....1............", "................."});

    // Walk off the step behind the stone and push it until the gate sinks, then wait for the
    // stone to come to rest in its notch.
    LevelPlay play(level.Path());
    play.Start();
    const StateKeys keys(play.Save().play, false);
    for (int i = 0; i < 600 && play.Save().play.boards[1].direction == 0; ++i)
        play.Hold(kKeyRight, 1);
    for (int i = 0; i < 100 && play.Save().play.stones[1].rollLeft != 0; ++i)
        play.Hold(0, 1);
    const PlaySnapshot sinking = play.Save();
    ASSERT_EQ(sinking.play.boards[1].direction, -1);
    ASSERT_EQ(sinking.play.stones[1].rollLeft, 0);

    // Twenty frames further on, nobody can tell it; with the player at the gate, anyone can.
    PlaySnapshot later = sinking;
    later.play.boards[1].height = static_cast<int16_t>(later.play.boards[1].height - 40);
    EXPECT_EQ(keys.Key(sinking), keys.Key(later));
    PlaySnapshot atGate = sinking;
    PlaySnapshot atGateLater = later;
    atGate.play.playerCol = atGateLater.play.playerCol = 12;
    EXPECT_NE(keys.Key(atGate), keys.Key(atGateLater));

    // The whole search agrees with the one that keys every height, over fewer states.
    ProveOptions options;
    options.seconds = 3600;
    const ProveResult merged = ProveLevel(level.Path(), options);
    options.exactBoards = true;
    const ProveResult exact = ProveLevel(level.Path(), options);
    ExpectRouteLeavesTheLevel(level, merged);
    EXPECT_TRUE(merged.Clean());
    EXPECT_TRUE(exact.Clean());
    EXPECT_EQ(merged.routeFrames, exact.routeFrames);
    EXPECT_LT(merged.states, exact.states);
    EXPECT_NE(merged.merged.find("board"), std::string::npos) << merged.merged;
    EXPECT_EQ(exact.merged.find("board"), std::string::npos) << exact.merged;
}

}  // namespace
}  // namespace zorvik::test
