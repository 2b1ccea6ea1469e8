// SPDX-License-Identifier: GPL-3.0-or-later
// The picture scaled into a window's own pixels, as the SDL host does where OpenGL runs on the
// processor: 640 x 480 shown as it is, on a 1920 x 1080 and on a 3840 x 2160 screen.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "DirectX.h"
#include "ScaledPicture.h"

namespace {

void BM_DrawScaledPicture(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    std::vector<uint16_t> picture(static_cast<size_t>(dx::kScreenWidth) * dx::kScreenHeight);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint16_t>(i * 2654435761u);
    auto colours = std::make_unique<dx::ColourTable>();
    dx::FillColourTable(*colours, [](uint8_t r, uint8_t g, uint8_t b) {
        return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
    });
    std::vector<uint32_t> window(static_cast<size_t>(width) * static_cast<size_t>(height));
    const dx::PictureRect rect = dx::LetterboxRect(width, height);
    for (auto _ : state) {
        dx::DrawScaledPicture(picture.data(), *colours, window.data(), width, rect);
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawScaledPicture)
    ->Args({640, 480})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
