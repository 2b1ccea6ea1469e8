// SPDX-License-Identifier: GPL-3.0-or-later
// The painting tools driven with real mouse and key events: the rectangle (Shift + drag), the
// eyedropper (middle click, Alt + click), select / cut / copy / paste / delete over all three
// layers, linking by drag, and the status bar naming what a click does. Each edit is one undo
// step, in the normal view and in the whole map.
#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include "EditorFixture.h"
#include "editor/WholeMapView.h"

namespace zorvik::editor::test {
namespace {

class PaintingToolsTest : public ActiveEditorTest {
  protected:
    // A press at `from`, one move to `to` and the release there, with `modifiers` held.
    static void Drag(QWidget* view, QPoint from, QPoint to, Qt::KeyboardModifiers modifiers,
                     Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(view, button, modifiers, from);
        SendMove(view, to, button);
        QTest::mouseRelease(view, button, modifiers, to);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(form.get(), static_cast<Qt::Key>(key), modifiers);
    }
    // The centre of map cell (col, row) in the whole-map view, shown first.
    QPoint WholeCell(int col, int row) {
        auto* whole = Whole();
        if (!whole->isVisible()) Key(Qt::Key_M, Qt::ControlModifier);
        const double size = whole->CellSize();
        return {static_cast<int>(size * (col - 0.5)), static_cast<int>(size * (row - 0.5))};
    }
    WholeMapView* Whole() { return form->findChild<WholeMapView*>("WholeMap"); }
    QString ToolState() { return form->findChild<QLabel*>("toolState")->text(); }
    QString Note() { return form->statusBar()->currentMessage(); }
    // Counts the cells of columns 1..50, rows 1..18 holding `tile`.
    static int CellsWithTile(int tile) {
        int count = 0;
        for (int col = 1; col <= kLastCol; ++col)
            for (int row = 1; row <= kLastRow; ++row)
                count += mapTiles[col][row] == tile ? 1 : 0;
        return count;
    }
};

TEST_F(PaintingToolsTest, ShiftDragFillsTheRectangleAsOneUndoStepInBothViews) {
    PressSlot(2);  // entry 3: tile 3, solid
    Drag(form->Level, CellCentre(2, 3), CellCentre(5, 6), Qt::ShiftModifier);
    EXPECT_EQ(CellsWithTile(3), 16);
    for (int col = 2; col <= 5; ++col)
        for (int row = 3; row <= 6; ++row)
            EXPECT_TRUE(mapTiles[col][row] == 3 && mapSolid[col][row] == 1) << col << "," << row;
    EXPECT_EQ(mapTiles[6][6] | mapTiles[5][7] | mapTiles[1][3], 0);

    // Right button with Shift erases a rectangle inside it.
    Drag(form->Level, CellCentre(3, 4), CellCentre(4, 4), Qt::ShiftModifier, Qt::RightButton);
    EXPECT_EQ(CellsWithTile(3), 14);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CellsWithTile(3), 16);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CellsWithTile(3), 0);

    // The whole map, across columns the normal view does not show at once; chosen as a tool
    // (R), a plain drag fills.
    Key(Qt::Key_R);
    EXPECT_EQ(ToolState(), QString::fromUtf8("Obdélník"));
    Drag(Whole(), WholeCell(10, 17), WholeCell(40, 18), {});
    EXPECT_EQ(CellsWithTile(3), 62);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CellsWithTile(3), 0);
}

TEST_F(PaintingToolsTest, TheEyedropperPicksTheObjectOrElseTheTile) {
    mapTiles[2][5] = 3;
    mapItems[2][5] = 40;  // a star worth 100 over rock
    mapTiles[3][5] = 7;
    mapItems[4][5] = 43;  // a flexible enemy, rightwards, speed 3
    mapTiles[5][5] = 14;
    mapItems[5][5] = 6;       // a platform with link 6
    form->Command1->click();  // the link tool on: a pick switches it off as the palette does

    QTest::mouseClick(form->Level, Qt::MiddleButton, {}, CellCentre(2, 5));
    EXPECT_EQ(selectedEntry, 20);
    EXPECT_EQ(linkMode, 0);
    QTest::mouseClick(form->Level, Qt::LeftButton, Qt::AltModifier, CellCentre(3, 5));
    EXPECT_EQ(selectedEntry, 7);
    QTest::mouseClick(form->Level, Qt::MiddleButton, {}, CellCentre(4, 5));
    EXPECT_EQ(selectedEntry, 26);
    QTest::mouseClick(form->Level, Qt::MiddleButton, {}, CellCentre(5, 5));
    EXPECT_EQ(selectedEntry, 14);
    // An empty cell picks nothing and says so.
    QTest::mouseClick(form->Level, Qt::MiddleButton, {}, CellCentre(9, 9));
    EXPECT_EQ(selectedEntry, 14);
    EXPECT_FALSE(Note().isEmpty());
    // Nothing was painted or changed by the picks.
    EXPECT_FALSE(form->MapChanged());

    // The picked entry paints at once; in the whole map the pick works too.
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(8, 8));
    EXPECT_EQ(mapTiles[8][8], 14);
    QTest::mouseClick(Whole(), Qt::MiddleButton, {}, WholeCell(2, 5));
    EXPECT_EQ(selectedEntry, 20);
}

TEST_F(PaintingToolsTest, CopyAndPasteKeepAllThreeLayersAndEachEditIsOneStep) {
    // Two columns: a platform with link 7 over a solid tile, an enemy at speed 4 on rock.
    mapTiles[3][10] = 14;
    mapSolid[3][10] = 1;
    mapItems[3][10] = 7;
    mapTiles[4][10] = 2;
    mapSolid[4][10] = 1;
    mapItems[4][10] = 44;
    mapTiles[3][11] = 9;
    mapSolid[3][11] = 1;
    PressSlot(0);  // painting with entry 1, the link box keeps the focus

    // Ctrl + drag selects while painting; Ctrl+C copies (the focus is still in the link box).
    ASSERT_EQ(QApplication::focusWidget(), form->Text1);
    Drag(form->Level, CellCentre(3, 10), CellCentre(4, 11), Qt::ControlModifier);
    EXPECT_FALSE(form->MapChanged());
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(form->Text1->text(), "1");  // the box got nothing

    // Ctrl+V: the paste follows the pointer; a click places it.
    SendMove(form->Level, CellCentre(10, 2), Qt::NoButton);
    Key(Qt::Key_V, Qt::ControlModifier);
    SendMove(form->Level, CellCentre(12, 3), Qt::NoButton);
    EXPECT_EQ(mapTiles[12][3], 0);  // only a preview so far
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(12, 3));
    EXPECT_EQ(mapTiles[12][3], 14);
    EXPECT_EQ(mapSolid[12][3], 1);
    EXPECT_EQ(mapItems[12][3], 7);
    EXPECT_EQ(mapItems[13][3], 44);
    EXPECT_EQ(mapTiles[12][4], 9);
    EXPECT_EQ(mapTiles[12][2] | mapTiles[14][3] | mapTiles[10][2], 0);
    // The click placed the paste and painted nothing besides.
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(15, 15));
    EXPECT_EQ(mapTiles[15][15], 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[15][15], 0);
    EXPECT_EQ(mapItems[13][3], 44);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[12][3] | mapItems[13][3] | mapTiles[12][4], 0);

    // Cut empties the source in one step; paste it in the whole map at column 45.
    Drag(form->Level, CellCentre(3, 10), CellCentre(4, 11), Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[3][10] | mapItems[4][10] | mapTiles[3][11], 0);
    const QPoint at45 = WholeCell(45, 16);
    SendMove(Whole(), at45, Qt::NoButton);
    Key(Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(Whole(), Qt::LeftButton, {}, at45);
    EXPECT_EQ(mapItems[45][16], 7);
    EXPECT_EQ(mapItems[46][16], 44);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapItems[45][16], 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapItems[3][10], 7);  // the cut undone
    EXPECT_EQ(mapTiles[3][11], 9);

    // A paste near the edge keeps what fits; Esc drops a paste, Delete empties the selection.
    SendMove(Whole(), WholeCell(50, 18), Qt::NoButton);
    Key(Qt::Key_V, Qt::ControlModifier);
    QTest::mouseClick(Whole(), Qt::LeftButton, {}, WholeCell(50, 18));
    EXPECT_EQ(mapTiles[50][18], 14);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_Escape);
    QTest::mouseClick(Whole(), Qt::LeftButton, {}, WholeCell(30, 5));
    EXPECT_EQ(mapTiles[30][5], 1);  // painted, not pasted
    Drag(Whole(), WholeCell(3, 10), WholeCell(4, 11), Qt::ControlModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(mapTiles[3][10] | mapItems[4][10] | mapTiles[3][11] | mapSolid[3][10], 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapItems[3][10], 7);
}

TEST_F(PaintingToolsTest, DraggingFromAPlatformToABoardLinksThemWithTheNextFreeNumber) {
    mapTiles[20][5] = 18;
    mapItems[20][5] = 1;  // a board already numbered 1
    mapTiles[4][12] = 14;
    mapTiles[10][12] = 18;  // a new board, no number yet
    mapTiles[6][14] = 14;
    Key(Qt::Key_L);
    EXPECT_EQ(ToolState(), QString::fromUtf8("Propojení tažením"));

    Drag(form->Level, CellCentre(4, 12), CellCentre(10, 12), {});
    EXPECT_EQ(mapItems[4][12], 2);
    EXPECT_EQ(mapItems[10][12], 2);
    // A second platform dragged the other way, from the board, gets the board's number.
    Drag(form->Level, CellCentre(10, 12), CellCentre(6, 14), {});
    EXPECT_EQ(mapItems[6][14], 2);
    // Two platforms do not link.
    Drag(form->Level, CellCentre(4, 12), CellCentre(6, 14), {});
    EXPECT_EQ(mapItems[4][12], 2);
    EXPECT_FALSE(Note().isEmpty());
    // One undo step takes back one link; the first link's two cells go back together.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapItems[6][14], 0);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapItems[4][12] | mapItems[10][12], 0);

    // Pointing at a linked cell joins the pair with a yellow line (cells 6..9 of row 12 in
    // between, empty and black otherwise).
    Key(Qt::Key_Y, Qt::ControlModifier);
    SendMove(form->Level, CellCentre(4, 12), Qt::NoButton);
    const QImage shown = form->Level->grab().toImage();
    EXPECT_EQ(shown.pixelColor(CellCentre(7, 12)), QColor(255, 255, 0));
    SendMove(form->Level, CellCentre(15, 2), Qt::NoButton);
    EXPECT_NE(form->Level->grab().toImage().pixelColor(CellCentre(7, 12)), QColor(255, 255, 0));

    // In the whole map too.
    Drag(Whole(), WholeCell(10, 12), WholeCell(6, 14), {});
    EXPECT_EQ(mapItems[6][14], 2);
}

TEST_F(PaintingToolsTest, TheStatusBarNamesWhatALeftClickDoes) {
    // At start both the link and the speed tool are on and painting is off: the status says so.
    EXPECT_TRUE(ToolState().contains(QString::fromUtf8("nekreslí"))) << ToolState().toStdString();
    PressSlot(0);
    EXPECT_EQ(ToolState(), QString::fromUtf8("Kreslení"));
    form->Command1->click();
    EXPECT_TRUE(ToolState().startsWith(QString::fromUtf8("Propojování:")));
    form->Command3->click();
    EXPECT_TRUE(ToolState().contains(QString::fromUtf8("nekreslí"))) << ToolState().toStdString();
    PressSlot(0);
    EXPECT_EQ(ToolState(), QString::fromUtf8("Kreslení"));
    Key(Qt::Key_S);
    EXPECT_EQ(ToolState(), QString::fromUtf8("Výběr"));
    Key(Qt::Key_K);
    EXPECT_EQ(ToolState(), QString::fromUtf8("Kapátko"));
    Key(Qt::Key_B);
    EXPECT_EQ(ToolState(), QString::fromUtf8("Kreslení"));
    EXPECT_EQ(form->Text1->text(), "1");  // tool keys never reach the number box
}

}  // namespace
}  // namespace zorvik::editor::test
