// SPDX-License-Identifier: GPL-3.0-or-later
// The map tools' extension point: a tool of the test's own, added as a new tool is, gets the
// pointer of both map views in cells, draws its preview over them, picks palette entries, and
// is chosen and left through its entry in the Tools menu.
#include <QPainter>
#include <QTest>
#include <string>

#include "EditorFixture.h"
#include "editor/ToolManager.h"
#include "editor/WholeMapView.h"

namespace zorvik::editor::test {
namespace {

class ProbeTool : public AbstractTool {
  public:
    explicit ProbeTool(ToolContext& context)
        : AbstractTool(context, "Sonda", "Zkusebni nastroj", QKeySequence(Qt::Key_F9)) {}

    std::vector<std::string> events;

    void Activate() override { events.push_back("activate"); }
    void Deactivate() override { events.push_back("deactivate"); }
    void MousePressed(const MapPointer& pointer) override {
        Note("press", pointer);
        marked_ = pointer.cell;
        if (pointer.buttons == kMiddleButton) Context().SelectEntry(20);
        Context().RepaintViews();
    }
    void MouseMoved(const MapPointer& pointer) override {
        if (pointer.buttons != 0) Note("move", pointer);
    }
    void MouseReleased(const MapPointer& pointer) override { Note("release", pointer); }
    // A magenta cell where the last press was.
    void PaintPreview(QPainter& painter, const ViewColumns& view) const override {
        if (marked_.col < view.firstCol || marked_.col >= view.firstCol + view.cols) return;
        painter.fillRect(CellInterior(view, marked_.col, marked_.row), Qt::magenta);
    }

  private:
    void Note(const char* what, const MapPointer& pointer) {
        events.push_back(std::string(what) + " " + std::to_string(pointer.cell.col) + "," +
                         std::to_string(pointer.cell.row) + " b" + std::to_string(pointer.buttons) +
                         " m" + std::to_string(pointer.modifiers));
    }
    MapCell marked_;
};

TEST_F(ActiveEditorTest, ANewToolGetsBothViewsInCellsAndDrawsOverThem) {
    auto owned = std::make_unique<ProbeTool>(*form);
    ProbeTool& probe = *owned;
    form->Tools().Add(std::move(owned));
    PressSlot(2);  // before the tool is chosen: a palette pick returns to painting
    const QList<QAction*> entries = form->Mnastroje->actions();
    ASSERT_EQ(entries.size(), 6);
    EXPECT_EQ(entries[5]->text(), "Sonda");
    ChooseMenuItem(*form, *form->Mnastroje, *entries[5]);
    EXPECT_EQ(&form->Tools().Current(), &probe);

    // The normal view, scrolled: cells count from the map's first column.
    form->Vlevo->click();
    QTest::mousePress(form->Level, Qt::LeftButton, Qt::ShiftModifier, CellCentre(2, 3));
    SendMove(form->Level, CellCentre(4, 3), Qt::LeftButton);
    QTest::mouseRelease(form->Level, Qt::LeftButton, Qt::ShiftModifier, CellCentre(4, 3));
    EXPECT_EQ(probe.events, (std::vector<std::string>{"activate", "press 3,3 b1 m1",
                                                      "move 5,3 b1 m0", "release 5,3 b1 m1"}));
    EXPECT_EQ(mapTiles[3][3] | mapTiles[5][3], 0);  // the paint tool is not current
    const QImage normal = form->Level->grab().toImage();
    EXPECT_EQ(normal.pixelColor(CellCentre(2, 3)), QColor(Qt::magenta));
    EXPECT_NE(normal.pixelColor(CellCentre(4, 3)), QColor(Qt::magenta));

    // The whole map, with a middle click that picks a palette entry through the context.
    QTest::keyClick(form.get(), Qt::Key_M, Qt::ControlModifier);
    auto* whole = form->findChild<WholeMapView*>("WholeMap");
    ASSERT_TRUE(whole->isVisible());
    const double size = whole->CellSize();
    const QPoint cell40(static_cast<int>(size * 39.5), static_cast<int>(size * 4.5));
    QTest::mouseClick(whole, Qt::MiddleButton, {}, cell40);
    EXPECT_EQ(selectedEntry, 20);
    EXPECT_EQ(whole->grab().toImage().pixelColor(cell40), QColor(Qt::magenta));
    // A palette pick returns to painting; the press's release still ends the tool's gesture.
    EXPECT_EQ(probe.events.end()[-2], "deactivate");
    EXPECT_EQ(probe.events.back(), "release 40,5 b4 m0");
    EXPECT_TRUE(entries[0]->isChecked());

    // Chosen again in the menu and left through the paint tool's entry.
    ChooseMenuItem(*form, *form->Mnastroje, *entries[5]);
    ChooseMenuItem(*form, *form->Mnastroje, *entries[0]);
    EXPECT_EQ(probe.events.back(), "deactivate");
    QTest::mouseClick(whole, Qt::LeftButton, {}, cell40);
    EXPECT_EQ(mapItems[40][5], 40);
}

}  // namespace
}  // namespace zorvik::editor::test
