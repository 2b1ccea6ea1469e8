// SPDX-License-Identifier: GPL-3.0-or-later
// The picture scaled into a window's own pixels: letterboxed as SDL's renderer shows it, every
// picture pixel shown, none twisted, the bars left alone, colours widened to full intensity.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "DirectX.h"
#include "ScaledPicture.h"

namespace dx {
namespace {

TEST(ScaledPicture, TheLetterboxKeepsTheAspectAndCentresThePicture) {
    struct Case {
        int width, height, x, y, w, h;
    };
    for (const Case& c : {Case{640, 480, 0, 0, 640, 480}, Case{1920, 1080, 240, 0, 1440, 1080},
                          Case{3840, 2160, 480, 0, 2880, 2160}, Case{1024, 768, 0, 0, 1024, 768},
                          Case{800, 1000, 0, 200, 800, 600}, Case{641, 480, 0, 0, 640, 480}}) {
        const PictureRect rect = LetterboxRect(c.width, c.height);
        EXPECT_EQ(rect.x, c.x) << c.width << " x " << c.height;
        EXPECT_EQ(rect.y, c.y) << c.width << " x " << c.height;
        EXPECT_EQ(rect.w, c.w) << c.width << " x " << c.height;
        EXPECT_EQ(rect.h, c.h) << c.width << " x " << c.height;
    }
}

TEST(ScaledPicture, ColoursAreWidenedToFullIntensity) {
    auto table = std::make_unique<ColourTable>();
    FillColourTable(*table, [](uint8_t r, uint8_t g, uint8_t b) {
        return static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b;
    });
    EXPECT_EQ((*table)[0xFFFF], 0xFFFFFFu);
    EXPECT_EQ((*table)[0x0000], 0x000000u);
    EXPECT_EQ((*table)[0xF800], 0xFF0000u);
    EXPECT_EQ((*table)[0x001F], 0x0000FFu);
    EXPECT_EQ((*table)[0x0400], 0x008200u);  // green 32 of 63: 130 of 255
}

// Draws a picture whose pixels carry their own column (or row) into a window of the given size
// and checks each window row (or column) of the letterbox: the picture's columns (rows) in
// order, each on two or three window pixels at these sizes, all of them shown; the bars as
// they were.
void CheckEveryPicturePixelIsShownInOrder(int width, int height, bool columns) {
    std::vector<uint16_t> picture(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            picture[static_cast<size_t>(y * kScreenWidth + x)] =
                static_cast<uint16_t>(columns ? x : y);
        }
    }
    auto identity = std::make_unique<ColourTable>();
    for (uint32_t c = 0; c < identity->size(); ++c)
        (*identity)[c] = c;
    constexpr uint32_t kBar = 0xDEADBEEF;
    std::vector<uint32_t> window(static_cast<size_t>(width) * static_cast<size_t>(height), kBar);
    const PictureRect rect = LetterboxRect(width, height);
    DrawScaledPicture(picture.data(), *identity, window.data(), width, rect);

    auto at = [&](int x, int y) { return window[static_cast<size_t>(y) * width + x]; };
    const int lines = columns ? rect.h : rect.w;
    const int length = columns ? rect.w : rect.h;
    const int shown = columns ? kScreenWidth : kScreenHeight;
    for (int line = 0; line < lines; line += 7) {
        uint32_t expected = 0;
        int run = 0;
        for (int i = 0; i < length; ++i) {
            const uint32_t value =
                columns ? at(rect.x + i, rect.y + line) : at(rect.x + line, rect.y + i);
            if (value == expected + 1 && run >= 2) {
                expected = value;
                run = 0;
            }
            ASSERT_EQ(value, expected)
                << width << " x " << height << ", line " << line << ", " << i;
            ++run;
            ASSERT_LE(run, 3);
        }
        EXPECT_EQ(expected, static_cast<uint32_t>(shown - 1));
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool inside =
                x >= rect.x && x < rect.x + rect.w && y >= rect.y && y < rect.y + rect.h;
            if (!inside) {
                ASSERT_EQ(at(x, y), kBar) << x << "," << y;
            }
        }
    }
}

TEST(ScaledPicture, EveryPicturePixelIsShownInOrderAndTheBarsAreLeftAlone) {
    CheckEveryPicturePixelIsShownInOrder(1920, 1080, true);
    CheckEveryPicturePixelIsShownInOrder(1920, 1080, false);
    CheckEveryPicturePixelIsShownInOrder(1300, 1000, true);
    CheckEveryPicturePixelIsShownInOrder(1300, 1000, false);
}

TEST(ScaledPicture, AtItsOwnSizeThePictureIsCopiedPixelForPixel) {
    std::vector<uint16_t> picture(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<uint16_t>(i * 40503u);
    auto table = std::make_unique<ColourTable>();
    for (uint32_t c = 0; c < table->size(); ++c)
        (*table)[c] = c * 3 + 1;
    const int pitch = kScreenWidth + 16;  // rows of a window's pixels can be padded
    std::vector<uint32_t> window(static_cast<size_t>(pitch) * kScreenHeight, 0);
    DrawScaledPicture(picture.data(), *table, window.data(), pitch, LetterboxRect(640, 480));
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            ASSERT_EQ(window[static_cast<size_t>(y * pitch + x)],
                      picture[static_cast<size_t>(y * kScreenWidth + x)] * 3u + 1)
                << x << "," << y;
        }
        ASSERT_EQ(window[static_cast<size_t>(y * pitch + kScreenWidth)], 0u)
            << "padding, row " << y;
    }
}

}  // namespace
}  // namespace dx
