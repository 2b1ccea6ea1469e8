// SPDX-License-Identifier: GPL-3.0-or-later
// The generated sprite sheets hold a picture in every rectangle the game copies from, nothing
// outside them, and a bottle that stays put when the animation changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "TestPaths.h"

namespace {

struct Rect {
    int left, top, right, bottom;  // right and bottom exclusive
};

dx::Bitmap565 Load(const std::string& name) {
    return dx::LoadBmp565Native(zorvik::test::DistDir() + "/data/" + name);
}

uint16_t At(const dx::Bitmap565& b, int x, int y) {
    return b.pixels[static_cast<size_t>(y) * static_cast<size_t>(b.width) + static_cast<size_t>(x)];
}

int OpaqueCount(const dx::Bitmap565& b, const Rect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            n += At(b, x, y) != 0 ? 1 : 0;
    }
    return n;
}

// Every drawn pixel of the sheet must lie inside one of the rectangles.
void ExpectNothingOutside(const dx::Bitmap565& b, const std::vector<Rect>& rects,
                          const std::string& sheet) {
    int stray = 0;
    for (int y = 0; y < b.height; ++y) {
        for (int x = 0; x < b.width; ++x) {
            if (At(b, x, y) == 0) continue;
            const bool inside = std::any_of(rects.begin(), rects.end(), [&](const Rect& r) {
                return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            });
            if (!inside) {
                if (stray == 0) ADD_FAILURE() << sheet << ": stray pixel at " << x << ", " << y;
                ++stray;
            }
        }
    }
    EXPECT_EQ(stray, 0) << sheet;
}

// The player's frame table: source rectangle and the draw offsets its animation uses.
struct Frame {
    Rect rect;
    int drawX, drawY;
};

Frame PlayerFrame(int f) {
    auto r = [](int l, int t, int w, int h) { return Rect{l, t, l + w, t + h}; };
    if (f <= 35) return {r(54 * f, 0, 54, 100), -25, -45};
    if (f <= 71) return {r(54 * (f - 36), 100, 54, 100), -35, -45};
    if (f <= 92) return {r(64 * (f - 72), 202, 64, 105), -29, -48};
    if (f <= 113) return {r(64 * (f - 93), 309, 64, 105), -44, -48};
    if (f <= 124) return {r(1344 + 54 * (f - 114), 202, 54, 96), -26, -42};
    if (f <= 135) return {r(1344 + 54 * (f - 125), 309, 54, 96), -35, -42};
    if (f <= 161) return {r(64 * (f - 136), 416, 64, 98), -22, -45};
    if (f <= 187) return {r(64 * (f - 162), 516, 64, 98), -49, -45};
    if (f <= 227) return {r(83 * ((f - 188) % 22), 615 + 99 * ((f - 188) / 22), 83, 98), -30, -45};
    if (f <= 267) return {r(83 * ((f - 228) % 22), 813 + 99 * ((f - 228) / 22), 83, 98), -62, -45};
    if (f <= 273) return {r(328 + 55 * (f - 268), 1011, 55, 97), -31, -45};
    return {r(55 * (f - 274), 1011, 55, 97), -26, -45};
}

// Lowest drawn row of a frame and the middle of the drawn pixels on it, in the player's
// coordinates (sprite position = player position + draw offset).
struct Foot {
    int y;
    double x;
};
Foot FootOf(const dx::Bitmap565& b, int f) {
    const Frame fr = PlayerFrame(f);
    for (int y = fr.rect.bottom - 1; y >= fr.rect.top; --y) {
        int n = 0;
        double sum = 0;
        for (int x = fr.rect.left; x < fr.rect.right; ++x) {
            if (At(b, x, y) != 0) {
                ++n;
                sum += x - fr.rect.left;
            }
        }
        if (n > 0) return {y - fr.rect.top + fr.drawY, sum / n + fr.drawX};
    }
    return {-1000, -1000};
}

// Middle of all drawn pixels of a frame, in the player's coordinates.
double CentreOf(const dx::Bitmap565& b, int f) {
    const Frame fr = PlayerFrame(f);
    double sum = 0;
    int n = 0;
    for (int y = fr.rect.top; y < fr.rect.bottom; ++y) {
        for (int x = fr.rect.left; x < fr.rect.right; ++x) {
            if (At(b, x, y) != 0) {
                sum += x - fr.rect.left;
                ++n;
            }
        }
    }
    return n > 0 ? sum / n + fr.drawX : -1000;
}

TEST(PlayerSheet, EveryFrameHoldsTheBottleAndNothingLiesOutside) {
    const dx::Bitmap565 sheet = Load("003.dat");
    std::vector<Rect> rects;
    for (int f = 0; f < 280; ++f) {
        const Rect r = PlayerFrame(f).rect;
        rects.push_back(r);
        EXPECT_GT(OpaqueCount(sheet, r), 900) << "frame " << f;
    }
    ExpectNothingOutside(sheet, rects, "003.dat");
}

TEST(PlayerSheet, RestingFramesOfEveryAnimationStandOnTheSameSpot) {
    const dx::Bitmap565 sheet = Load("003.dat");
    // The first frame of each animation is the bottle at rest, so changing animation at rest
    // must not move it.
    const Foot ref = FootOf(sheet, 0);
    for (int f : {0, 36, 114, 124, 125, 135, 136, 161, 162, 187, 188, 227, 228, 267, 268, 274}) {
        const Foot foot = FootOf(sheet, f);
        EXPECT_NEAR(foot.y, ref.y, 1) << "frame " << f;
        EXPECT_NEAR(foot.x, ref.x, 1.5) << "frame " << f;
    }
    // Walking loops join up: the frame before the loop restarts matches the restart frame.
    EXPECT_NEAR(FootOf(sheet, 35).x, FootOf(sheet, 6).x, 1.0);
    EXPECT_NEAR(FootOf(sheet, 71).x, FootOf(sheet, 43).x, 1.0);
    EXPECT_NEAR(FootOf(sheet, 92).x, FootOf(sheet, 72).x, 1.0);
    // Neighbouring frames of every animation move the bottle by a pixel or two at most.
    const int firsts[] = {0, 36, 72, 93, 114, 125, 136, 162, 188, 228, 268, 274};
    const int lasts[] = {35, 71, 92, 113, 124, 135, 161, 187, 227, 267, 273, 279};
    for (int a = 0; a < 12; ++a) {
        for (int f = firsts[a] + 1; f <= lasts[a]; ++f) {
            EXPECT_NEAR(CentreOf(sheet, f), CentreOf(sheet, f - 1), 3.0) << "frame " << f;
        }
    }
}

TEST(PlayerSheet, FrameZeroLooksRightAndFrameThirtySixLooksLeft) {
    const dx::Bitmap565 sheet = Load("003.dat");
    // The white of the eyes lies on the side the bottle looks to.
    auto labelSide = [&](int f) {
        const Frame fr = PlayerFrame(f);
        double sum = 0;
        int n = 0;
        double bodySum = 0;
        int bodyN = 0;
        for (int y = fr.rect.top; y < fr.rect.bottom; ++y) {
            for (int x = fr.rect.left; x < fr.rect.right; ++x) {
                const uint16_t p = At(sheet, x, y);
                if (p == 0) continue;
                bodySum += x;
                ++bodyN;
                const int r = (p >> 11) << 3;
                const int g = ((p >> 5) & 63) << 2;
                const int b = (p & 31) << 3;
                if (r > 240 && g > 240 && b > 240) {
                    sum += x;
                    ++n;
                }
            }
        }
        return n > 0 ? sum / n - bodySum / bodyN : 0.0;
    };
    EXPECT_GT(labelSide(0), 2.0);
    EXPECT_LT(labelSide(36), -2.0);
}

TEST(ObjectSheet, EveryPieceTheGameCopiesHoldsAPicture) {
    const dx::Bitmap565 sheet = Load("007.dat");
    std::vector<Rect> rects;
    auto need = [&](Rect r, int minimum, const std::string& what) {
        rects.push_back(r);
        EXPECT_GE(OpaqueCount(sheet, r), minimum) << what;
    };
    for (int f = 0; f < 15; ++f)
        need({31 * f, 0, 31 * f + 31, 30}, 400, "stone");
    for (int f = 0; f < 6; ++f)
        need({49 * f, 30, 49 * f + 49, 83}, 800, "gear");
    need({0, 82, 18, 301}, 2500, "board bar");
    const int starTops[3] = {86, 196, 241};
    for (int top : starTops) {
        for (int f = 0; f < 10; ++f)
            need({46 * f + 18, top, 46 * f + 63, top + 44}, 200, "star");
    }
    for (int b = 0; b < 20; ++b)
        need({23 * b + 20, 285, 23 * b + 42, 319}, 100, "refill");
    for (int f = 0; f < 10; ++f)
        need({65 * f + 20, 130, 65 * f + 84, 195}, 500, "crawler");
    need({524, 198, 584, 243}, 600, "herb");
    need({520, 0, 572, 68}, 600, "signpost");
    need({573, 0, 625, 68}, 600, "red signpost");
    for (int i = 1; i <= 5; ++i)
        need({13 * i + 296, 33, 13 * i + 308, 62}, 30, "score caption");
    for (int d = 0; d <= 9; ++d)
        need({14 * d + 373, 33, 14 * d + 385, 63}, 30, "digit");
    for (int i = 1; i <= 5; ++i)
        need({16 * i + 293, 63, 16 * i + 309, 86}, 30, "beam caption");
    need({398, 63, 414, 86}, 30, "gauge start");
    need({420, 63, 436, 86}, 30, "gauge end");
    need({442, 63, 454, 86}, 60, "full charge");
    need({457, 63, 469, 86}, 60, "empty charge");
    for (int i = 1; i <= 4; ++i)
        need({15 * i + 519, 70, 15 * i + 534, 94}, 30, "lives caption");
    need({595, 70, 615, 105}, 80, "spare life");
    ExpectNothingOutside(sheet, rects, "007.dat");

    // The bar is drawn from its top down to its full height of 219 pixels.
    EXPECT_GT(OpaqueCount(sheet, {0, 296, 18, 301}), 40);
    // Each stone frame turns the stone: no two neighbouring frames are identical.
    for (int f = 0; f < 15; ++f) {
        bool same = true;
        for (int y = 0; y < 30 && same; ++y) {
            for (int x = 0; x < 31 && same; ++x) {
                same = At(sheet, 31 * f + x, y) == At(sheet, 31 * ((f + 1) % 15) + x, y);
            }
        }
        EXPECT_FALSE(same) << "stone frames " << f << " and " << (f + 1) % 15;
    }
}

TEST(EnemySheet, EveryWalkingAndStandingFrameHoldsTheFigure) {
    const dx::Bitmap565 sheet = Load("008.dat");
    std::vector<Rect> rects;
    for (int f = 0; f < 20; ++f) {
        rects.push_back({55 * f, 0, 55 * f + 55, 90});
        rects.push_back({55 * f, 91, 55 * f + 55, 181});
    }
    for (int f = 0; f < 10; ++f) {
        rects.push_back({61 * f, 181, 61 * f + 61, 272});
        rects.push_back({64 * f, 272, 64 * f + 64, 363});
    }
    for (const Rect& r : rects)
        EXPECT_GT(OpaqueCount(sheet, r), 800) << r.left << ", " << r.top;
    ExpectNothingOutside(sheet, rects, "008.dat");
}

TEST(FontSheet, GlyphsSitInTheirCellsAndFitTheTwentyPixelAdvance) {
    const dx::Bitmap565 sheet = Load("009.dat");
    std::vector<Rect> rects;
    for (int style = 0; style < 2; ++style) {
        const int dy = 99 * style;
        for (int n = 0; n < 36; ++n) {
            const int left = 27 * (n % 13);
            const int top = 33 * (n / 13) + dy;
            const Rect cell{left, top, left + 25, top + 31};
            rects.push_back(cell);
            EXPECT_GT(OpaqueCount(sheet, cell), 60) << "cell " << n << " style " << style;
            // Ink stays inside the first 20 columns so that neighbours never overlap.
            EXPECT_EQ(OpaqueCount(sheet, {left + 20, top, left + 25, top + 31}), 0) << "cell " << n;
        }
        for (Rect r : {Rect{297, 66, 309, 97}, Rect{309, 66, 321, 97}, Rect{324, 66, 336, 97},
                       Rect{336, 66, 348, 97}, Rect{270, 74, 282, 87}, Rect{282, 74, 294, 87}}) {
            r.top += dy;
            r.bottom += dy;
            rects.push_back(r);
            EXPECT_GT(OpaqueCount(sheet, r), 10) << r.left << ", " << r.top;
        }
    }
    ExpectNothingOutside(sheet, rects, "009.dat");

    // The two colour sets differ clearly: warm above, cool below.
    auto warmth = [&](int top, int bottom) {
        long red = 0;
        long blue = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < sheet.width; ++x) {
                const uint16_t p = At(sheet, x, y);
                red += p >> 11;
                blue += p & 31;
            }
        }
        return red - blue;
    };
    EXPECT_GT(warmth(0, 99), 0);
    EXPECT_LT(warmth(99, 198), 0);
}

TEST(EditorSheet, HoldsThePaletteImagesAndBlankSpareCells) {
    const dx::Bitmap565 sheet =
        dx::LoadBmp565Native(zorvik::test::DistDir() + "/data/editor-tiles.bmp");
    const dx::Bitmap565 tiles = Load("001.dat");
    ASSERT_EQ(sheet.width, 730);
    ASSERT_EQ(sheet.height, 292);
    // Palette entries 1..17 place tiles 1..14, 16, 17 and 18: their cells show those tiles.
    const int tileOf[17] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18};
    for (int k = 0; k < 17; ++k) {
        const int t = tileOf[k] - 1;
        int differ = 0;
        for (int y = 0; y < 73; ++y) {
            for (int x = 0; x < 73; ++x) {
                differ += At(sheet, 73 * (k % 10) + x, 73 * (k / 10) + y) !=
                                  At(tiles, 73 * (t % 10) + x, 73 * (t / 10) + y)
                              ? 1
                              : 0;
            }
        }
        EXPECT_EQ(differ, 0) << "cell " << k;
    }
    // The object cells hold a picture: many different colours, not a flat fill.
    for (int k = 17; k < 32; ++k) {
        std::vector<uint16_t> colours;
        for (int y = 0; y < 73; ++y) {
            for (int x = 0; x < 73; ++x)
                colours.push_back(At(sheet, 73 * (k % 10) + x, 73 * (k / 10) + y));
        }
        std::sort(colours.begin(), colours.end());
        const auto distinct = std::unique(colours.begin(), colours.end()) - colours.begin();
        EXPECT_GT(distinct, 25) << "cell " << k;
    }
    for (int k = 32; k < 40; ++k) {
        EXPECT_EQ(OpaqueCount(sheet, {73 * (k % 10), 73 * (k / 10), 73 * (k % 10) + 73,
                                      73 * (k / 10) + 73}),
                  0)
            << "cell " << k;
    }
}

TEST(TitlePicture, ShowsTheGameNameOutsideTheMenuArea) {
    const dx::Bitmap565 title = Load("010.dat");
    // The lettering is bright and warm; the menu blanks x 190..640, y 145..480.
    int warmAbove = 0;
    for (int y = 0; y < 145; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint16_t p = At(title, x, y);
            const int r = (p >> 11) << 3;
            const int b = (p & 31) << 3;
            if (r > 200 && b < 140) ++warmAbove;
        }
    }
    EXPECT_GT(warmAbove, 8000);
}

}  // namespace
