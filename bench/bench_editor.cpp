// SPDX-License-Identifier: GPL-3.0-or-later
// Editor: DrawMap of a full 18 x 18 view, and one mouse move that paints a cell (a real move
// event through the map view: the edit, the redraw of what changed, the status bar) followed by
// the window's pending paint, on the offscreen Qt platform. Against a fill and a copy of the
// view's pixels.
#include <QApplication>
#include <QImage>
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
#include "editor/B_do.h"
#include "editor/EditorHost.h"
#include "editor/Form1.h"
#include "editor/PictureBox.h"

namespace {

using namespace zorvik::editor;

zorvik::bench::QuietHost g_host;
Form1* g_form = nullptr;

void FillMap() {
    zorvik::bench::FillEditorMap();
    viewScroll = 10;
}

void BM_DrawMap(benchmark::State& st) {
    FillMap();
    for (auto _ : st)
        DrawMap();
}
BENCHMARK(BM_DrawMap)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_MouseMoveAndPaint(benchmark::State& st) {
    FillMap();
    DrawMap();
    // The paint tool (as after a palette press), not the link and speed tools of start-up.
    linkMode = kFalse;
    speedMode = kFalse;
    long n = 0;
    for (auto _ : st) {
        // Paint alternately with two palette entries, so every move changes a cell.
        selectedEntry = static_cast<int16_t>(n % 2 == 0 ? 3 : 5);
        const QPointF at(30.0 * static_cast<double>(n % 18) + 15,
                         15.0 + 30.0 * static_cast<double>((n / 18) % 18));
        QMouseEvent move(QEvent::MouseMove, at, g_form->Level->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(g_form->Level, &move);
        QApplication::processEvents();
        ++n;
    }
}
BENCHMARK(BM_MouseMoveAndPaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The floor: a fill and a copy of the view's 540 x 540 pixels of 4 bytes.
void BM_ViewFloor(benchmark::State& st) {
    const size_t bytes = 540 * 540 * 4;
    std::vector<unsigned char> fill(bytes), from(bytes, 1), to(bytes);
    for (auto _ : st) {
        std::memset(fill.data(), 0, bytes);
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(fill.data());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ViewFloor)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    auto form = std::make_unique<Form1>(&g_host, QString::fromStdString(zorvik::test::DistDir()));
    form->show();
    QApplication::processEvents();
    g_form = form.get();

    const auto results = zorvik::bench::RunAll(argc, argv);
    const double draw = results.Get("BM_DrawMap").ms;
    const double move = results.Get("BM_MouseMoveAndPaint").ms;
    const double floor = results.Get("BM_ViewFloor").ms;
    std::printf("editor: DrawMap %.3f ms, mouse move + paint %.3f ms, floor %.3f ms\n", draw, move,
                floor);
    zorvik::bench::Summary("editor DrawMap (18 x 18)", draw, "ms", floor > 0 ? draw / floor : -1,
                           "<= 1 ms");
    zorvik::bench::Summary("editor mouse move + paint", move, "ms", floor > 0 ? move / floor : -1,
                           "<= 0.5 ms");
    form.reset();
    return 0;
}
