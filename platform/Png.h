// SPDX-License-Identifier: GPL-3.0-or-later
// Writes RGB565 or RGB888 pictures as PNG files (used by the headless host, tests and tools).
#pragma once

#include <cstdint>
#include <string>

namespace dx {

// Writes an RGB565 picture of the given size as a PNG file. Returns false on failure.
bool SavePng(const std::string& path, const uint16_t* pixels, int width, int height);
// Writes 8-bit RGB triples (3 bytes a pixel, row by row) as a PNG file.
bool SavePngRgb(const std::string& path, const uint8_t* rgb, int width, int height);
// Writes 8-bit RGBA quadruples (straight alpha) as a PNG file, for the desktop icons.
bool SavePngRgba(const std::string& path, const uint8_t* rgba, int width, int height);

}  // namespace dx
