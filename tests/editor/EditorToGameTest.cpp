// SPDX-License-Identifier: GPL-3.0-or-later
// A level painted and saved in the editor is the level the game loads: the two programs meet
// only in the map files, so this follows one level from the mouse to the game's tables.
#include "A_deklarace.h"
#include "E_load.h"
#include "EditorFixture.h"
#include "GameHarness.h"

namespace zorvik::editor::test {
namespace {

TEST_F(EditorTest, ALevelSavedByTheEditorLoadsInTheGame) {
    // Ground in row 15 with a platform and a board housing, a start, a red signpost, and a
    // crawling enemy given speed 3 with the speed tool; the platform and board linked as 1.
    Pick(1);
    for (int k = 1; k <= 12; ++k)
        ClickCell(k, 15);
    Pick(14);
    ClickCell(5, 15);
    Pick(17);
    ClickCell(8, 15);
    Pick(30);
    ClickCell(2, 14);
    Pick(19);
    ClickCell(3, 14);
    Pick(26);
    ClickCell(10, 14);
    form->Command1_Click();
    form->Text1->setText("1");
    ClickCell(5, 15);
    ClickCell(8, 15);
    form->Command3_Click();
    form->Text2->setText("3");
    ClickCell(10, 14);

    // Saved as level 1 into a game folder of its own (not over the shipped, linked maps).
    zorvik::test::TempGameDir game;
    for (const char* name : {"map/mapa1.map", "map/mapa1.map.1", "map/mapa1.map.2"}) {
        game.Remove(name);
    }
    host.dialogAnswers = {QString::fromStdString(game.File("map/mapa1.map"))};
    form->Msave->trigger();
    ASSERT_TRUE(host.messages.empty()) << host.messages.front().toStdString();

    zorvik::test::GameHarness harness(game.Path());
    ::zorvik::levelNumber = 1;
    ::zorvik::ReadLevelMap();
    EXPECT_EQ(::zorvik::playerCol, 2);
    EXPECT_EQ(::zorvik::playerRow, 14);
    EXPECT_EQ(::zorvik::playerFacing, 2);
    EXPECT_EQ(::zorvik::signpostCol, 3);
    EXPECT_EQ(::zorvik::signpostRow, 14);
    EXPECT_EQ(::zorvik::mapTiles(5, 15), 14);
    EXPECT_EQ(::zorvik::mapItems(5, 15), 1);
    EXPECT_EQ(::zorvik::mapSolid(5, 15), 1);
    ASSERT_EQ(::zorvik::boardCount, 1);
    EXPECT_EQ(::zorvik::boards[1].column, 8);
    EXPECT_EQ(::zorvik::boards[1].topRow, 12);
    ASSERT_EQ(::zorvik::flexEnemyCount, 1);
    EXPECT_EQ(::zorvik::flexEnemies[1].col, 10);
    EXPECT_EQ(::zorvik::flexEnemies[1].dir, 1);
    EXPECT_EQ(::zorvik::flexEnemies[1].period, 5);  // designer speed 3
    EXPECT_EQ(::zorvik::mapSolid(12, 15), 1);
    EXPECT_EQ(::zorvik::mapSolid(13, 15), 0);
}

}  // namespace
}  // namespace zorvik::editor::test
