// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up frame-rate test and what follows from it.
#include "M_Test_FPS.h"

#include <array>
#include <cmath>

#include "A_deklarace.h"
#include "Numbers.h"

namespace zorvik {

namespace {
constexpr dx::RECT kScreen{0, 0, dx::kScreenWidth, dx::kScreenHeight};
}  // namespace

void MeasureFrameRate() {
    std::array<int16_t, 11> samples{};  // 1..3 used
    int16_t sampleIndex = 0;

    backBuffer->SetForeColor(dx::RGB(255, 255, 255));
    backBuffer->BltColorFill(kScreen, 0);
    primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
    primarySurface->BltColorFill(kScreen, 0);

    fpsTestStart = static_cast<int32_t>(dx::timeGetTime());
    for (;;) {
        // The test load: nine full-screen copies of the canvas.
        backBuffer->BltColorFill(kScreen, 0);
        for (int i = 0; i < 8; ++i) {
            backBuffer->BltFast(0, 0, tileCanvas.get(), kScreen,
                                dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT);
        }
        backBuffer->BltFast(0, 0, tileCanvas.get(), kScreen, dx::DDBLTFAST_WAIT);

        // Elapsed time as an unsigned difference, so a clock wrapping during the test (after
        // weeks of uptime) still ends the sample instead of waiting for ever.
        const uint32_t elapsed = dx::timeGetTime() - static_cast<uint32_t>(fpsTestStart);
        if (elapsed > 1000) {
            fpsSampleCount = fpsFrameCount;
            ++sampleIndex;
            samples[static_cast<size_t>(sampleIndex)] = ToInt16(fpsSampleCount);
            if (sampleIndex == 3) break;
            fpsFrameCount = 0;
            fpsTestStart = static_cast<int32_t>(dx::timeGetTime());
        }
        fpsFrameCount += 1;
        primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
    }

    const int16_t sum = ToInt16(samples[1] + samples[2] + samples[3]);
    ApplyFrameRate(ToInt16(sum / 3.0));
    primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
}

void ApplyFrameRate(int16_t average) {
    detailLevel = 1;
    if (average < 40) {
        detailLevel = 2;
        dx::DDSURFACEDESC2 desc;
        desc.lFlags = dx::DDSD_CAPS | dx::DDSD_HEIGHT | dx::DDSD_WIDTH;
        desc.ddsCaps.lCaps = dx::DDSCAPS_OFFSCREENPLAIN;
        desc.lWidth = dx::kScreenWidth;
        desc.lHeight = dx::kScreenHeight;
        // The low-detail background lies beside the program, not in the data folder.
        backgroundImage = directDraw->CreateSurfaceFromFile(GamePath("/ 005.dat"), desc);
    }
    stepInterval = ToInt16(std::floor(average / 10.0) + 10);
    textDelay = ToInt16(std::floor(average / 5.0) + 10);
}

}  // namespace zorvik
