// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScaledPicture.h"

#include <array>
#include <cstring>
#include <vector>

namespace dx {

PictureRect LetterboxRect(int windowWidth, int windowHeight) {
    PictureRect rect;
    // Compared as products, so the choice of ratio needs no rounding.
    if (static_cast<int64_t>(windowWidth) * kScreenHeight <=
        static_cast<int64_t>(windowHeight) * kScreenWidth) {
        rect.w = windowWidth;
        rect.h = static_cast<int>(static_cast<int64_t>(windowWidth) * kScreenHeight / kScreenWidth);
    } else {
        rect.h = windowHeight;
        rect.w =
            static_cast<int>(static_cast<int64_t>(windowHeight) * kScreenWidth / kScreenHeight);
    }
    rect.x = (windowWidth - rect.w) / 2;
    rect.y = (windowHeight - rect.h) / 2;
    return rect;
}

void DrawScaledPicture(const uint16_t* picture, const ColourTable& colours, uint32_t* pixels,
                       int pitchPixels, PictureRect rect) {
    if (rect.w <= 0 || rect.h <= 0) return;
    std::vector<int> sourceColumn(static_cast<size_t>(rect.w));
    for (int x = 0; x < rect.w; ++x) {
        sourceColumn[static_cast<size_t>(x)] =
            static_cast<int>(static_cast<int64_t>(x) * kScreenWidth / rect.w);
    }
    // Each picture row is converted once into window pixels, then spread over the window's
    // columns; a picture row shown on several window rows is copied.
    std::array<uint32_t, kScreenWidth> convertedRow{};
    const uint32_t* lastOut = nullptr;
    int lastRow = -1;
    for (int y = 0; y < rect.h; ++y) {
        const int row = static_cast<int>(static_cast<int64_t>(y) * kScreenHeight / rect.h);
        uint32_t* out = pixels + static_cast<ptrdiff_t>(rect.y + y) * pitchPixels + rect.x;
        if (row == lastRow) {
            std::memcpy(out, lastOut, static_cast<size_t>(rect.w) * sizeof(uint32_t));
            continue;
        }
        const uint16_t* in = picture + static_cast<ptrdiff_t>(row) * kScreenWidth;
        if (rect.w == kScreenWidth) {  // at its own size: half the time of the general case
            for (int x = 0; x < kScreenWidth; ++x)
                out[x] = colours[in[x]];
        } else {
            for (int x = 0; x < kScreenWidth; ++x)
                convertedRow[static_cast<size_t>(x)] = colours[in[x]];
            for (int x = 0; x < rect.w; ++x) {
                out[x] = convertedRow[static_cast<size_t>(sourceColumn[static_cast<size_t>(x)])];
            }
        }
        lastOut = out;
        lastRow = row;
    }
}

}  // namespace dx
