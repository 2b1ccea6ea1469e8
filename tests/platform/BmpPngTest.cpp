// SPDX-License-Identifier: GPL-3.0-or-later
// Reading BMP files of every depth the loader accepts (and refusing damaged ones without reading
// past their end), and PNG output checked by decoding the written file again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>
#include <zlib.h>

#include "BmpFile.h"
#include "DirectX.h"
#include "HeadlessHost.h"
#include "Png.h"

namespace dx {
namespace {

struct Rgb {
    uint8_t r, g, b;
};

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// Builds a BMP with a 40-byte header. `rows` holds the packed bits of each picture row from
// the top; they are written bottom-up unless topDown, each padded to four bytes.
std::vector<uint8_t> MakeBmp(int width, int height, int bpp, const std::vector<Rgb>& palette,
                             const std::vector<std::vector<uint8_t>>& rows, bool topDown = false,
                             uint32_t compression = 0, const std::vector<uint32_t>& masks = {}) {
    const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    const size_t paletteOffset = 54 + masks.size() * 4;
    const size_t pixelOffset = paletteOffset + palette.size() * 4;
    std::vector<uint8_t> v(pixelOffset + stride * static_cast<size_t>(height), 0);
    v[0] = 'B';
    v[1] = 'M';
    Put32(v, 2, static_cast<uint32_t>(v.size()));
    Put32(v, 10, static_cast<uint32_t>(pixelOffset));
    Put32(v, 14, 40);
    Put32(v, 18, static_cast<uint32_t>(width));
    Put32(v, 22, static_cast<uint32_t>(topDown ? -height : height));
    Put16(v, 26, 1);
    Put16(v, 28, static_cast<uint32_t>(bpp));
    Put32(v, 30, compression);
    Put32(v, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < masks.size(); ++i)
        Put32(v, 54 + 4 * i, masks[i]);
    for (size_t i = 0; i < palette.size(); ++i) {
        v[paletteOffset + 4 * i] = palette[i].b;
        v[paletteOffset + 4 * i + 1] = palette[i].g;
        v[paletteOffset + 4 * i + 2] = palette[i].r;
    }
    for (int y = 0; y < height; ++y) {
        const int fileRow = topDown ? y : height - 1 - y;
        std::memcpy(&v[pixelOffset + static_cast<size_t>(fileRow) * stride], rows[y].data(),
                    std::min(rows[y].size(), stride));
    }
    return v;
}

std::vector<uint16_t> Decode(const std::vector<uint8_t>& bmp, int width, int height) {
    return DecodeBmp565(bmp.data(), bmp.size(), width, height, "test.bmp");
}

// 2 x 2, top row red and (7,3,7), bottom row (8,4,8) and white.
std::vector<uint8_t> Bmp24() {
    return MakeBmp(2, 2, 24, {}, {{0, 0, 255, 7, 3, 7}, {8, 4, 8, 255, 255, 255}});
}

TEST(BmpFile, DecodesEveryDepthTruncatingTo565) {
    const std::vector<uint16_t> expected = {0xF800, 0x0000, 0x0821, 0xFFFF};
    EXPECT_EQ(Decode(Bmp24(), 2, 2), expected);

    const auto top32 =
        MakeBmp(2, 2, 32, {}, {{0, 0, 255, 0, 7, 3, 7, 0}, {8, 4, 8, 0, 255, 255, 255, 0}},
                /*topDown=*/true);
    EXPECT_EQ(Decode(top32, 2, 2), expected);

    const std::vector<Rgb> palette = {{255, 0, 0}, {7, 3, 7}, {8, 4, 8}, {255, 255, 255}};
    EXPECT_EQ(Decode(MakeBmp(2, 2, 8, palette, {{0, 1}, {2, 3}}), 2, 2), expected);
    EXPECT_EQ(Decode(MakeBmp(2, 2, 4, palette, {{0x01}, {0x23}}), 2, 2), expected);

    const std::vector<Rgb> mono = {{0, 0, 0}, {255, 255, 255}};
    EXPECT_EQ(Decode(MakeBmp(10, 1, 1, mono, {{0b10100000, 0b01000000}}), 10, 1),
              (std::vector<uint16_t>{0xFFFF, 0, 0xFFFF, 0, 0, 0, 0, 0, 0, 0xFFFF}));

    // The old 12-byte header: 16-bit sizes and 3-byte palette entries.
    std::vector<uint8_t> core(26 + 4 * 3 + 2 * 4, 0);
    core[0] = 'B';
    core[1] = 'M';
    Put32(core, 10, 26 + 4 * 3);
    Put32(core, 14, 12);
    Put16(core, 18, 2);
    Put16(core, 20, 2);
    Put16(core, 22, 1);
    Put16(core, 24, 8);
    const uint8_t corePalette[] = {0, 0, 255, 7, 3, 7, 8, 4, 8, 255, 255, 255};  // B, G, R
    std::copy(std::begin(corePalette), std::end(corePalette), core.begin() + 26);
    const uint8_t coreRows[] = {2, 3, 0, 0, 0, 1, 0, 0};  // bottom row first
    std::copy(std::begin(coreRows), std::end(coreRows), core.begin() + 38);
    EXPECT_EQ(Decode(core, 2, 2), expected);

    // 16-bit: 555 by default, or the given bit fields (here 565 itself).
    EXPECT_EQ(Decode(MakeBmp(2, 1, 16, {}, {{0x00, 0x7C, 0xFF, 0x7F}}), 2, 1),
              (std::vector<uint16_t>{0xF800, 0xFFFF}));
    EXPECT_EQ(Decode(MakeBmp(2, 1, 16, {}, {{0x21, 0x08, 0x1F, 0xF8}}, false, 3,
                             {0xF800, 0x07E0, 0x001F}),
                     2, 1),
              (std::vector<uint16_t>{0x0821, 0xF81F}));
}

TEST(BmpFile, StretchesToTheRequestedSize) {
    EXPECT_EQ(Decode(Bmp24(), 4, 2),
              (std::vector<uint16_t>{0xF800, 0xF800, 0, 0, 0x0821, 0x0821, 0xFFFF, 0xFFFF}));
    // One column samples the picture's centre, which falls on its right-hand column.
    EXPECT_EQ(Decode(Bmp24(), 1, 3), (std::vector<uint16_t>{0x0000, 0xFFFF, 0xFFFF}));
    const auto wide =
        MakeBmp(6, 1, 8, {{10 << 3, 0, 0}, {20 << 3, 0, 0}, {30 << 3, 0, 0}}, {{0, 0, 1, 1, 2, 2}});
    const auto half = Decode(wide, 3, 1);
    EXPECT_EQ(half, (std::vector<uint16_t>{10 << 11, 20 << 11, 30 << 11}));
}

TEST(BmpFile, RefusesDamagedFilesNamingThemAndNeverReadsPastTheEnd) {
    const std::vector<uint8_t> good = Bmp24();
    std::vector<std::pair<std::string, std::vector<uint8_t>>> bad = {
        {"empty", {}},
        {"not a bitmap", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    auto patched = [&](const char* what, size_t at, uint32_t value, bool wide) {
        auto v = good;
        wide ? Put32(v, at, value) : Put16(v, at, value);
        bad.emplace_back(what, v);
    };
    patched("pixel data offset past the end", 10, 1000, true);
    patched("header size unknown", 14, 20, true);
    patched("header size past the end", 14, 100000, true);
    patched("zero width", 18, 0, true);
    patched("negative width", 18, 0xFFFFFFFF, true);
    patched("huge width", 18, 1u << 30, true);
    patched("huge height", 22, 0x80000000u, true);
    patched("run-length compression", 30, 1, true);
    patched("unsupported depth", 28, 12, false);
    patched("zero depth", 28, 0, false);
    // A palette that claims more colours than the file holds (the pixels overlapping it).
    auto palettised = MakeBmp(2, 2, 8, {{1, 2, 3}}, {{0, 0}, {0, 0}});
    Put32(palettised, 46, 200);
    Put32(palettised, 10, 54);
    palettised.resize(70);
    bad.emplace_back("palette past the end", palettised);

    for (const auto& [what, bytes] : bad) {
        try {
            DecodeBmp565(bytes.data(), bytes.size(), 4, 4, "data/001.dat");
            ADD_FAILURE() << what << ": accepted";
        } catch (const PlatformError& e) {
            EXPECT_NE(std::string(e.what()).find("data/001.dat"), std::string::npos) << what;
        }
    }

    // Every truncation of a valid file is refused; run under AddressSanitizer this also shows
    // that no byte past the end is read (each prefix lives in a buffer of exactly its size).
    for (size_t size = 0; size < good.size(); ++size) {
        std::vector<uint8_t> prefix(good.begin(), good.begin() + static_cast<ptrdiff_t>(size));
        EXPECT_THROW(DecodeBmp565(prefix.data(), prefix.size(), 2, 2, "cut.bmp"), PlatformError)
            << "size " << size;
    }

    // A palette index beyond the colours present reads as black instead of past the palette.
    EXPECT_EQ(Decode(MakeBmp(2, 1, 8, {{255, 255, 255}}, {{0, 9}}), 2, 1),
              (std::vector<uint16_t>{0xFFFF, 0}));
    EXPECT_THROW(Decode(Bmp24(), 0, 2), PlatformError);
    EXPECT_THROW(LoadBmp565("/nonexistent/file.bmp", 2, 2), PlatformError);
}

TEST(BmpFile, RandomlyDamagedHeadersEitherDecodeOrThrow) {
    // Byte flips in the headers of files of every depth; under the sanitizers this checks that
    // no damage leads to a read outside the data.
    const std::vector<Rgb> palette = {{1, 2, 3}, {4, 5, 6}};
    const std::vector<std::vector<uint8_t>> originals = {
        Bmp24(),
        MakeBmp(3, 2, 8, palette, {{0, 1, 0}, {1, 0, 1}}),
        MakeBmp(3, 2, 4, palette, {{0x01, 0x10}, {0x10, 0x01}}),
        MakeBmp(9, 2, 1, palette, {{0xAA, 0x80}, {0x55, 0x00}}),
        MakeBmp(2, 2, 32, {}, {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}}, true),
        MakeBmp(2, 1, 16, {}, {{1, 2, 3, 4}}, false, 3, {0xF800, 0x07E0, 0x001F}),
    };
    std::mt19937 random(2024);
    int decoded = 0;
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = originals[round % originals.size()];
        const int flips = 1 + static_cast<int>(random() % 3);
        for (int f = 0; f < flips; ++f) {
            const size_t at = random() % std::min<size_t>(bytes.size(), 70);
            bytes[at] = static_cast<uint8_t>(random());
        }
        try {
            const auto pixels = DecodeBmp565(bytes.data(), bytes.size(), 3, 3, "fuzz.bmp");
            EXPECT_EQ(pixels.size(), 9u);
            ++decoded;
        } catch (const PlatformError&) {
            ++refused;
        }
    }
    EXPECT_GT(decoded, 0);
    EXPECT_GT(refused, 0);
}

// ---- PNG ------------------------------------------------------------------------------------

uint32_t Be32(const std::vector<uint8_t>& v, size_t at) {
    return uint32_t{v[at]} << 24 | uint32_t{v[at + 1]} << 16 | uint32_t{v[at + 2]} << 8 | v[at + 3];
}

// Bitwise CRC-32, independent of the writer's table.
uint32_t SlowCrc(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

struct DecodedPng {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;
};

// Reads back what the writer produces: checks the signature and every chunk's CRC, inflates the
// image data with zlib (which checks the stream and its Adler-32 sum), undoes the row filters
// and returns the RGB pixels.
DecodedPng ReadPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    DecodedPng png;
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_GE(file.size(), 8u);
    if (file.size() < 8 || std::memcmp(file.data(), signature, 8) != 0) {
        ADD_FAILURE() << "bad signature";
        return png;
    }
    std::vector<uint8_t> zlib;
    std::vector<std::string> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = Be32(file, at);
        if (at + 12 + length > file.size()) break;
        const std::string type(file.begin() + static_cast<ptrdiff_t>(at + 4),
                               file.begin() + static_cast<ptrdiff_t>(at + 8));
        EXPECT_EQ(Be32(file, at + 8 + length), SlowCrc(&file[at + 4], 4 + length)) << type;
        chunks.push_back(type);
        if (type == "IHDR") {
            png.width = Be32(file, at + 8);
            png.height = Be32(file, at + 12);
            EXPECT_EQ(file[at + 16], 8);  // bit depth
            EXPECT_EQ(file[at + 17], 2);  // RGB
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), file.begin() + static_cast<ptrdiff_t>(at + 8),
                        file.begin() + static_cast<ptrdiff_t>(at + 8 + length));
        }
        at += 12 + length;
    }
    EXPECT_EQ(at, file.size());
    EXPECT_EQ(chunks.front(), "IHDR");
    EXPECT_EQ(chunks.back(), "IEND");

    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0) << "zlib header check";
    const size_t rowBytes = png.width * 3;
    // zlib checks the stream's structure and its Adler-32 sum; one byte of room more than the
    // rows need shows up as a size mismatch if the stream holds too much.
    std::vector<uint8_t> raw((rowBytes + 1) * png.height + 1);
    uLongf rawSize = static_cast<uLongf>(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &rawSize, zlib.data(), static_cast<uLong>(zlib.size())), Z_OK);
    EXPECT_EQ(rawSize, (rowBytes + 1) * png.height);
    raw.resize(rawSize);

    // Undo each row's filter (None, Sub, Up, Average, Paeth).
    std::vector<uint8_t> above(rowBytes, 0);
    for (uint32_t y = 0; y < png.height && (y + 1) * (rowBytes + 1) <= raw.size(); ++y) {
        const uint8_t filter = raw[y * (rowBytes + 1)];
        EXPECT_LE(filter, 4) << "filter of row " << y;
        std::vector<uint8_t> row(raw.begin() + static_cast<ptrdiff_t>(y * (rowBytes + 1) + 1),
                                 raw.begin() + static_cast<ptrdiff_t>((y + 1) * (rowBytes + 1)));
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 3 ? row[i - 3] : 0;
            const int b = above[i];
            const int c = i >= 3 ? above[i - 3] : 0;
            int predictor = 0;
            if (filter == 1) predictor = a;
            if (filter == 2) predictor = b;
            if (filter == 3) predictor = (a + b) / 2;
            if (filter == 4) {
                const int p = a + b - c;
                const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                predictor = pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
            }
            row[i] = static_cast<uint8_t>(row[i] + predictor);
        }
        png.rgb.insert(png.rgb.end(), row.begin(), row.end());
        above = row;
    }
    return png;
}

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("platform-test-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

TEST(Png, WritesA565PictureThatDecodesToTheExpandedColours) {
    const uint16_t pixels[] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x0821};
    const std::string path = TempFile("small.png");
    ASSERT_TRUE(SavePng(path, pixels, 3, 2));
    const DecodedPng png = ReadPng(path);
    std::filesystem::remove(path);
    EXPECT_EQ(png.width, 3u);
    EXPECT_EQ(png.height, 2u);
    EXPECT_EQ(png.rgb, (std::vector<uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255,  //
                                             255, 255, 255, 0, 0, 0, 8, 4, 8}));
}

TEST(Png, AFullScreenFrameFromTheFlipHookDecodesExactly) {
    HeadlessHost host("/nonexistent");
    SetHost(&host);
    DirectX7 root;
    DDSURFACEDESC2 desc;
    desc.lFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.lBackBufferCount = 1;
    desc.ddsCaps.lCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    auto primary = root.DirectDrawCreate("")->CreateSurface(desc);
    auto back = primary->GetAttachedSurface(DDSCAPS2{DDSCAPS_BACKBUFFER});
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            back->Pixels()[y * kScreenWidth + x] = static_cast<uint16_t>(x * 97 + y * 31);
        }
    }
    const std::string path = TempFile("frame.png");
    bool saved = false;
    host.onFlip = [&](HeadlessHost& h, const uint16_t*) { saved = h.SaveScreenPng(path); };
    primary->Flip(nullptr, DDFLIP_WAIT);
    ASSERT_TRUE(saved);
    const DecodedPng png = ReadPng(path);
    // Compressed: well under the 900 KiB of the raw rows.
    EXPECT_LT(std::filesystem::file_size(path), 640u * 480 * 3 / 2);
    std::filesystem::remove(path);
    ASSERT_EQ(png.width, 640u);
    ASSERT_EQ(png.height, 480u);
    ASSERT_EQ(png.rgb.size(), 640u * 480 * 3);
    int wrong = 0;
    for (int i = 0; i < 640 * 480; ++i) {
        const uint16_t p = primary->Pixels()[i];
        const int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
        wrong += png.rgb[3 * i] != ((r << 3) | (r >> 2)) ? 1 : 0;
        wrong += png.rgb[3 * i + 1] != ((g << 2) | (g >> 4)) ? 1 : 0;
        wrong += png.rgb[3 * i + 2] != ((b << 3) | (b >> 2)) ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(Png, ReportsFailureAndLeavesNoTemporaryFile) {
    const uint16_t pixel = 0;
    EXPECT_FALSE(SavePng("/nonexistent/folder/out.png", &pixel, 1, 1));
    EXPECT_FALSE(std::filesystem::exists("/nonexistent/folder/out.png.tmp"));
    EXPECT_FALSE(SavePng(TempFile("empty.png"), &pixel, 0, 1));
    EXPECT_FALSE(std::filesystem::exists(TempFile("empty.png")));
}

}  // namespace
}  // namespace dx
