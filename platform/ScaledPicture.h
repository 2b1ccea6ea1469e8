// SPDX-License-Identifier: GPL-3.0-or-later
// The game's 640 x 480 picture drawn straight into a window's own 32-bit pixels, scaled and
// letterboxed as SDL's renderer would show it. Used where OpenGL is drawn by the processor:
// there this is several times cheaper than handing the picture to OpenGL.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "DirectX.h"

namespace dx {

struct PictureRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

// Where the picture goes in a window of the given size: scaled by the smaller of the two ratios
// (aspect kept), centred between black bars.
PictureRect LetterboxRect(int windowWidth, int windowHeight);

// The window's pixel for each RGB565 colour.
using ColourTable = std::array<uint32_t, 65536>;

// Fills the table through mapRgb(r, g, b), each colour widened to 8 bits a channel (From565).
template <typename MapRgb>
void FillColourTable(ColourTable& table, MapRgb mapRgb) {
    for (size_t c = 0; c < table.size(); ++c) {
        const Rgb888 rgb = From565(static_cast<uint16_t>(c));
        table[c] = mapRgb(rgb.r, rgb.g, rgb.b);
    }
}

// Draws the picture (640 x 480, RGB565) into rect of a 32-bit image whose rows are pitchPixels
// apart, each window pixel taking the picture pixel it falls on (nearest neighbour).
void DrawScaledPicture(const uint16_t* picture, const ColourTable& colours, uint32_t* pixels,
                       int pitchPixels, PictureRect rect);

}  // namespace dx
