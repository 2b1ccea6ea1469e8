// SPDX-License-Identifier: GPL-3.0-or-later
// BMP decoding (1/4/8-bit palettised, 16/24/32-bit, bottom-up or top-down) into RGB565, with
// nearest-neighbour scaling to the size a surface asks for. Every read is bounds-checked.
#include "BmpFile.h"

#include <algorithm>

#include "DirectX.h"
#include "RegularFile.h"

namespace dx {

namespace {

constexpr int64_t kMaxSide = 1 << 16;
constexpr int64_t kMaxPixels = int64_t{1} << 26;

[[noreturn]] void Fail(const std::string& name, const std::string& reason) {
    throw PlatformError("Cannot read bitmap \"" + name + "\": " + reason);
}

// Little-endian reads that refuse to go past the end of the data.
class Reader {
  public:
    Reader(const uint8_t* data, size_t size, const std::string& name)
        : data_(data), size_(size), name_(name) {}
    uint32_t U32(size_t at) const {
        Need(at, 4);
        return uint32_t{data_[at]} | uint32_t{data_[at + 1]} << 8 | uint32_t{data_[at + 2]} << 16 |
               uint32_t{data_[at + 3]} << 24;
    }
    int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
    uint16_t U16(size_t at) const {
        Need(at, 2);
        return static_cast<uint16_t>(data_[at] | data_[at + 1] << 8);
    }
    void Need(uint64_t at, uint64_t count) const {
        if (at > size_ || count > size_ - at) Fail(name_, "the file is truncated");
    }

  private:
    const uint8_t* data_;
    size_t size_;
    const std::string& name_;
};

// One channel of a bit-field pixel, widened or narrowed to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (mask == 0) return;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        while (shift + bits < 32 && ((mask >> (shift + bits)) & 1) != 0)
            ++bits;
    }
    int Get(uint32_t pixel) const {
        if (bits == 0) return 0;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return static_cast<int>(v >> (bits - 8));
        // Replicate the bits so that full intensity stays full intensity.
        uint32_t wide = v;
        int wideBits = bits;
        while (wideBits < 8) {
            wide = (wide << bits) | v;
            wideBits += bits;
        }
        return static_cast<int>(wide >> (wideBits - 8));
    }
};

// The file's bytes: a regular file of at most kMaxPictureBytes.
std::string ReadFile(const std::string& path) {
    namespace files = zorvik::files;
    files::ReadResult file = files::ReadRegularFile(path, files::kMaxPictureBytes);
    if (!file.ok()) {
        throw PlatformError("Cannot read bitmap \"" + path +
                            "\": " + files::ReadErrorText(file.error));
    }
    return std::move(file.bytes);
}

const uint8_t* Bytes(const std::string& bytes) {
    return reinterpret_cast<const uint8_t*>(bytes.data());
}

}  // namespace

Bitmap565 DecodeBmp565Native(const uint8_t* data, size_t size, const std::string& name) {
    const Reader r(data, size, name);
    if (size < 2 || data[0] != 'B' || data[1] != 'M') Fail(name, "not a BMP file");
    const uint32_t pixelOffset = r.U32(10);
    const uint32_t infoSize = r.U32(14);

    int64_t width = 0;
    int64_t height = 0;
    int bpp = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    size_t paletteEntry = 4;
    if (infoSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
        width = r.U16(18);
        height = r.U16(20);
        bpp = r.U16(24);
        paletteEntry = 3;
    } else if (infoSize >= 40) {
        r.Need(14, infoSize);
        width = r.I32(18);
        height = r.I32(22);
        bpp = r.U16(28);
        compression = r.U32(30);
        colorsUsed = r.U32(46);
    } else {
        Fail(name, "unknown header size " + std::to_string(infoSize));
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        width * height > kMaxPixels) {
        Fail(name,
             "invalid picture size " + std::to_string(width) + " x " + std::to_string(height));
    }

    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 16-bit default is 555
    if (bpp == 32) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    size_t paletteOffset = 14 + size_t{infoSize};
    if (compression == 3 && (bpp == 16 || bpp == 32)) {
        // Bit fields follow a 40-byte header, or sit inside a longer one.
        for (int i = 0; i < 3; ++i)
            masks[i] = r.U32(54 + 4 * static_cast<size_t>(i));
        if (infoSize == 40) paletteOffset += 12;
    } else if (compression != 0) {
        Fail(name,
             "compressed bitmaps (method " + std::to_string(compression) + ") are not supported");
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        Fail(name, "unsupported colour depth of " + std::to_string(bpp) + " bits");
    }

    std::vector<uint16_t> palette;
    if (bpp <= 8) {
        const uint32_t maxColors = 1u << bpp;
        uint32_t count = colorsUsed != 0 && colorsUsed < maxColors ? colorsUsed : maxColors;
        // Writers that leave the count out still put the pixels right after the colours given.
        if (pixelOffset > paletteOffset) {
            count = static_cast<uint32_t>(
                std::min<uint64_t>(count, (pixelOffset - paletteOffset) / paletteEntry));
        }
        r.Need(paletteOffset, uint64_t{count} * paletteEntry);
        palette.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = data + paletteOffset + i * paletteEntry;
            palette[i] = To565(e[2], e[1], e[0]);
        }
    }

    const uint64_t stride = ((static_cast<uint64_t>(width) * bpp + 31) / 32) * 4;
    r.Need(pixelOffset, stride * static_cast<uint64_t>(height));

    const Channel red(masks[0]);
    const Channel green(masks[1]);
    const Channel blue(masks[2]);
    Bitmap565 out;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.resize(static_cast<size_t>(width * height));
    for (int64_t y = 0; y < height; ++y) {
        const int64_t fileRow = topDown ? y : height - 1 - y;
        const uint8_t* row = data + pixelOffset + static_cast<size_t>(fileRow) * stride;
        uint16_t* dest = out.pixels.data() + static_cast<size_t>(y * width);
        if (bpp == 24) {  // the common case gets a loop of its own
            for (int64_t x = 0; x < width; ++x) {
                const uint8_t* p = row + x * 3;
                dest[x] = To565(p[2], p[1], p[0]);
            }
            continue;
        }
        for (int64_t x = 0; x < width; ++x) {
            uint16_t value = 0;
            if (bpp <= 8) {
                const int64_t bit = x * bpp;
                const int shift = 8 - bpp - static_cast<int>(bit % 8);
                const uint32_t index = (row[bit / 8] >> shift) & ((1u << bpp) - 1);
                value = index < palette.size() ? palette[index] : 0;  // stray index: black
            } else {
                const uint8_t* p = row + x * (bpp / 8);
                uint32_t pixel = uint32_t{p[0]} | uint32_t{p[1]} << 8;
                if (bpp == 32) pixel |= uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
                value = To565(red.Get(pixel), green.Get(pixel), blue.Get(pixel));
            }
            dest[x] = value;
        }
    }
    return out;
}

std::vector<uint16_t> DecodeBmp565(const uint8_t* data, size_t size, int width, int height,
                                   const std::string& name) {
    if (width <= 0 || height <= 0) {
        Fail(name, "invalid target size " + std::to_string(width) + " x " + std::to_string(height));
    }
    Bitmap565 picture = DecodeBmp565Native(data, size, name);
    if (picture.width == width && picture.height == height) return std::move(picture.pixels);

    // Nearest neighbour, sampling the source at the centre of each target pixel.
    std::vector<uint16_t> scaled(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::vector<size_t> columns(static_cast<size_t>(width));
    for (int64_t x = 0; x < width; ++x) {
        columns[static_cast<size_t>(x)] =
            static_cast<size_t>((2 * x + 1) * picture.width / (2 * width));
    }
    for (int64_t y = 0; y < height; ++y) {
        const int64_t sy = (2 * y + 1) * picture.height / (2 * height);
        const uint16_t* in = picture.pixels.data() + static_cast<size_t>(sy * picture.width);
        uint16_t* out = scaled.data() + static_cast<size_t>(y * width);
        for (int64_t x = 0; x < width; ++x)
            out[x] = in[columns[static_cast<size_t>(x)]];
    }
    return scaled;
}

std::vector<uint16_t> LoadBmp565(const std::string& path, int width, int height) {
    const std::string bytes = ReadFile(path);
    return DecodeBmp565(Bytes(bytes), bytes.size(), width, height, path);
}

Bitmap565 LoadBmp565Native(const std::string& path) {
    const std::string bytes = ReadFile(path);
    return DecodeBmp565Native(Bytes(bytes), bytes.size(), path);
}

}  // namespace dx
