// SPDX-License-Identifier: GPL-3.0-or-later
// Reading BMP pictures into RGB565 pixels of a requested size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dx {

// A decoded picture at its own size, RGB565 row by row from the top.
struct Bitmap565 {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
};

// Decodes a BMP (uncompressed 24/32-bit, or 1/4/8-bit palettised) held in memory and scales it
// (nearest neighbour) to width x height, converting to RGB565 by dropping low bits.
// Throws PlatformError with `name` in the message when the data is not a readable BMP.
std::vector<uint16_t> DecodeBmp565(const uint8_t* data, size_t size, int width, int height,
                                   const std::string& name);
// Reads a BMP file and decodes it as above; throws PlatformError naming the file.
std::vector<uint16_t> LoadBmp565(const std::string& path, int width, int height);
// As above without scaling: the picture at its own size (CreateSurfaceFromFile without a size).
Bitmap565 DecodeBmp565Native(const uint8_t* data, size_t size, const std::string& name);
Bitmap565 LoadBmp565Native(const std::string& path);

}  // namespace dx
