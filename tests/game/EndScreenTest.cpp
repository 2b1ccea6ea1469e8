// SPDX-License-Identifier: GPL-3.0-or-later
// The victory and game-over screens: their pictures, sounds and prompts, and the name entry that
// follows them.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "GameHarness.h"
#include "L_Vitezstvi.h"
#include "MenuScript.h"
#include "N_HI_Score.h"
#include "Png.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

using Screen = std::vector<uint16_t>;

bool RowsBlack(const Screen& s, int top, int bottom) {
    for (size_t i = static_cast<size_t>(top) * 640; i < static_cast<size_t>(bottom) * 640; ++i) {
        if (s[i] != 0) return false;
    }
    return true;
}

// The game in a temporary copy of the game folder, since the screens may write the table.
class EndScreenTest : public ::testing::Test {
  protected:
    TempGameDir dir;
    GameHarness game{dir.Path()};
    KeyScript keys{game};

    void SetUp() override {
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        game.Host().SetTimeLimitMs(120 * 1000.0);
        for (int i = 1; i <= 10; ++i) {
            hiScoreNames[i] = "";
            hiScoreValues[i] = "0000000";
        }
        ASSERT_TRUE(SaveHiScores());          // an entry goes into the table on disk
        sound021->Play(dx::DSBPLAY_LOOPING);  // the player was rolling when the game ended
    }

    std::string FileText() const {
        std::ifstream in(dir.File("data/012.dat"));
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(EndScreenTest, VictoryShowsItsPictureSoundsAndLeadsToTheNameEntry) {
    score = 4200;
    keys.Tap(dik::kSpace).Tap(dik::kS).Tap(dik::kEnter);
    const int before018 = sound018->PlayCount();
    ShowVictoryScreen();
    EXPECT_TRUE(keys.Finished());
    EXPECT_FALSE(sound021->IsPlaying());
    EXPECT_EQ(sound018->PlayCount() - before018, 1);

    // Between its two texts the screen shows the victory picture itself.
    dx::DDSURFACEDESC2 desc;
    desc.lFlags = dx::DDSD_CAPS | dx::DDSD_HEIGHT | dx::DDSD_WIDTH;
    desc.ddsCaps.lCaps = dx::DDSCAPS_OFFSCREENPLAIN;
    desc.lWidth = 640;
    desc.lHeight = 480;
    const dx::SurfacePtr picture =
        directDraw->CreateSurfaceFromFile(dir.File("data/011.dat"), desc);
    const Screen& shown = keys.PressScreens().at(0);
    for (int y = 50; y < 435; y += 3) {
        for (int x = 0; x < 640; x += 3) {
            ASSERT_EQ(shown[static_cast<size_t>(y) * 640 + x], picture->Pixel(x, y))
                << "at " << x << ", " << y;
        }
    }
    EXPECT_FALSE(RowsBlack(shown, 445, 476));  // the prompt stands at y 445

    EXPECT_EQ(hiScoreNames[1], "S");
    EXPECT_EQ(hiScoreValues[1], "0004200");
    EXPECT_EQ(FileText().substr(0, 8), "206\n245\n");  // "S" and its padding lead the file
}

TEST_F(EndScreenTest, GameOverIsBlackWithTwoTextsAndAScoreThatDoesNotEnterGoesBack) {
    for (int i = 1; i <= 10; ++i)
        hiScoreValues[i] = "0009000";
    const std::string fileBefore = FileText();
    score = 500;
    keys.Tap(dik::kSpace);
    const int before = sound028->PlayCount();
    ShowGameOverScreen();
    EXPECT_TRUE(keys.Finished());
    EXPECT_FALSE(sound021->IsPlaying());
    EXPECT_EQ(sound028->PlayCount(), before);

    const Screen& shown = keys.PressScreens().at(0);
    EXPECT_TRUE(RowsBlack(shown, 0, 150));
    EXPECT_FALSE(RowsBlack(shown, 150, 181));  // "KONEC HRY"
    EXPECT_TRUE(RowsBlack(shown, 187, 424));
    EXPECT_FALSE(RowsBlack(shown, 430, 461));  // the prompt stands at y 430
    EXPECT_TRUE(RowsBlack(shown, 467, 480));
    // Space went straight back: no prompt for a name, the table and its file untouched.
    EXPECT_EQ(game.Host().Screen(), shown);
    EXPECT_EQ(hiScoreValues[1], "0009000");
    EXPECT_EQ(FileText(), fileBefore);
}

TEST_F(EndScreenTest, GameOverWithANewBestScoreAsksForTheName) {
    score = 800;
    keys.Tap(dik::kSpace).Tap(dik::kB).Tap(dik::kA).Tap(dik::kKeypadEnter);
    ShowGameOverScreen();
    EXPECT_TRUE(keys.Finished());
    EXPECT_EQ(hiScoreNames[1], "BA");
    EXPECT_EQ(hiScoreValues[1], "0000800");
    // The prompt and the name on a black screen.
    const Screen& entry = keys.PressScreens().at(3);
    EXPECT_FALSE(RowsBlack(entry, 94, 131));   // "ZADEJTE SVE- JME-NO"
    EXPECT_FALSE(RowsBlack(entry, 160, 191));  // "BA"
    EXPECT_TRUE(RowsBlack(entry, 200, 480));
}

// Writes the pictures for the documentation into docs/ of the source tree. Run on purpose with
// --gtest_also_run_disabled_tests --gtest_filter='*DocPictures*'.
TEST_F(EndScreenTest, DISABLED_DocPictures) {
    const std::string docs = SourceDir() + "/docs/";
    score = 12850;
    keys.Tap(dik::kSpace).Tap(dik::kO).Tap(dik::kT).Tap(dik::kA).Tap(dik::kEnter);
    ShowGameOverScreen();
    ASSERT_TRUE(keys.Finished());
    EXPECT_TRUE(dx::SavePng(docs + "game-over.png", keys.PressScreens().at(0).data(), 640, 480));
    EXPECT_TRUE(dx::SavePng(docs + "name-entry.png", keys.PressScreens().at(4).data(), 640, 480));
}

}  // namespace
}  // namespace zorvik::test
