// SPDX-License-Identifier: GPL-3.0-or-later
// How many inputs the reference level takes with the whole-map view, the palette panel and the
// tools: a three-row floor over columns 1-24; two crates with stars above them, a wall; a
// stone, two platforms linked to one board; a signpost, a refill, a crawler at speed 3; the
// start and an exit; saved and played. Every click, key press and drag is a real event and is
// counted; the level it builds is checked cell by cell. The count is printed for the README.
#include <QListWidget>
#include <QTest>
#include <cstdio>

#include "EditorFixture.h"
#include "editor/PalettePanel.h"
#include "editor/WholeMapView.h"

namespace zorvik::editor::test {
namespace {

class InputCountTest : public ActiveEditorTest {
  protected:
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                               : static_cast<QWidget*>(form.get()),
                        static_cast<Qt::Key>(key), modifiers);
        ++inputs;
    }
    QPoint At(int col, int row) {
        const double size = Whole()->CellSize();
        return {static_cast<int>(size * (col - 0.5)), static_cast<int>(size * (row - 0.5))};
    }
    void Click(int col, int row) {
        QTest::mouseClick(Whole(), Qt::LeftButton, {}, At(col, row));
        ++inputs;
    }
    void Drag(MapCell from, MapCell to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(Whole(), Qt::LeftButton, modifiers, At(from.col, from.row));
        SendMove(Whole(), At(to.col, to.row), Qt::LeftButton);
        QTest::mouseRelease(Whole(), Qt::LeftButton, modifiers, At(to.col, to.row));
        ++inputs;
    }
    void Entry(int entry) {
        auto* panel = form->findChild<PalettePanel*>("Paleta");
        QTest::mouseClick(panel, Qt::LeftButton, {}, panel->EntryRect(entry).center());
        ASSERT_EQ(selectedEntry, entry);
        ++inputs;
    }
    void ClickWidget(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton);
        ++inputs;
    }
    WholeMapView* Whole() { return form->findChild<WholeMapView*>("WholeMap"); }

    int inputs = 0;
};

TEST_F(InputCountTest, TheReferenceLevelTakesAtMostFortyInputs) {
    form->resize(1280, 1024);
    form->SetGameProgram(QString::fromStdString(zorvik::test::DistDir()) + "/zorvik");
    Key(Qt::Key_M, Qt::ControlModifier);  // Zobrazit > Celá mapa
    Key(Qt::Key_P, Qt::ControlModifier);  // Zobrazit > Paleta
    ASSERT_TRUE(Whole()->isVisible());

    Entry(1);  // grass on earth
    Drag({1, 16}, {24, 18}, Qt::ShiftModifier);
    Entry(7);  // crates
    Click(6, 15);
    Click(12, 15);
    Entry(20);  // stars above them
    Click(6, 14);
    Click(12, 14);
    Entry(3);  // a stone wall
    Drag({20, 12}, {20, 15});
    Entry(24);  // a stone
    Click(9, 15);
    Entry(14);  // two platforms
    Click(15, 11);
    Click(17, 11);
    Entry(17);  // the board housing
    Click(23, 15);
    Key(Qt::Key_L);  // linking by drag
    Drag({15, 11}, {23, 15});
    Drag({17, 11}, {23, 15});
    Entry(18);  // a signpost
    Click(3, 15);
    Entry(23);  // a refill
    Click(10, 15);
    Entry(26);  // a crawler, then its speed
    Click(14, 15);
    ClickWidget(form->Text2);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_3);
    ClickWidget(form->Command3);
    Click(14, 15);
    Entry(30);  // the start
    Click(2, 15);
    Entry(31);  // the exit
    Click(24, 15);

    host.dialogAnswers = {Path("reference.map")};
    Key(Qt::Key_S, Qt::ControlModifier);
    ++inputs;  // the name typed into the save dialog
    Key(Qt::Key_F5);

    // The level as described, and nothing else.
    int floor = 0;
    int other = 0;
    for (int col = 1; col <= kLastCol; ++col) {
        for (int row = 1; row <= kLastRow; ++row) {
            const bool isFloor = row >= 16 && col <= 24;
            floor += isFloor && mapTiles[col][row] == 1 && mapSolid[col][row] == 1 ? 1 : 0;
            other += !isFloor && (mapTiles[col][row] != 0 || mapItems[col][row] != 0) ? 1 : 0;
        }
    }
    EXPECT_EQ(floor, 72);
    EXPECT_EQ(mapTiles[6][15], 7);
    EXPECT_EQ(mapTiles[12][15], 7);
    EXPECT_EQ(mapItems[6][14], 40);
    EXPECT_EQ(mapItems[12][14], 40);
    for (int row = 12; row <= 15; ++row)
        EXPECT_EQ(mapTiles[20][row], 3) << row;
    EXPECT_EQ(mapItems[9][15], 20);
    EXPECT_EQ(mapTiles[15][11], 14);
    EXPECT_EQ(mapTiles[17][11], 14);
    EXPECT_EQ(mapTiles[23][15], 18);
    EXPECT_EQ(mapItems[15][11], 1);
    EXPECT_EQ(mapItems[17][11], 1);
    EXPECT_EQ(mapItems[23][15], 1);
    EXPECT_EQ(mapItems[3][15], 54);
    EXPECT_EQ(mapItems[10][15], 53);
    EXPECT_EQ(mapItems[14][15], 43);  // rightwards at speed 3
    EXPECT_EQ(mapItems[2][15], 999);
    EXPECT_EQ(mapItems[24][15], 997);
    EXPECT_EQ(other, 2 + 2 + 4 + 1 + 2 + 1 + 1 + 1 + 1 + 1 + 1);
    EXPECT_TRUE(LayoutFindings().empty());
    EXPECT_TRUE(QFile::exists(Path("reference.map.2")));
    EXPECT_EQ(host.started.size(), 1u);
    EXPECT_TRUE(host.messages.empty());

    std::printf("reference level: %d inputs\n", inputs);
    RecordProperty("inputs", inputs);
    EXPECT_LE(inputs, 40);
}

}  // namespace
}  // namespace zorvik::editor::test
