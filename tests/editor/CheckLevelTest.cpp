// SPDX-License-Identifier: GPL-3.0-or-later
// The level check: its eight rules in order, their messages, and the star total.
#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

const char* const kNoStart = "Level postrada startovni pozici Zorvik flasky";

// Places `count` copies of an object code (or a tile code) along the map from column 1, row 1.
void Place(int count, int16_t item, int16_t tile = 0, int startRow = 1) {
    for (int i = 0; i < count; ++i) {
        const int col = 1 + i % 50;
        const int row = startRow + i / 50;
        if (item != 0) mapItems[col][row] = item;
        if (tile != 0) mapTiles[col][row] = tile;
    }
}

std::vector<QString> Check(Form1& form, RecordingHost& host) {
    host.messages.clear();
    form.Command2_Click();
    return host.messages;
}

// The messages of the eight counting rules: without the last one, the layout findings.
std::vector<QString> CountingRules(Form1& form, RecordingHost& host) {
    std::vector<QString> messages = Check(form, host);
    EXPECT_FALSE(messages.empty());
    if (!messages.empty() && messages.back().startsWith(kFurtherFindingsText)) messages.pop_back();
    return messages;
}

const QString kNoExit =
    QString(kFurtherFindingsText) + "\nLevel nema vychod (997) ani cil hry (900)";

TEST_F(EditorTest, EmptyMapReportsTheMissingStartThenTheMissingExit) {
    EXPECT_EQ(Check(*form, host), (std::vector<QString>{kNoStart, kNoExit}));
    // Column 0 and row 0 are outside the map and are not counted.
    mapItems[0][5] = 999;
    mapItems[5][0] = 998;
    mapItems[0][6] = 997;
    EXPECT_EQ(Check(*form, host), (std::vector<QString>{kNoStart, kNoExit}));
}

TEST_F(EditorTest, CheckReportsEveryFailedRuleInOrderAndNoTotal) {
    mapItems[50][18] = 998;
    Place(2, 55, 0, 2);
    Place(11, 20, 0, 3);
    EXPECT_EQ(CountingRules(*form, host),
              (std::vector<QString>{"V Levelu smi byt jen jeden cerveny rozcestnik !!",
                                    "V levelu smi byt nejvice deset kamenu"}));

    form->Mclear_Click();
    mapItems[50][18] = 999;
    mapItems[49][18] = 998;
    Place(6, 41, 0, 1);
    Place(5, 50, 0, 2);
    Place(11, 57, 0, 3);
    Place(11, 0, 18, 4);
    Place(11, 0, 14, 5);
    Place(1, 52, 0, 6);
    EXPECT_EQ(CountingRules(*form, host),
              (std::vector<QString>{"V levelu smi byt nejvice deset ohebnych nepratel",
                                    "V levelu smi byt nejvice deset nepratel typu panak",
                                    "V levelu smi byt nejvice deset prken",
                                    "V levelu smi byt nejvice deset plosinek",
                                    "V levelu smi byt jen jedna strtovni pozice Zorvik flasky"}));
}

TEST_F(EditorTest, CheckPassesAtTheLimitsAndReportsTheStarTotal) {
    mapItems[7][9] = 999;
    mapItems[8][9] = 997;
    EXPECT_EQ(Check(*form, host),
              std::vector<QString>{"Vse v poradku  V levelu je hvezdicek za  0 bodu score"});

    // Ten of each kind, one red signpost, stars 3 x 100 + 2500, all over the map.
    viewScroll = 32;
    Place(1, 55, 0, 1);
    Place(10, 39, 0, 2);
    Place(5, 45, 0, 3);
    Place(5, 46, 0, 4);
    Place(10, 56, 0, 5);
    Place(10, 0, 18, 6);
    Place(10, 0, 14, 7);
    for (int col = 1; col <= 10; ++col) {
        mapItems[col][6] = static_cast<int16_t>(col);  // boards 1..10, each with a platform
        mapItems[col][7] = static_cast<int16_t>(11 - col);
    }
    mapItems[1][18] = 40;
    mapItems[50][1] = 40;
    mapItems[50][18] = 40;
    mapItems[25][10] = 52;
    mapTiles[20][12] = 15;  // a pressed platform is not counted as a platform
    EXPECT_EQ(Check(*form, host),
              std::vector<QString>{"Vse v poradku  V levelu je hvezdicek za  2800 bodu score"});
    EXPECT_EQ(speedMode, -1);

    // One more of a kind fails just its rule.
    mapTiles[40][15] = 18;
    EXPECT_EQ(CountingRules(*form, host),
              std::vector<QString>{"V levelu smi byt nejvice deset prken"});
    mapTiles[40][15] = 0;
    mapItems[40][15] = 51;
    EXPECT_EQ(Check(*form, host),
              std::vector<QString>{"Vse v poradku  V levelu je hvezdicek za  3300 bodu score"});
}

}  // namespace
}  // namespace zorvik::editor::test
