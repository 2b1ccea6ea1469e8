// SPDX-License-Identifier: GPL-3.0-or-later
// The views chosen in Zobrazit, driven by real events: the whole map (painting, erasing,
// linking, the overlays and undo there, as in the normal view), the minimap under the normal
// view, and the palette panel with its names and the keys 1 to 9.
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

#include "EditorFixture.h"
#include "editor/PalettePanel.h"
#include "editor/WholeMapView.h"

namespace zorvik::editor::test {
namespace {

class ViewsTest : public ActiveEditorTest {
  protected:
    void SetUp() override {
        ActiveEditorTest::SetUp();
        // The window of a 1280 x 1024 screen.
        form->resize(1280, 964);
        whole = form->findChild<WholeMapView*>("WholeMap");
        panel = form->findChild<PalettePanel*>("Paleta");
        minimap = form->findChild<QWidget*>("Minimap");
        ASSERT_NE(whole, nullptr);
        ASSERT_NE(panel, nullptr);
        ASSERT_NE(minimap, nullptr);
    }
    // The middle of map cell (col, row) in the whole-map view.
    QPoint WholeCell(int col, int row) const {
        const double size = whole->CellSize();
        return QPointF(size * (col - 0.5), size * (row - 0.5)).toPoint();
    }
    // The whole-map view as shown on screen.
    QImage ShownWhole() const {
        return whole->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static bool Yellowish(QColor c) { return c.red() > 180 && c.green() > 180 && c.blue() < 100; }

    WholeMapView* whole = nullptr;
    PalettePanel* panel = nullptr;
    QWidget* minimap = nullptr;
};

TEST_F(ViewsTest, TheWholeMapShowsEveryCellAndWorksAsTheNormalView) {
    ChooseMenuItem(*form, *form->Mzobrazit, *form->Mcela);
    ASSERT_TRUE(whole->isVisible());
    EXPECT_FALSE(form->Level->isVisible());
    // About 24 pixels a cell on this screen, all 50 x 18 cells inside the window, the
    // controls clear of the map.
    EXPECT_GE(whole->CellSize(), 22);
    EXPECT_LE(whole->geometry().right(), form->centralWidget()->width());
    for (QWidget* control :
         {static_cast<QWidget*>(form->Vyber), static_cast<QWidget*>(form->SELEC),
          static_cast<QWidget*>(form->Command2), static_cast<QWidget*>(form->Text1)}) {
        EXPECT_TRUE(control->isVisible());
        EXPECT_FALSE(control->geometry().intersects(whole->geometry()))
            << control->objectName().toStdString();
    }

    // Painting beyond the normal view's 18 columns, a fast drag as a whole line, erasing.
    PressSlot(2);
    QTest::mouseClick(whole, Qt::LeftButton, {}, WholeCell(40, 10));
    EXPECT_EQ(mapTiles[40][10], 3);
    QTest::mousePress(whole, Qt::LeftButton, {}, WholeCell(30, 5));
    SendMove(whole, WholeCell(36, 5), Qt::LeftButton);
    QTest::mouseRelease(whole, Qt::LeftButton, {}, WholeCell(36, 5));
    for (int col = 30; col <= 36; ++col)
        EXPECT_EQ(mapTiles[col][5], 3) << col;
    QTest::mouseClick(whole, Qt::RightButton, {}, WholeCell(33, 5));
    EXPECT_EQ(mapTiles[33][5], 0);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[33][5], 3);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[31][5] | mapTiles[36][5], 0);

    // Linking a platform and a board far apart; pointing at one frames both.
    mapTiles[45][12] = 14;
    mapTiles[3][15] = 18;
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QTest::mouseClick(form->Text1, Qt::LeftButton);
    QTest::keyClick(form->Text1, Qt::Key_Backspace);
    QTest::keyClicks(form->Text1, "7");
    QTest::mouseClick(whole, Qt::LeftButton, {}, WholeCell(45, 12));
    QTest::mouseClick(whole, Qt::LeftButton, {}, WholeCell(3, 15));
    EXPECT_EQ(mapItems[45][12], 7);
    EXPECT_EQ(mapItems[3][15], 7);
    SendMove(whole, WholeCell(45, 12), Qt::NoButton);
    EXPECT_EQ(form->Hovered(), (MapCell{45, 12}));
    EXPECT_TRUE(form->findChild<QLabel*>("status")->text().startsWith("Sloupec 45  Radek 12 "));
    QImage shown = ShownWhole();
    const double size = whole->CellSize();
    auto frameTop = [&](int col, int row) {
        return shown.pixelColor(QPointF(size * (col - 0.5), size * (row - 1) + 2).toPoint());
    };
    EXPECT_TRUE(Yellowish(frameTop(3, 15))) << frameTop(3, 15).name().toStdString();
    // The hovered cell has a white frame on its grid lines.
    const QColor hoverLine = shown.pixelColor(QPointF(size * (45 - 0.5), size * 11).toPoint());
    EXPECT_GT(hoverLine.lightness(), 200);

    // The gate above the housing is outlined, the solid cells tinted.
    form->Mpevnost->setChecked(true);
    shown = ShownWhole();
    const QColor tinted = shown.pixelColor(WholeCell(40, 10));
    const QColor plain = whole->Canvas().Image().pixelColor(30 * 39 + 15, 30 * 9 + 15);
    EXPECT_GT(tinted.red(), plain.red() + 40);
    const QColor gate = shown.pixelColor(QPointF(size * 2, size * 13).toPoint());
    EXPECT_GT(gate.blue(), 150);
    EXPECT_GT(gate.green(), 150);

    // The view's picture is the one a full drawing gives, cell for cell.
    PictureBox fresh(Qt::black);
    fresh.SetGeometry(0, 0, whole->Canvas().Image().width(), whole->Canvas().Image().height());
    DrawWholeMap(fresh);
    EXPECT_EQ(whole->Canvas().Image(), fresh.Image());

    // Back to the normal view: every control at its designed place.
    ChooseMenuItem(*form, *form->Mzobrazit, *form->Mcela);
    EXPECT_FALSE(whole->isVisible());
    EXPECT_TRUE(form->Level->isVisible());
    EXPECT_EQ(form->Vyber->geometry(), QRect(546, 0, 78, 374));
    EXPECT_EQ(form->SELEC->geometry(), QRect(546, 450, 77, 77));
    EXPECT_EQ(form->Command2->geometry(), QRect(648, 224, 105, 49));
    EXPECT_EQ(form->Label1->geometry(), QRect(559, 528, 49, 17));
}

TEST_F(ViewsTest, TheMinimapFramesTheViewAndAClickScrollsThere) {
    EXPECT_FALSE(minimap->isVisible());
    ChooseMenuItem(*form, *form->Mzobrazit, *form->Mminimapa);
    ASSERT_TRUE(minimap->isVisible());
    EXPECT_EQ(minimap->geometry(), QRect(0, 566, 501, 181));

    // A click at column 40 brings it to the middle of the view; near the ends the view stops.
    QTest::mouseClick(minimap, Qt::LeftButton, {}, QPoint(395, 90));
    EXPECT_EQ(viewScroll, 30);
    QTest::mouseClick(minimap, Qt::LeftButton, {}, QPoint(495, 90));
    EXPECT_EQ(viewScroll, 32);
    QTest::mousePress(minimap, Qt::LeftButton, {}, QPoint(205, 90));
    SendMove(minimap, QPoint(25, 90), Qt::LeftButton);
    QTest::mouseRelease(minimap, Qt::LeftButton, {}, QPoint(25, 90));
    EXPECT_EQ(viewScroll, 0);
    EXPECT_EQ(host.beeps, 0);

    // The frame follows the scroll buttons; the strip follows painting.
    QTest::mouseClick(form->Vlevo, Qt::LeftButton);
    QTest::mouseClick(form->Vlevo, Qt::LeftButton);
    QImage strip = minimap->grab().toImage();
    EXPECT_TRUE(Yellowish(strip.pixelColor(21, 90)));
    EXPECT_FALSE(Yellowish(strip.pixelColor(1, 90)));
    const QColor before = strip.pixelColor(55, 45);
    PressSlot(0);
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, QPoint(3 * 30 + 15, 4 * 30 + 15));
    ASSERT_EQ(mapTiles[6][5], 1);
    strip = minimap->grab().toImage();
    EXPECT_NE(strip.pixelColor(55, 45), before);

    // Not in the whole-map view; back with the normal view.
    ChooseMenuItem(*form, *form->Mzobrazit, *form->Mcela);
    EXPECT_FALSE(minimap->isVisible());
    ChooseMenuItem(*form, *form->Mzobrazit, *form->Mcela);
    EXPECT_TRUE(minimap->isVisible());
}

TEST_F(ViewsTest, ThePalettePanelNamesEveryEntryAndKeysPickTheOnesUsedLast) {
    EXPECT_FALSE(panel->isVisible());
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->geometry().intersects(form->Command1->geometry()));

    // Every entry names itself in its tooltip.
    QStringList names;
    for (int entry = 1; entry <= 32; ++entry) {
        const QPoint at = panel->EntryRect(entry).center();
        QHelpEvent help(QEvent::ToolTip, at, panel->mapToGlobal(at));
        QApplication::sendEvent(panel, &help);
        names << QToolTip::text();
    }
    EXPECT_EQ(names[19], QString::fromUtf8("Hvězda 100"));
    EXPECT_EQ(names[23], QString::fromUtf8("Kámen"));
    EXPECT_EQ(names[13], QString::fromUtf8("Plošinka"));
    EXPECT_EQ(names[16], QString::fromUtf8("Prkno (pouzdro)"));
    EXPECT_EQ(names[31], QString::fromUtf8("Cíl hry"));
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 32);

    // A click picks like the palette does: the entry, its preview, the tools off; the
    // five-slot palette stays where it was.
    const QImage fiveSlots = form->Vyber->Image().copy();
    for (int entry : {20, 24, 14}) {
        QTest::mouseClick(panel, Qt::LeftButton, {}, panel->EntryRect(entry).center());
        EXPECT_EQ(selectedEntry, entry);
    }
    EXPECT_EQ(linkMode, 0);
    EXPECT_EQ(speedMode, 0);
    EXPECT_EQ(form->SELEC->Pixel(37, 37), form->Hiden->Pixel(73 * 3 + 36, 73 + 36));
    EXPECT_EQ(form->Vyber->Image(), fiveSlots);
    EXPECT_EQ(paletteTop, 0);

    // Keys: 1 is the entry in use, 2 the one before, ...; the five slots count as use too.
    QTest::keyClick(form.get(), Qt::Key_2);
    EXPECT_EQ(selectedEntry, 24);
    QTest::keyClick(form.get(), Qt::Key_3);  // 24, 14, 20, 1: the third is 20
    EXPECT_EQ(selectedEntry, 20);
    PressSlot(4);
    QTest::keyClick(form.get(), Qt::Key_2);
    EXPECT_EQ(selectedEntry, 20);
    EXPECT_EQ(panel->Recent(1), 20);
    EXPECT_EQ(panel->Recent(2), 5);
    EXPECT_EQ(panel->Recent(6), 0);
    QTest::keyClick(form.get(), Qt::Key_9);  // nothing used that long ago
    EXPECT_EQ(selectedEntry, 20);
    // The recent row picks by a click too.
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->RecentRect(2).center());
    EXPECT_EQ(selectedEntry, 5);

    // A digit typed into a number box is the box's.
    QTest::mouseClick(form->Text1, Qt::LeftButton);
    QTest::keyClick(form->Text1, Qt::Key_2);
    EXPECT_EQ(selectedEntry, 5);
    EXPECT_EQ(form->Text1->text(), "12");

    // Painting with a key-picked entry, after the link tool was on.
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QTest::keyClick(form.get(), Qt::Key_2);
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, QPoint(15, 15));
    EXPECT_EQ(mapItems[1][1], 40);
}

}  // namespace
}  // namespace zorvik::editor::test
