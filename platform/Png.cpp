// PNG writer without external libraries: 8-bit RGB, the image data kept in stored (uncompressed)
// deflate blocks inside a zlib stream. Files are written to a temporary name and then renamed.
#include "Png.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <vector>

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

uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
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

// A zlib stream of stored blocks (at most 65535 bytes each) followed by the Adler-32 sum.
std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t len = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + len == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(len));
        z.push_back(static_cast<uint8_t>(len >> 8));
        z.push_back(static_cast<uint8_t>(~len));
        z.push_back(static_cast<uint8_t>(~len >> 8));
        z.insert(z.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                 raw.begin() + static_cast<ptrdiff_t>(at + len));
        at += len;
    } while (at < raw.size());
    PutU32(z, Adler32(raw));
    return z;
}

}  // namespace

bool SavePngRgb(const std::string& path, const uint8_t* rgb, int width, int height) {
    if (rgb == nullptr || width <= 0 || height <= 0 || path.empty()) return false;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        const uint8_t* row = rgb + static_cast<size_t>(y) * rowBytes;
        raw.insert(raw.end(), row, row + rowBytes);
    }

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(width));
    PutU32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", ZlibStored(raw));
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

bool SavePng(const std::string& path, const uint16_t* pixels, int width, int height) {
    if (pixels == nullptr || width <= 0 || height <= 0) return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> rgb(count * 3);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t p = pixels[i];
        const int r = (p >> 11) & 0x1F;
        const int g = (p >> 5) & 0x3F;
        const int b = p & 0x1F;
        // Bit replication maps 0 to 0 and full intensity to 255.
        rgb[3 * i] = static_cast<uint8_t>((r << 3) | (r >> 2));
        rgb[3 * i + 1] = static_cast<uint8_t>((g << 2) | (g >> 4));
        rgb[3 * i + 2] = static_cast<uint8_t>((b << 3) | (b >> 2));
    }
    return SavePngRgb(path, rgb.data(), width, height);
}

}  // namespace dx
