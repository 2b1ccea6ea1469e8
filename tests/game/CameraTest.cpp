// SPDX-License-Identifier: GPL-3.0-or-later
// The camera with its clamps and rounding, the background and tile layer, and the platform
// switch rule of the world drawing.
#include <gtest/gtest.h>

#include "A_deklarace.h"
#include "F_Vykresli.h"
#include "GameHarness.h"

namespace zorvik::test {
namespace {

class CameraTest : public GameTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        boardCount = 0;  // keep the requests for the test to read
    }

    // The first non-black pixel of a source rectangle, as an offset inside it.
    static bool FindOpaquePixel(const dx::DirectDrawSurface7& s, const dx::RECT& r, int& dx,
                                int& dy) {
        for (dy = 0; dy < r.bottom - r.top; ++dy) {
            for (dx = 0; dx < r.right - r.left; ++dx) {
                if (s.Pixel(r.left + dx, r.top + dy) != 0) return true;
            }
        }
        return false;
    }
};

TEST_F(CameraTest, FollowsThePlayerAndClampsAtTheEdges) {
    struct Case {
        int16_t col;
        double offsetX;
        int16_t row;
        double offsetY;
        int16_t cameraCol, fineX, clampedX, cameraRow, fineY, clampedY;
    };
    const Case cases[] = {
        {3, 50.0, 3, 40.0, 0, 0, kTrue, 0, 0, kTrue},
        {5, 12.0, 4, 20.0, 0, 12, 0, 0, 20, 0},
        {45, 50.4, 14, 40.0, 40, 50, 0, 10, 40, 0},
        {46, 10.0, 15, 40.0, 41, 0, kTrue, 11, 0, kTrue},
        {20, 36.5, 8, 37.5, 15, 36, 0, 4, 38, 0},
        {20, 37.5, 8, 36.5, 15, 38, 0, 4, 36, 0},
        {50, 0.0, 17, 72.0, 41, 0, kTrue, 11, 0, kTrue},
    };
    for (const Case& c : cases) {
        playerCol = c.col;
        playerOffsetX = c.offsetX;
        playerRow = c.row;
        playerOffsetY = c.offsetY;
        DrawWorld();
        SCOPED_TRACE(testing::Message() << "player at column " << c.col << ", row " << c.row);
        EXPECT_EQ(cameraCol, c.cameraCol);
        EXPECT_EQ(cameraFineX, c.fineX);
        EXPECT_EQ(cameraClampedX, c.clampedX);
        EXPECT_EQ(cameraRow, c.cameraRow);
        EXPECT_EQ(cameraFineY, c.fineY);
        EXPECT_EQ(cameraClampedY, c.clampedY);
    }
}

TEST_F(CameraTest, ParallaxStripScrollsAtAThirdAndVanishesAtDetailTwo) {
    cameraCol = 3;
    cameraFineX = 1;  // (3 * 73 + 1) / 3 = 73.33 -> 73
    DrawBackground();
    const auto& strip = *parallaxStrip;
    const auto& bg = *backgroundImage;
    int stripPixels = 0;
    for (int y : {229, 300, 479}) {
        for (int x = 0; x < 640; ++x) {
            const uint16_t s = strip.Pixel(73 + x, y - 229);
            const uint16_t expected = s != 0 ? s : bg.Pixel(x, y);
            ASSERT_EQ(backBuffer->Pixel(x, y), expected) << x << ", " << y;
            stripPixels += s != 0;
        }
    }
    EXPECT_GT(stripPixels, 0);
    EXPECT_EQ(backBuffer->Pixel(5, 100), bg.Pixel(5, 100));

    detailLevel = 2;
    DrawBackground();
    for (int y = 0; y < 480; y += 7) {
        for (int x = 0; x < 640; x += 3)
            ASSERT_EQ(backBuffer->Pixel(x, y), bg.Pixel(x, y));
    }
}

TEST_F(CameraTest, TilesAndTallObjectsLandInTheirCells) {
    // Camera held at the top-left corner: cell (c, r) appears at screen (73c - 72, 73r - 72).
    playerCol = 3;
    playerRow = 3;
    mapTiles(2, 2) = 3;
    mapTiles(4, 6) = 12;
    mapItems(4, 5) = 55;  // a red signpost reaches into the tile below it
    DrawWorld();

    const dx::RECT tile{146, 0, 219, 73};
    int dx = 0, dy = 0;
    ASSERT_TRUE(FindOpaquePixel(*tileSheet, tile, dx, dy));
    EXPECT_EQ(backBuffer->Pixel(74 + dx, 74 + dy), tileSheet->Pixel(146 + dx, dy));

    // The signpost's lower six pixels lie over the tile of row 6.
    const dx::RECT postFoot{573, 62, 625, 68};
    ASSERT_TRUE(FindOpaquePixel(*objectSheet, postFoot, dx, dy));
    const int sx = 4 * 73 - 72 + 13 + dx;
    const int sy = 5 * 73 - 72 + 11 + 62 + dy;
    EXPECT_GE(sy, 6 * 73 - 72);
    EXPECT_EQ(backBuffer->Pixel(sx, sy), objectSheet->Pixel(573 + dx, 62 + dy));
}

TEST_F(CameraTest, PlatformUnderThePlayerOpensAndClosesItsBoard) {
    playerCol = 10;
    playerRow = 8;
    playerOffsetY = 40;
    mapTiles(10, 9) = 14;
    mapItems(10, 9) = 3;
    DrawWorld();
    EXPECT_EQ(mapTiles(10, 9), 15);
    EXPECT_EQ(boards[3].openRequest, kTrue);
    EXPECT_EQ(sound025->Frequency(), 30000);
    const int plays = sound025->PlayCount();

    DrawWorld();  // still pressed: nothing more happens
    EXPECT_EQ(sound025->PlayCount(), plays);

    playerOffsetY = 38;  // too high in the cell to stand on it
    DrawWorld();
    EXPECT_EQ(mapTiles(10, 9), 14);
    EXPECT_EQ(boards[3].closeRequest, kTrue);
    EXPECT_EQ(sound025->Frequency(), 50000);
    EXPECT_EQ(sound025->PlayCount(), plays + 1);
}

TEST_F(CameraTest, StoneMarkedPlatformPressesItselfForGood) {
    playerCol = 20;
    playerRow = 8;
    mapTiles(22, 10) = -14;
    mapItems(22, 10) = 2;
    mapTiles(40, 10) = -14;  // outside the drawn block: unchanged
    mapItems(40, 10) = 4;
    DrawWorld();
    EXPECT_EQ(mapTiles(22, 10), -15);
    EXPECT_EQ(boards[2].openRequest, kTrue);
    EXPECT_EQ(mapTiles(40, 10), -14);
    EXPECT_EQ(boards[4].openRequest, 0);
    boards[2].closeRequest = 0;
    DrawWorld();
    EXPECT_EQ(mapTiles(22, 10), -15);
    EXPECT_EQ(boards[2].closeRequest, 0);
}

TEST_F(CameraTest, PlatformWithALinkOutsideTheTableIsLeftAlone) {
    playerCol = 10;
    playerRow = 8;
    playerOffsetY = 40;
    mapTiles(10, 9) = 14;
    mapItems(10, 9) = 20;
    mapTiles(12, 9) = -14;
    mapItems(12, 9) = -25;
    const int plays = sound025->PlayCount();
    DrawWorld();
    EXPECT_EQ(mapTiles(10, 9), 14);
    EXPECT_EQ(mapTiles(12, 9), -14);
    EXPECT_EQ(sound025->PlayCount(), plays);
}

}  // namespace
}  // namespace zorvik::test
