// Reading BMP pictures into RGB565 pixels of a requested size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dx {

// Decodes a BMP (uncompressed 24/32-bit, or 1/4/8-bit palettised) held in memory and scales it
// (nearest neighbour) to width x height, converting to RGB565 by dropping low bits.
// Throws PlatformError with `name` in the message when the data is not a readable BMP.
std::vector<uint16_t> DecodeBmp565(const uint8_t* data, size_t size, int width, int height,
                                   const std::string& name);
// Reads a BMP file and decodes it as above; throws PlatformError naming the file.
std::vector<uint16_t> LoadBmp565(const std::string& path, int width, int height);

}  // namespace dx
