// SPDX-License-Identifier: GPL-3.0-or-later
// The generated data set is what the game's start-up loads: every surface and sound buffer is
// created from it without a message, at the sizes the game asks for.
#include <gtest/gtest.h>

#include "A_deklarace.h"
#include "GameHarness.h"

namespace {

using namespace zorvik;

TEST(GeneratedDataSet, LoadsThroughTheGameStartUpWithoutAMessage) {
    zorvik::test::GameHarness game;
    EXPECT_TRUE(game.InitGame());
    EXPECT_TRUE(game.Host().Messages().empty());

    const struct {
        const dx::SurfacePtr& surface;
        int width, height;
    } surfaces[] = {
        {playerSheet, 1944, 1109},   {tileSheet, 730, 146},      {tileCanvas, 804, 658},
        {backgroundImage, 640, 480}, {parallaxStrip, 1638, 251}, {objectSheet, 669, 319},
        {enemySheet, 1154, 363},     {fontSheet, 360, 209},      {backdropSurface, 640, 480}};
    for (const auto& s : surfaces) {
        ASSERT_NE(s.surface, nullptr);
        EXPECT_EQ(s.surface->Width(), s.width);
        EXPECT_EQ(s.surface->Height(), s.height);
    }
    for (const auto& b : sounds019)
        EXPECT_NE(b, nullptr);
    for (int i = 1; i <= 10; ++i)
        EXPECT_NE(sounds015[static_cast<size_t>(i)], nullptr);
    for (const dx::SoundBufferPtr* b :
         {&sound013, &sound014, &sound016, &sound017, &sound018, &sound020, &sound021, &sound022,
          &sound023, &sound024, &sound025, &sound026, &sound027, &sound028}) {
        EXPECT_NE(*b, nullptr);
    }
}

}  // namespace
