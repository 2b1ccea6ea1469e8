// SPDX-License-Identifier: GPL-3.0-or-later
// The replay format's header lines, as the campaign tests read them.
#include <gtest/gtest.h>

#include "Replay.h"

namespace zorvik::test {
namespace {

TEST(ReplayTest, TheHeaderNamesTheScoreTheDeathsThePickupsTakenAndAHiddenSecret) {
    const Replay replay = ParseReplay(
        "# expect-score: 4300\n"
        "# expect-taken: col 16 row 7   (the bonus on the beam)\n"
        "# expect-taken: col 3 row 18\n"
        "# hidden-secret: col 48 row 3\n"
        "# secret-entrance: col 37 row 7\n"
        "70 -\n"
        "3 UC   # a long jump\n");
    EXPECT_EQ(replay.expectScore, 4300);
    EXPECT_EQ(replay.expectDeaths, 0);
    ASSERT_EQ(replay.expectTaken.size(), 2u);
    EXPECT_EQ(replay.expectTaken[0].col, 16);
    EXPECT_EQ(replay.expectTaken[0].row, 7);
    EXPECT_EQ(replay.expectTaken[1].col, 3);
    EXPECT_EQ(replay.expectTaken[1].row, 18);
    ASSERT_EQ(replay.hiddenSecret.size(), 1u);
    EXPECT_EQ(replay.hiddenSecret[0].col, 48);
    ASSERT_EQ(replay.secretEntrance.size(), 1u);
    EXPECT_EQ(replay.secretEntrance[0].row, 7);
    EXPECT_EQ(replay.TotalSteps(), 73);

    // A cell that is not written as the editor names one, or lies off the map, is refused with
    // its line, rather than checked nowhere.
    for (const char* bad : {"# expect-taken: 16 7\n", "# expect-taken: col 51 row 7\n",
                            "# expect-taken: col 16 row 0\n", "# expect-taken: row 7 col 16\n"}) {
        try {
            ParseReplay(std::string("70 -\n") + bad);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const ReplayError& e) {
            EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace zorvik::test
