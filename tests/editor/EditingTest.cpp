// SPDX-License-Identifier: GPL-3.0-or-later
// Painting, erasing, the link and speed tools and the scroll buttons of the editor window.
#include <QMouseEvent>
#include <QTest>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

TEST_F(EditorTest, FirstClickAfterStartUpPaintsNothingUntilThePaletteIsPressed) {
    ClickCell(2, 3);
    EXPECT_EQ(mapTiles[2][3], 0);
    EXPECT_EQ(mapItems[2][3], 0);
    EXPECT_FALSE(form->MapChanged());

    form->Vyber_MouseDown(1, 0, 40, 5);  // entry 1 in the top slot
    EXPECT_EQ(linkMode, 0);
    EXPECT_EQ(speedMode, 0);
    ClickCell(2, 3);
    EXPECT_EQ(mapTiles[2][3], 1);
    EXPECT_EQ(mapSolid[2][3], 1);
    EXPECT_TRUE(form->MapChanged());
    EXPECT_EQ(CellMismatches(*form, 2, 3, 0), 0);
}

TEST_F(EditorTest, PaintingWritesThePaletteEntryIntoThePressedCell) {
    Pick(20);  // star worth 100
    mapTiles[2][3] = 5;
    mapSolid[2][3] = 1;
    form->Level_MouseDown(1, 0, 45, 70);
    EXPECT_EQ(mapTiles[2][3], 0);
    EXPECT_EQ(mapSolid[2][3], 0);
    EXPECT_EQ(mapItems[2][3], 40);
    EXPECT_EQ(CellMismatches(*form, 2, 3, 19), 0);
    // The palette shows the picked entry in the preview box.
    EXPECT_EQ(form->SELEC->Pixel(40, 40), form->Hiden->Pixel(73 * 9 + 39, 73 + 39));

    // Scrolled to the right end, the rightmost view column is map column 50.
    viewScroll = 32;
    form->Level_MouseDown(1, 0, 17 * 30 + 29.5, 0);
    EXPECT_EQ(mapItems[50][1], 40);
    // Points off the 18 x 18 cells are ignored.
    form->Level_MouseDown(1, 0, 540, 10);
    form->Level_MouseDown(1, 0, 10, 541);
    form->Level_MouseDown(1, 0, -0.5, 10);
    int painted = 0;
    for (int c = 0; c <= 50; ++c)
        for (int r = 0; r <= 18; ++r)
            painted += mapItems[c][r] != 0;
    EXPECT_EQ(painted, 2);
}

TEST_F(EditorTest, StoneKeepsTheGroundAndTilesReplaceObjects) {
    mapTiles[4][4] = 7;
    mapSolid[4][4] = 1;
    Pick(24);
    ClickCell(4, 4);
    EXPECT_EQ(mapTiles[4][4], 7);
    EXPECT_EQ(mapSolid[4][4], 1);
    EXPECT_EQ(mapItems[4][4], 20);

    mapItems[5][4] = 47;
    Pick(17);  // board housing
    ClickCell(5, 4);
    EXPECT_EQ(mapTiles[5][4], 18);
    EXPECT_EQ(mapSolid[5][4], 1);
    EXPECT_EQ(mapItems[5][4], 0);

    Pick(30);  // an object entry clears tile and solidity
    ClickCell(4, 4);
    EXPECT_EQ(mapTiles[4][4], 0);
    EXPECT_EQ(mapSolid[4][4], 0);
    EXPECT_EQ(mapItems[4][4], 999);
}

TEST_F(EditorTest, DraggingEditsEveryCellThePointerPassesOver) {
    Pick(2);
    // Real mouse events: left drag along row 1 paints, right drag along row 2 erases.
    QTest::mousePress(form->Level, Qt::LeftButton, {}, QPoint(5, 5));
    for (int k = 1; k < 4; ++k)
        SendMove(form->Level, QPoint(30 * k + 5, 5), Qt::LeftButton);
    QTest::mouseRelease(form->Level, Qt::LeftButton, {}, QPoint(95, 5));
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(mapTiles[c][1], 2) << c;
    EXPECT_EQ(mapTiles[5][1], 0);

    for (int c = 1; c <= 8; ++c) {
        mapTiles[c][2] = 9;
        mapSolid[c][2] = 1;
        mapItems[c][2] = 53;
    }
    QTest::mousePress(form->Level, Qt::RightButton, {}, QPoint(35, 40));
    for (int k = 2; k < 6; ++k)
        SendMove(form->Level, QPoint(30 * k + 5, 40), Qt::RightButton);
    SendMove(form->Level, QPoint(30 * 6 + 5, 40), Qt::RightButton | Qt::LeftButton);  // ignored
    SendMove(form->Level, QPoint(30 * 6 + 5, 40), Qt::NoButton);                      // ignored
    form->Level_MouseMove(2, 0, 30 * 6 + 5, 40);
    QTest::mouseRelease(form->Level, Qt::RightButton, {}, QPoint(215, 40));
    for (int c = 2; c <= 7; ++c) {
        EXPECT_EQ(mapTiles[c][2], 0) << c;
        EXPECT_EQ(mapSolid[c][2], 0) << c;
        EXPECT_EQ(mapItems[c][2], 0) << c;
        EXPECT_EQ(NonBlackPixels(*form, c, 2), 0) << c;
    }
    EXPECT_EQ(mapTiles[1][2], 9);
    EXPECT_EQ(mapTiles[8][2], 9);
}

TEST_F(EditorTest, LinkToolWritesTheTypedNumberIntoHousingsAndPlatformsOnly) {
    mapTiles[1][1] = 18;
    mapTiles[2][1] = 14;
    mapTiles[3][1] = 7;
    mapItems[3][1] = 53;
    mapTiles[4][1] = 16;
    Pick(1);
    form->Command1_Click();
    EXPECT_EQ(linkMode, -1);
    EXPECT_EQ(speedMode, 0);
    EXPECT_EQ(form->SELEC->Pixel(40, 40), QColor(Qt::black));  // preview blanked
    EXPECT_EQ(form->SELEC->Pixel(0, 0), QColor(128, 128, 128));

    struct Case {
        const char* typed;
        int16_t written;
    };
    for (const Case& c : {Case{"7", 7}, Case{"abc", 0}, Case{"2.5", 2}, Case{"3.5", 4},
                          Case{"  -12", -12}, Case{"99999", 32767}, Case{"-1e9", -32768}}) {
        form->Text1->setText(c.typed);
        ClickCell(1, 1);
        ClickCell(2, 1);
        ClickCell(3, 1);
        ClickCell(4, 1);
        EXPECT_EQ(mapItems[1][1], c.written) << c.typed;
        EXPECT_EQ(mapItems[2][1], c.written) << c.typed;
        EXPECT_EQ(mapItems[3][1], 53) << c.typed;
        EXPECT_EQ(mapItems[4][1], 0) << c.typed;
        EXPECT_EQ(mapTiles[1][1], 18);
    }
}

TEST_F(EditorTest, SpeedToolSetsFlexibleEnemySpeedsKeepingDirection) {
    Pick(1);
    form->Command3_Click();
    EXPECT_EQ(speedMode, -1);
    EXPECT_EQ(linkMode, 0);
    struct Case {
        const char* typed;
        int16_t left;   // from 47
        int16_t right;  // from 42
    };
    for (const Case& c : {Case{"3", 48, 43}, Case{"9", 50, 45}, Case{"0", 46, 41},
                          Case{"x", 46, 41}, Case{"100000", 50, 45}}) {
        mapItems[1][1] = 47;
        mapItems[2][1] = 42;
        mapItems[3][1] = 40;
        form->Text2->setText(c.typed);
        ClickCell(1, 1);
        ClickCell(2, 1);
        ClickCell(3, 1);
        EXPECT_EQ(mapItems[1][1], c.left) << c.typed;
        EXPECT_EQ(mapItems[2][1], c.right) << c.typed;
        EXPECT_EQ(mapItems[3][1], 40) << c.typed;
    }

    // A press clamps and rounds the final code (45 + 2.5 -> 48); a drag rounds the speed
    // first (2.5 -> 2, so 47).
    form->Text2->setText("2.5");
    mapItems[1][1] = 46;
    mapItems[2][1] = 46;
    form->Level_MouseDown(1, 0, 15, 15);
    form->Level_MouseMove(1, 0, 45, 15);
    EXPECT_EQ(mapItems[1][1], 48);
    EXPECT_EQ(mapItems[2][1], 47);
    form->Text2->setText("0.6");
    mapItems[1][1] = 42;
    mapItems[2][1] = 42;
    form->Level_MouseDown(1, 0, 15, 15);  // clamped to 1 -> 41
    form->Level_MouseMove(1, 0, 45, 15);  // rounded to 1 -> 41
    EXPECT_EQ(mapItems[1][1], 41);
    EXPECT_EQ(mapItems[2][1], 41);
}

TEST_F(EditorTest, BothToolsTogetherLinkAndSetSpeedButNeverPaint) {
    Pick(5);
    form->Command1_Click();
    form->Command3_Click();
    form->Text1->setText("3");
    form->Text2->setText("4");
    mapTiles[1][1] = 14;
    mapItems[2][1] = 41;
    ClickCell(1, 1);
    ClickCell(2, 1);
    ClickCell(3, 1);
    EXPECT_EQ(mapItems[1][1], 3);
    EXPECT_EQ(mapItems[2][1], 44);
    EXPECT_EQ(mapTiles[3][1], 0);

    // The level check switches the speed tool on; painting waits for the next palette press.
    Pick(5);
    form->Command2_Click();
    EXPECT_EQ(speedMode, -1);
    ClickCell(4, 1);
    EXPECT_EQ(mapTiles[4][1], 0);
    Pick(5);
    ClickCell(4, 1);
    EXPECT_EQ(mapTiles[4][1], 5);
}

TEST_F(EditorTest, ScrollButtonsStopAtTheirLimitsWithABeep) {
    form->Nahoru_Click();
    EXPECT_EQ(paletteTop, 0);
    EXPECT_EQ(host.beeps, 1);
    for (int i = 0; i < 27; ++i)
        form->Dolu_Click();
    EXPECT_EQ(paletteTop, 27);
    EXPECT_EQ(host.beeps, 1);
    QTest::mouseClick(form->Dolu, Qt::LeftButton);
    EXPECT_EQ(paletteTop, 27);
    EXPECT_EQ(host.beeps, 2);
    // The bottom slot shows entry 32 (sheet cell 31); a press there selects it.
    EXPECT_EQ(form->Vyber->Pixel(40, 4 * 74 + 36), form->Hiden->Pixel(73 + 39, 3 * 73 + 36));
    form->Vyber_MouseDown(2, 0, 70, 4 * 74 + 72);
    EXPECT_EQ(selectedEntry, 32);
    form->Vyber_MouseDown(1, 0, 5, 370);  // below the slots: nothing
    EXPECT_EQ(selectedEntry, 32);
    QTest::mouseClick(form->Nahoru, Qt::LeftButton);
    EXPECT_EQ(paletteTop, 26);
    EXPECT_EQ(selectedEntry, 32);

    mapTiles[33][1] = 3;
    QTest::mouseClick(form->Vpravo, Qt::LeftButton);  // "Posun Vlevo"
    EXPECT_EQ(viewScroll, 0);
    EXPECT_EQ(host.beeps, 3);
    for (int i = 0; i < 32; ++i)
        QTest::mouseClick(form->Vlevo, Qt::LeftButton);
    EXPECT_EQ(viewScroll, 32);
    EXPECT_EQ(host.beeps, 3);
    EXPECT_EQ(CellMismatches(*form, 1, 1, 2), 0);  // column 33 in the leftmost view column
    form->Vlevo_Click();
    EXPECT_EQ(viewScroll, 32);
    EXPECT_EQ(host.beeps, 4);
    form->Vpravo_Click();
    EXPECT_EQ(viewScroll, 31);
    EXPECT_EQ(CellMismatches(*form, 2, 1, 2), 0);
    EXPECT_EQ(NonBlackPixels(*form, 1, 1), 0);
}

}  // namespace
}  // namespace zorvik::editor::test
