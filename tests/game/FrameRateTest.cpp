// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up frame-rate test on displays of different speeds: three one-second samples,
// their rounded average, and the detail level, step interval and text flight time from it.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "A_deklarace.h"
#include "GameHarness.h"
#include "M_Test_FPS.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

// A headless host whose millisecond clock makes the frame-rate test count exactly the given
// number of flips in each of its three seconds: the flips of sample k take 1001.5 / rate k
// milliseconds each, so rate k flips pass one second and rate k - 1 do not.
class PacedHost : public dx::HeadlessHost {
  public:
    explicit PacedHost(std::vector<int> rates)
        : HeadlessHost(DistDir()), rates_(std::move(rates)) {}

    uint32_t NowMs() override { return static_cast<uint32_t>(std::floor(clockMs_)); }
    void WaitForFrame() override {
        HeadlessHost::WaitForFrame();
        clockMs_ += 1001.5 / RateOfFlip(Frames());
    }

  private:
    // Flip 1 comes before the test starts; flips 2 .. r1 + 1 belong to sample 1, and so on.
    int RateOfFlip(long flip) const {
        long last = 1;
        for (int rate : rates_) {
            last += rate;
            if (flip <= last) return rate;
        }
        return rates_.back();
    }

    std::vector<int> rates_;
    double clockMs_ = 5000.0;
};

struct Case {
    std::vector<int> samples;
    int16_t detail;
    int16_t step;
    int16_t text;
};

class FrameRateTest : public ::testing::TestWithParam<Case> {};

TEST_P(FrameRateTest, AverageGivesDetailStepAndTextDelay) {
    const Case& c = GetParam();
    auto owned = std::make_unique<PacedHost>(c.samples);
    PacedHost& host = *owned;
    GameHarness game(std::move(owned));
    ASSERT_TRUE(game.InitGame());
    const dx::SurfacePtr normalBackground = backgroundImage;

    MeasureFrameRate();

    EXPECT_EQ(detailLevel, c.detail);
    EXPECT_EQ(stepInterval, c.step);
    EXPECT_EQ(textDelay, c.text);
    EXPECT_EQ(fpsSampleCount, c.samples[2]);
    // The first flip, the three samples, and the closing flip; the fourth second is not run.
    EXPECT_EQ(host.Frames(), c.samples[0] + c.samples[1] + c.samples[2] + 2);

    if (c.detail == 1) {
        EXPECT_EQ(backgroundImage, normalBackground);
        return;
    }
    // Detail level 2: the background is the picture beside the program, without a key.
    ASSERT_NE(backgroundImage, normalBackground);
    EXPECT_FALSE(backgroundImage->HasColorKey());
    dx::DDSURFACEDESC2 desc;
    desc.lFlags = dx::DDSD_CAPS | dx::DDSD_HEIGHT | dx::DDSD_WIDTH;
    desc.ddsCaps.lCaps = dx::DDSCAPS_OFFSCREENPLAIN;
    desc.lWidth = 640;
    desc.lHeight = 480;
    const auto lowDetail = directDraw->CreateSurfaceFromFile(DistDir() + "/ 005.dat", desc);
    const std::vector<uint16_t> expected(lowDetail->Pixels(), lowDetail->Pixels() + 640 * 480);
    const std::vector<uint16_t> actual(backgroundImage->Pixels(),
                                       backgroundImage->Pixels() + 640 * 480);
    EXPECT_EQ(actual, expected);
    const std::vector<uint16_t> normal(normalBackground->Pixels(),
                                       normalBackground->Pixels() + 640 * 480);
    EXPECT_NE(actual, normal) << "the two backgrounds should differ";
}

INSTANTIATE_TEST_SUITE_P(
    Displays, FrameRateTest,
    ::testing::Values(Case{{30, 30, 30}, 2, 13, 16}, Case{{39, 39, 39}, 2, 13, 17},
                      Case{{40, 40, 40}, 1, 14, 18}, Case{{60, 60, 60}, 1, 16, 22},
                      Case{{75, 75, 75}, 1, 17, 25}, Case{{100, 100, 100}, 1, 20, 30},
                      // 131 / 3 = 43.67 rounds to 44; 119 / 3 = 39.67 rounds up to 40 and
                      // keeps the detail; 134 / 3 = 44.67 gives 45.
                      Case{{43, 44, 44}, 1, 14, 18}, Case{{39, 40, 40}, 1, 14, 18},
                      Case{{44, 45, 45}, 1, 14, 19}));

TEST(FrameRateOnTheHeadlessDisplay, SixtyHertzFlipsGiveTheNormalSettings) {
    GameHarness game;
    ASSERT_TRUE(game.InitGame());
    MeasureFrameRate();
    EXPECT_EQ(detailLevel, 1);
    EXPECT_EQ(stepInterval, 16);
    EXPECT_EQ(textDelay, 22);
}

}  // namespace
}  // namespace zorvik::test
