// SPDX-License-Identifier: GPL-3.0-or-later
// Surfaces as the game draws on them: blits that never clip, colour keys on raw 565 values,
// stretching, fills, lines without their end point, the primary's flip and the keyboard device.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "DirectX.h"
#include "HeadlessHost.h"

namespace dx {
namespace {

// A surface whose pixels are 1, 2, 3, ... row by row, so copies show where each pixel came from.
SurfacePtr Numbered(int width, int height) {
    auto surface = std::make_shared<DirectDrawSurface7>(width, height);
    for (int i = 0; i < width * height; ++i)
        surface->Pixels()[i] = static_cast<uint16_t>(i + 1);
    return surface;
}

std::vector<uint16_t> Contents(const DirectDrawSurface7& s) {
    return std::vector<uint16_t>(s.Pixels(), s.Pixels() + s.Width() * s.Height());
}

// Pixels of one row, for compact expectations.
std::vector<uint16_t> Row(const DirectDrawSurface7& s, int y) {
    return std::vector<uint16_t>(s.Pixels() + y * s.Width(), s.Pixels() + (y + 1) * s.Width());
}

struct BadBlt {
    const char* what;
    int32_t x;
    int32_t y;
    RECT src;
};

TEST(Surface, BltFastCopiesARectangleUnscaled) {
    auto src = Numbered(4, 3);
    DirectDrawSurface7 dest(5, 4);
    EXPECT_EQ(dest.BltFast(2, 1, src.get(), RECT{1, 1, 4, 3}, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Row(dest, 0), (std::vector<uint16_t>{0, 0, 0, 0, 0}));
    EXPECT_EQ(Row(dest, 1), (std::vector<uint16_t>{0, 0, 6, 7, 8}));
    EXPECT_EQ(Row(dest, 2), (std::vector<uint16_t>{0, 0, 10, 11, 12}));
    EXPECT_EQ(Row(dest, 3), (std::vector<uint16_t>{0, 0, 0, 0, 0}));
}

TEST(Surface, BltFastDrawsNothingUnlessBothRectanglesLieWhollyInside) {
    // Source 8 x 6, destination 10 x 8; the valid reference is a 4 x 3 copy to (6, 5).
    const BadBlt cases[] = {
        {"source left of the surface", 0, 0, RECT{-1, 0, 3, 3}},
        {"source above the surface", 0, 0, RECT{0, -1, 3, 3}},
        {"source past the right edge", 0, 0, RECT{5, 0, 9, 3}},
        {"source past the bottom edge", 0, 0, RECT{0, 4, 3, 7}},
        {"empty source (zero width)", 0, 0, RECT{2, 2, 2, 4}},
        {"empty source (zero height)", 0, 0, RECT{2, 2, 4, 2}},
        {"inverted source", 0, 0, RECT{4, 4, 2, 2}},
        {"destination left of the surface", -1, 0, RECT{0, 0, 4, 3}},
        {"destination above the surface", 0, -1, RECT{0, 0, 4, 3}},
        {"destination one past the right edge", 7, 0, RECT{0, 0, 4, 3}},
        {"destination one past the bottom edge", 0, 6, RECT{0, 0, 4, 3}},
        {"destination wholly outside", 100, 100, RECT{0, 0, 4, 3}},
        {"destination far negative", -2147483647, 0, RECT{0, 0, 4, 3}},
        {"destination end overflowing", 2147483647, 0, RECT{0, 0, 4, 3}},
    };
    auto src = Numbered(8, 6);
    for (const BadBlt& c : cases) {
        DirectDrawSurface7 dest(10, 8);
        EXPECT_EQ(dest.BltFast(c.x, c.y, src.get(), c.src, DDBLTFAST_WAIT), DDERR_INVALIDRECT)
            << c.what;
        EXPECT_EQ(Contents(dest), std::vector<uint16_t>(80, 0)) << c.what;
    }
    DirectDrawSurface7 dest(10, 8);
    EXPECT_EQ(dest.BltFast(6, 5, src.get(), RECT{4, 3, 8, 6}, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(dest.Pixel(6, 5), src->Pixel(4, 3));
    EXPECT_EQ(dest.Pixel(9, 7), src->Pixel(7, 5));
}

TEST(Surface, BltFastWithinOneSurfaceHandlesOverlap) {
    auto s = Numbered(5, 1);
    EXPECT_EQ(s->BltFast(1, 0, s.get(), RECT{0, 0, 4, 1}, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Row(*s, 0), (std::vector<uint16_t>{1, 1, 2, 3, 4}));
    EXPECT_EQ(s->BltFast(0, 0, s.get(), RECT{1, 0, 5, 1}, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Row(*s, 0), (std::vector<uint16_t>{1, 2, 3, 4, 4}));
}

TEST(Surface, ColourKeyLeavesOutRawValuesFromLowToHighInclusive) {
    auto src = std::make_shared<DirectDrawSurface7>(6, 1);
    const uint16_t values[] = {4, 5, 7, 10, 11, 0};
    std::copy(std::begin(values), std::end(values), src->Pixels());
    src->SetColorKey(DDCKEY_SRCBLT, DDCOLORKEY{5, 10});

    DirectDrawSurface7 keyed(6, 1);
    keyed.BltColorFill(RECT{0, 0, 6, 1}, 0xABCD);
    keyed.BltFast(0, 0, src.get(), RECT{0, 0, 6, 1}, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    EXPECT_EQ(Row(keyed, 0), (std::vector<uint16_t>{4, 0xABCD, 0xABCD, 0xABCD, 11, 0}));

    // Without the flag the key is ignored.
    DirectDrawSurface7 plain(6, 1);
    plain.BltColorFill(RECT{0, 0, 6, 1}, 0xABCD);
    plain.BltFast(0, 0, src.get(), RECT{0, 0, 6, 1}, DDBLTFAST_WAIT);
    EXPECT_EQ(Row(plain, 0), (std::vector<uint16_t>(std::begin(values), std::end(values))));
}

TEST(Surface, KeyZeroMakesEveryColourThatQuantisesToBlackTransparent) {
    EXPECT_EQ(To565(7, 3, 7), 0);
    EXPECT_EQ(To565(8, 4, 8), 0x0821);
    auto src = std::make_shared<DirectDrawSurface7>(3, 1);
    src->Pixels()[0] = To565(7, 3, 7);
    src->Pixels()[1] = To565(8, 4, 8);
    src->Pixels()[2] = To565(0, 0, 0);
    src->SetColorKey(DDCKEY_SRCBLT, DDCOLORKEY{0, 0});
    DirectDrawSurface7 dest(3, 1);
    dest.BltColorFill(RECT{0, 0, 3, 1}, 0x1234);
    dest.BltFast(0, 0, src.get(), RECT{0, 0, 3, 1}, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
    EXPECT_EQ(Row(dest, 0), (std::vector<uint16_t>{0x1234, 0x0821, 0x1234}));
}

TEST(Surface, BltStretchesByNearestNeighbour) {
    auto src = Numbered(2, 2);  // 1 2 / 3 4
    DirectDrawSurface7 big(4, 4);
    EXPECT_EQ(big.Blt(RECT{0, 0, 4, 4}, src.get(), RECT{0, 0, 2, 2}, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(Row(big, 0), (std::vector<uint16_t>{1, 1, 2, 2}));
    EXPECT_EQ(Row(big, 1), (std::vector<uint16_t>{1, 1, 2, 2}));
    EXPECT_EQ(Row(big, 2), (std::vector<uint16_t>{3, 3, 4, 4}));
    EXPECT_EQ(Row(big, 3), (std::vector<uint16_t>{3, 3, 4, 4}));

    auto wide = Numbered(4, 1);  // 1 2 3 4 shrunk to two pixels, then into a sub-rectangle
    DirectDrawSurface7 small(4, 1);
    EXPECT_EQ(small.Blt(RECT{1, 0, 3, 1}, wide.get(), RECT{0, 0, 4, 1}, DDBLT_WAIT), DD_OK);
    EXPECT_EQ(small.Pixel(0, 0), 0);
    EXPECT_EQ(small.Pixel(3, 0), 0);
    EXPECT_NE(small.Pixel(1, 0), small.Pixel(2, 0));
    EXPECT_TRUE(small.Pixel(1, 0) == 1 || small.Pixel(1, 0) == 2);
    EXPECT_TRUE(small.Pixel(2, 0) == 3 || small.Pixel(2, 0) == 4);

    // Same size is an exact copy.
    auto picture = Numbered(5, 3);
    DirectDrawSurface7 copy(5, 3);
    copy.Blt(RECT{0, 0, 5, 3}, picture.get(), RECT{0, 0, 5, 3}, DDBLT_WAIT);
    EXPECT_EQ(Contents(copy), Contents(*picture));
}

TEST(Surface, BltAndColorFillDrawNothingOutsideOrEmpty) {
    auto src = Numbered(4, 4);
    const RECT bad[] = {{-1, 0, 4, 4}, {0, 0, 5, 4}, {0, 0, 4, 5}, {2, 2, 2, 4}, {3, 3, 1, 1}};
    for (const RECT& r : bad) {
        DirectDrawSurface7 dest(4, 4);
        EXPECT_EQ(dest.Blt(r, src.get(), RECT{0, 0, 4, 4}, DDBLT_WAIT), DDERR_INVALIDRECT);
        EXPECT_EQ(dest.Blt(RECT{0, 0, 4, 4}, src.get(), r, DDBLT_WAIT), DDERR_INVALIDRECT);
        EXPECT_EQ(dest.BltColorFill(r, 0x7777), DDERR_INVALIDRECT);
        EXPECT_EQ(Contents(dest), std::vector<uint16_t>(16, 0));
    }
}

TEST(Surface, BltColorFillWritesTheRaw565Value) {
    DirectDrawSurface7 s(4, 3);
    EXPECT_EQ(s.BltColorFill(RECT{1, 1, 3, 3}, 0xF81F), DD_OK);
    EXPECT_EQ(Row(s, 0), (std::vector<uint16_t>{0, 0, 0, 0}));
    EXPECT_EQ(Row(s, 1), (std::vector<uint16_t>{0, 0xF81F, 0xF81F, 0}));
    EXPECT_EQ(Row(s, 2), (std::vector<uint16_t>{0, 0xF81F, 0xF81F, 0}));
}

TEST(Surface, DrawLineLeavesOutTheEndPoint) {
    struct Line {
        int32_t x1, y1, x2, y2;
        std::vector<std::pair<int, int>> drawn;
    };
    const Line lines[] = {
        {1, 2, 5, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}}},
        {5, 2, 1, 2, {{5, 2}, {4, 2}, {3, 2}, {2, 2}}},
        {3, 0, 3, 3, {{3, 0}, {3, 1}, {3, 2}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}}},
        {4, 4, 4, 4, {}},                         // zero length draws nothing
        {-2, 1, 3, 1, {{0, 1}, {1, 1}, {2, 1}}},  // off-surface pixels are skipped
        {6, 6, 9, 6, {}},                         // wholly outside
    };
    for (const Line& l : lines) {
        DirectDrawSurface7 s(7, 6);
        s.SetForeColor(RGB(255, 0, 255));
        s.DrawLine(l.x1, l.y1, l.x2, l.y2);
        std::vector<uint16_t> expected(42, 0);
        for (auto [x, y] : l.drawn)
            expected[y * 7 + x] = 0xF81F;
        EXPECT_EQ(Contents(s), expected)
            << "line " << l.x1 << "," << l.y1 << " to " << l.x2 << "," << l.y2;
    }
}

TEST(Surface, DrawLineSteepAndShallowSlopesAreConnected) {
    DirectDrawSurface7 s(20, 20);
    s.SetForeColor(RGB(255, 255, 255));
    s.DrawLine(0, 0, 10, 3);
    int count = 0;
    for (int x = 0; x < 20; ++x) {
        int inColumn = 0;
        for (int y = 0; y < 20; ++y)
            inColumn += s.Pixel(x, y) == 0xFFFF ? 1 : 0;
        EXPECT_EQ(inColumn, x < 10 ? 1 : 0) << "column " << x;
        count += inColumn;
    }
    EXPECT_EQ(count, 10);
    EXPECT_EQ(s.Pixel(0, 0), 0xFFFF);
    EXPECT_EQ(s.Pixel(10, 3), 0);
}

TEST(Surface, SetForeColorConvertsAnRgbValueTo565) {
    DirectDrawSurface7 s(1, 1);
    s.SetForeColor(RGB(255, 0, 255));
    EXPECT_EQ(s.ForeColor565(), 0xF81F);
    s.SetForeColor(RGB(150, 90, 0));
    EXPECT_EQ(s.ForeColor565(), To565(150, 90, 0));
    s.SetForeColor(RGB(7, 3, 7));
    EXPECT_EQ(s.ForeColor565(), 0);
}

class PrimaryTest : public ::testing::Test {
  protected:
    PrimaryTest() { SetHost(&host); }

    SurfacePtr CreatePrimary() {
        DDSURFACEDESC2 desc;
        desc.lFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.lBackBufferCount = 1;
        desc.ddsCaps.lCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
        return directDraw->CreateSurface(desc);
    }

    HeadlessHost host{"/nonexistent"};
    DirectX7 root;
    std::shared_ptr<DirectDraw7> directDraw = root.DirectDrawCreate("");
};

TEST_F(PrimaryTest, FlipExchangesPrimaryAndBackBufferAndShowsTheNewPrimary) {
    auto primary = CreatePrimary();
    auto back = primary->GetAttachedSurface(DDSCAPS2{DDSCAPS_BACKBUFFER});
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(primary->Width(), kScreenWidth);
    EXPECT_EQ(back->Height(), kScreenHeight);
    EXPECT_EQ(primary->GetAttachedSurface(DDSCAPS2{DDSCAPS_BACKBUFFER}), back);

    const RECT all{0, 0, kScreenWidth, kScreenHeight};
    back->BltColorFill(all, 0x1111);
    primary->BltColorFill(all, 0x2222);
    back->BltColorFill(RECT{10, 20, 11, 21}, 0x3333);
    primary->Flip(nullptr, DDFLIP_WAIT);

    EXPECT_EQ(primary->Pixel(0, 0), 0x1111);
    EXPECT_EQ(primary->Pixel(10, 20), 0x3333);
    EXPECT_EQ(back->Pixel(0, 0), 0x2222);
    EXPECT_EQ(back->Pixel(10, 20), 0x2222);
    EXPECT_EQ(host.Screen()[20 * kScreenWidth + 10], 0x3333);
    EXPECT_EQ(host.Frames(), 1);

    primary->Flip(nullptr, DDFLIP_WAIT);
    EXPECT_EQ(primary->Pixel(0, 0), 0x2222);
    EXPECT_EQ(host.Screen()[0], 0x2222);
    EXPECT_EQ(host.Frames(), 2);
}

TEST_F(PrimaryTest, FlipAndAttachedSurfaceBelongToThePrimaryOnly) {
    DDSURFACEDESC2 desc;
    desc.lFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.lWidth = 16;
    desc.lHeight = 8;
    desc.ddsCaps.lCaps = DDSCAPS_OFFSCREENPLAIN;
    auto plain = directDraw->CreateSurface(desc);
    EXPECT_EQ(plain->Width(), 16);
    EXPECT_EQ(plain->Height(), 8);
    EXPECT_THROW(plain->Flip(nullptr, DDFLIP_WAIT), PlatformError);
    EXPECT_THROW(plain->GetAttachedSurface(DDSCAPS2{DDSCAPS_BACKBUFFER}), PlatformError);

    desc.lWidth = 0;
    EXPECT_THROW(directDraw->CreateSurface(desc), PlatformError);
    desc.lFlags = DDSD_CAPS;
    desc.lWidth = 16;
    EXPECT_THROW(directDraw->CreateSurface(desc), PlatformError);
}

TEST_F(PrimaryTest, DrawingOnThePrimaryShowsAtTheNextKeyboardRead) {
    auto primary = CreatePrimary();
    auto keyboard = root.DirectInputCreate()->CreateDevice("GUID_SysKeyboard");
    keyboard->SetCommonDataFormat(DIFORMAT_KEYBOARD);
    keyboard->SetCooperativeLevel(kGameWindow, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND);
    keyboard->Acquire();
    DIKEYBOARDSTATE keys;
    keyboard->GetDeviceStateKeyboard(keys);

    primary->BltColorFill(RECT{0, 0, kScreenWidth, kScreenHeight}, 0x4444);
    EXPECT_EQ(host.Screen()[0], 0);  // not shown before the read
    keyboard->GetDeviceStateKeyboard(keys);
    EXPECT_EQ(host.Screen()[0], 0x4444);
    EXPECT_EQ(host.Frames(), 0);  // shown without a flip
}

TEST_F(PrimaryTest, KeyboardReportsScriptedKeysAndMustBeAcquired) {
    auto keyboard = root.DirectInputCreate()->CreateDevice("GUID_SysKeyboard");
    DIKEYBOARDSTATE keys;
    EXPECT_THROW(keyboard->GetDeviceStateKeyboard(keys), PlatformError);
    keyboard->Acquire();
    host.SetKey(57, true);
    host.SetKey(205, true);
    keyboard->GetDeviceStateKeyboard(keys);
    for (int dik = 0; dik < 256; ++dik) {
        EXPECT_EQ(keys.key[dik], dik == 57 || dik == 205 ? 0x80 : 0) << "key " << dik;
    }
    host.SetKey(57, false);
    keyboard->GetDeviceStateKeyboard(keys);
    EXPECT_EQ(keys.key[57], 0);
    keyboard->Unacquire();
    EXPECT_THROW(keyboard->GetDeviceStateKeyboard(keys), PlatformError);
    EXPECT_THROW(root.DirectInputCreate()->CreateDevice("GUID_SysMouse"), PlatformError);
}

TEST_F(PrimaryTest, SurfaceFromFileIsScaledToTheRequestedSize) {
    // A 2 x 2 24-bit bottom-up bitmap: top row red, green; bottom row blue, white.
    std::vector<uint8_t> bmp = {'B', 'M', 70, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0,  // file header
                                40,  0,   0,  0, 2, 0, 0, 0, 2,  0, 0,  0,        // size, 2 x 2
                                1,   0,   24, 0, 0, 0, 0, 0, 16, 0, 0,  0,        // 24-bit, plain
                                0,   0,   0,  0, 0, 0, 0, 0, 0,  0, 0,  0, 0, 0, 0, 0};
    const uint8_t rows[] = {255, 0, 0,   255, 255, 255, 0, 0,   // bottom: blue, white, padding
                            0,   0, 255, 0,   255, 0,   0, 0};  // top: red, green, padding
    bmp.resize(70);
    std::copy(std::begin(rows), std::end(rows), bmp.begin() + 54);
    const auto path = std::filesystem::temp_directory_path() /
                      ("surface-test-" + std::to_string(::getpid()) + ".bmp");
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bmp.data()),
                  static_cast<std::streamsize>(bmp.size()));
    }
    DDSURFACEDESC2 desc;
    desc.lFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.lCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.lWidth = 4;
    desc.lHeight = 6;
    auto surface = directDraw->CreateSurfaceFromFile(path.string(), desc);
    std::filesystem::remove(path);
    ASSERT_EQ(surface->Width(), 4);
    ASSERT_EQ(surface->Height(), 6);
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(Row(*surface, y), y < 3 ? (std::vector<uint16_t>{0xF800, 0xF800, 0x07E0, 0x07E0})
                                          : (std::vector<uint16_t>{0x001F, 0x001F, 0xFFFF, 0xFFFF}))
            << "row " << y;
    }

    try {
        directDraw->CreateSurfaceFromFile("/nonexistent/data/007.dat", desc);
        FAIL() << "a missing file must throw";
    } catch (const PlatformError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/data/007.dat"), std::string::npos);
    }
}

}  // namespace
}  // namespace dx
