// SPDX-License-Identifier: GPL-3.0-or-later
// Every shipped level proven clean: finishable by a route the game replays, searched to its end,
// no dead end, every pickup reachable.
#include <gtest/gtest.h>

#include <string>

#include "ProverLevels.h"
#include "Replay.h"
#include "Search.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

class CampaignProofTest : public ::testing::TestWithParam<int> {};

std::string ShippedMap(int level) {
    return SourceDir() + "/map/mapa" + std::to_string(level) + ".map";
}

Replay HandMadeReplay(int level) {
    return LoadReplay(SourceDir() + "/tests/replays/level" + std::to_string(level) + ".replay");
}

TEST_P(CampaignProofTest, ShippedLevelIsProvenClean) {
    const std::string path = ShippedMap(GetParam());
    ProveOptions options;
    options.seconds = 3600;
    options.maxStates = 8'000'000;  // a state budget: the same verdict on any machine
    const ProveResult result = ProveLevel(path, options);
    EXPECT_TRUE(result.finishable);
    EXPECT_TRUE(result.routeVerified);
    EXPECT_FALSE(result.budgetStopped) << result.states << " states";
    for (const DeadEnd& d : result.deadEnds)
        ADD_FAILURE() << "dead end at col " << d.where.col << " row " << d.where.row << ": "
                      << d.what;
    for (const Pickup& p : result.unreachable)
        ADD_FAILURE() << "unreachable pickup " << p.code << " at col " << p.where.col << " row "
                      << p.where.row;
    if (result.finishable) {
        const GameRun run = PlayInGame(path, result.route);
        EXPECT_TRUE(run.Finished());  // the last level ends at its goal
        EXPECT_EQ(run.deaths, 0);
    }
}

// Beside each level's hand-made replay, the prover's own first route: a level that an edit made
// unfinishable fails here even where the hand-made replay happens to still get through.
TEST_P(CampaignProofTest, ShippedLevelHasAFirstRouteTheGamePlaysToTheExit) {
    const std::string path = ShippedMap(GetParam());
    ProveOptions options;
    options.stopAtFirstRoute = true;
    options.seconds = 3600;
    options.maxStates = 400'000;
    const ProveResult result = ProveLevel(path, options);
    ASSERT_TRUE(result.finishable)
        << "furthest: col " << result.furthest.col << " row " << result.furthest.row;
    EXPECT_TRUE(result.routeVerified);
    const GameRun run = PlayInGame(path, result.route);
    EXPECT_TRUE(run.Finished());
    EXPECT_EQ(run.deaths, 0);
    // The quickest way to the exit never has a hidden secret on the screen.
    for (const Replay::Spot& secret : HandMadeReplay(GetParam()).hiddenSecret)
        EXPECT_LT(run.FirstSeen(secret.col, secret.row), 0) << "the way to the exit shows it";
}

// A secret is hidden when the way to the exit never shows it: the level's hand-made replay shows
// it only once it has left the way at the entrance its header names, and the prover's first route
// never shows it (checked with that route above).
TEST(CampaignSecretsTest, AtLeastHalfTheLevelsHideTheirSecretFromTheWayToTheExit) {
    int hidden = 0;
    for (int level = 1; level <= 12; ++level) {
        const Replay hand = HandMadeReplay(level);
        if (hand.hiddenSecret.empty()) continue;
        ASSERT_EQ(hand.secretEntrance.size(), 1u) << "level " << level;
        const Replay::Spot secret = hand.hiddenSecret[0];
        const Replay::Spot door = hand.secretEntrance[0];
        const GameRun handRun = PlayInGame(ShippedMap(level), hand);
        const long entered = handRun.FirstIn(door.col, door.row);
        const long seen = handRun.FirstSeen(secret.col, secret.row);
        EXPECT_GE(entered, 0) << "level " << level
                              << ": the replay never enters its secret's entrance";
        EXPECT_GE(seen, entered) << "level " << level << ": the secret shows at frame " << seen
                                 << ", before the replay leaves the way at frame " << entered;
        ++hidden;
    }
    EXPECT_GE(hidden, 6);
}

INSTANTIATE_TEST_SUITE_P(Levels, CampaignProofTest, ::testing::Range(1, 13),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return "Level" + std::to_string(param.param);
                         });

}  // namespace
}  // namespace zorvik::test
