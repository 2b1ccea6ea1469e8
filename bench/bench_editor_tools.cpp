// SPDX-License-Identifier: GPL-3.0-or-later
// Editor tools: a paint in the whole-map view (a real move event with the button held, the
// edit, the redraw of the changed cell in the canvas and on screen, the pending paint), pasting
// a 10 x 10 selection (Ctrl+V and the placing click) with its repaint, and undoing that paste,
// on the offscreen Qt platform. Against a fill and a copy of the whole view's pixels.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "BenchSupport.h"
#include "EditorBench.h"
#include "TestPaths.h"
#include "editor/A_deklare.h"
#include "editor/EditorHost.h"
#include "editor/Form1.h"
#include "editor/WholeMapView.h"

namespace {

using namespace zorvik::editor;

zorvik::bench::QuietHost g_host;
Form1* g_form = nullptr;
WholeMapView* g_whole = nullptr;

void FillMap() {
    zorvik::bench::FillEditorMap();
}

QPointF At(int col, int row) {
    const double size = g_whole->CellSize();
    return {size * (col - 0.5), size * (row - 0.5)};
}

void Send(QEvent::Type type, int col, int row, Qt::MouseButtons held,
          Qt::KeyboardModifiers modifiers = {}) {
    const QPointF at = At(col, row);
    QMouseEvent event(type, at, g_whole->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, modifiers);
    QApplication::sendEvent(g_whole, &event);
}

QAction* EditCommand(const char* name) {
    for (QAction* action : g_form->Mupravy->actions())
        if (action->text() == QString::fromUtf8(name)) return action;
    return nullptr;
}

void BM_WholeMapPaint(benchmark::State& st) {
    FillMap();
    g_form->SelectEntry(3);
    Send(QEvent::MouseButtonPress, 1, 1, Qt::LeftButton);
    QApplication::processEvents();
    long n = 0;
    for (auto _ : st) {
        // Back and forth over a row, painting two entries in turn, so each move changes a cell.
        selectedEntry = static_cast<int16_t>((n / 50) % 2 == 0 ? 5 : 3);
        Send(QEvent::MouseMove, 1 + static_cast<int>(n % 50), 9, Qt::LeftButton);
        QApplication::processEvents();
        ++n;
    }
    Send(QEvent::MouseButtonRelease, 1, 9, Qt::NoButton);
}
BENCHMARK(BM_WholeMapPaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Selects and copies the 10 x 10 cells from (2, 2).
void CopyTenByTen() {
    FillMap();
    Send(QEvent::MouseButtonPress, 2, 2, Qt::LeftButton, Qt::ControlModifier);
    Send(QEvent::MouseMove, 11, 11, Qt::LeftButton, Qt::ControlModifier);
    Send(QEvent::MouseButtonRelease, 11, 11, Qt::NoButton, Qt::ControlModifier);
    EditCommand("Kopírovat")->trigger();
}

// Ctrl+V and the click that places the paste at column `col`, row 5, then the repaint.
void PasteAt(QAction* paste, int col) {
    paste->trigger();
    Send(QEvent::MouseMove, col, 5, Qt::NoButton);
    Send(QEvent::MouseButtonPress, col, 5, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, col, 5, Qt::NoButton);
    QApplication::processEvents();
}

void BM_PasteTenByTen(benchmark::State& st) {
    CopyTenByTen();
    QAction* paste = EditCommand("Vložit");
    long n = 0;
    for (auto _ : st) {
        // Two places in turn, so every paste changes its cells.
        PasteAt(paste, n % 2 == 0 ? 20 : 30);
        ++n;
    }
}
BENCHMARK(BM_PasteTenByTen)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_UndoPaste(benchmark::State& st) {
    CopyTenByTen();
    QAction* paste = EditCommand("Vložit");
    for (auto _ : st) {
        st.PauseTiming();
        PasteAt(paste, 25);
        st.ResumeTiming();
        g_form->Mzpet->trigger();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_UndoPaste)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The floor: a fill and a copy of the whole map's 1201 x 433 pixels (24-pixel cells).
void BM_WholeFloor(benchmark::State& st) {
    const size_t bytes = 1201 * 433 * 4;
    zorvik::bench::RunMemoryFloor(st, bytes, bytes);
}
BENCHMARK(BM_WholeFloor)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    auto form = std::make_unique<Form1>(&g_host, QString::fromStdString(zorvik::test::DistDir()));
    form->show();
    form->resize(1280, 1024);
    form->Mcela->setChecked(true);
    QApplication::processEvents();
    g_form = form.get();
    g_whole = form->findChild<WholeMapView*>("WholeMap");

    const auto results = zorvik::bench::RunAll(argc, argv);
    const double paint = results.Get("BM_WholeMapPaint").ms;
    const double paste = results.Get("BM_PasteTenByTen").ms;
    const double undo = results.Get("BM_UndoPaste").ms;
    const double floor = results.Get("BM_WholeFloor").ms;
    std::printf(
        "editor tools: whole-map paint %.3f ms, paste 10 x 10 %.3f ms, undo %.3f ms, "
        "floor %.3f ms (cell %.0f px)\n",
        paint, paste, undo, floor, g_whole->CellSize());
    auto ratio = [floor](double value) { return floor > 0 ? value / floor : -1; };
    zorvik::bench::Summary("editor whole-map paint", paint, "ms", ratio(paint), "<= 0.5 ms");
    zorvik::bench::Summary("editor paste 10 x 10", paste, "ms", ratio(paste), "<= 1 ms");
    zorvik::bench::Summary("editor undo of the paste", undo, "ms", ratio(undo), "<= 1 ms");
    form.reset();
    return 0;
}
