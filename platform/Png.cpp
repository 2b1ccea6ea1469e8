// SPDX-License-Identifier: GPL-3.0-or-later
// PNG writer: 8-bit RGB or RGBA, each row with the filter that suits it best, compressed with zlib.
// Files are written to a temporary name and then renamed.
#include "Png.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <zlib.h>

#include "DirectX.h"

namespace dx {

namespace {

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc ^= 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc = kCrcTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char type[5], const std::vector<uint8_t>& body) {
    PutU32(out, static_cast<uint32_t>(body.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutU32(out, Crc32(out.data() + typeAt, 4 + body.size()));
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return a;
    return pb <= pc ? b : c;
}

// Appends one row, preceded by its filter type, filtered with whichever of the five PNG filters
// gives the smallest sum of absolute differences (the usual heuristic; it lets deflate find
// the long runs of flat colour and gradients in game pictures).
void PutFilteredRow(std::vector<uint8_t>& out, const uint8_t* row, const uint8_t* above,
                    size_t rowBytes, size_t kBpp, std::vector<uint8_t>& scratch) {
    scratch.resize(5 * rowBytes);
    long best = -1;
    int bestType = 0;
    for (int type = 0; type < 5; ++type) {
        uint8_t* f = scratch.data() + static_cast<size_t>(type) * rowBytes;
        long sum = 0;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= kBpp ? row[i - kBpp] : 0;
            const int b = above != nullptr ? above[i] : 0;
            const int c = above != nullptr && i >= kBpp ? above[i - kBpp] : 0;
            int predictor = 0;
            if (type == 1) predictor = a;
            if (type == 2) predictor = b;
            if (type == 3) predictor = (a + b) / 2;
            if (type == 4) predictor = Paeth(a, b, c);
            f[i] = static_cast<uint8_t>(row[i] - predictor);
            sum += f[i] < 128 ? f[i] : 256 - f[i];
        }
        if (best < 0 || sum < best) {
            best = sum;
            bestType = type;
        }
    }
    out.push_back(static_cast<uint8_t>(bestType));
    const uint8_t* chosen = scratch.data() + static_cast<size_t>(bestType) * rowBytes;
    out.insert(out.end(), chosen, chosen + rowBytes);
}

// Writes `channels` bytes a pixel (3 RGB, 4 RGBA) as a PNG file.
bool SavePngPixels(const std::string& path, const uint8_t* rgb, int width, int height,
                   size_t channels) {
    if (rgb == nullptr || width <= 0 || height <= 0 || path.empty()) return false;
    const size_t rowBytes = static_cast<size_t>(width) * channels;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    std::vector<uint8_t> scratch;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rgb + static_cast<size_t>(y) * rowBytes;
        PutFilteredRow(raw, row, y > 0 ? row - rowBytes : nullptr, rowBytes, channels, scratch);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(width));
    PutU32(header, static_cast<uint32_t>(height));
    // 8 bits, RGB (2) or RGBA (6), deflate, no filter, no interlace
    const uint8_t colourType = channels == 4 ? 6 : 2;
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});

    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(file.data()),
                  static_cast<std::streamsize>(file.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool SavePngRgb(const std::string& path, const uint8_t* rgb, int width, int height) {
    return SavePngPixels(path, rgb, width, height, 3);
}

bool SavePngRgba(const std::string& path, const uint8_t* rgba, int width, int height) {
    return SavePngPixels(path, rgba, width, height, 4);
}

bool SavePng(const std::string& path, const uint16_t* pixels, int width, int height) {
    if (pixels == nullptr || width <= 0 || height <= 0) return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> rgb(count * 3);
    for (size_t i = 0; i < count; ++i) {
        const Rgb888 c = From565(pixels[i]);
        rgb[3 * i] = c.r;
        rgb[3 * i + 1] = c.g;
        rgb[3 * i + 2] = c.b;
    }
    return SavePngRgb(path, rgb.data(), width, height);
}

}  // namespace dx
