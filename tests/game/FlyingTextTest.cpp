// SPDX-License-Identifier: GPL-3.0-or-later
// The flying bitmap text: where characters land, line breaks, marks, the pace of the slots,
// the Escape skip and the screen left behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "A_deklarace.h"
#include "GameHarness.h"
#include "J_PismoEfekt.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

constexpr dx::RECT kScreen{0, 0, 640, 480};
constexpr int kKeyed = dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT;

// A font cell of the sheet: 13 columns of 27 x 33 pixels, glyph 25 x 31, colour set 1 lower.
dx::RECT Cell(int n, int style) {
    const int left = 27 * (n % 13);
    const int top = 33 * (n / 13) + 99 * style;
    return {left, top, left + 25, top + 31};
}
dx::RECT Letter(char ch, int style) {
    return Cell(ch - 'A', style);
}

struct Stamp {
    dx::RECT source;
    int x;
    int y;
};

class FlyingTextTest : public GameTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        primarySurface->BltColorFill(kScreen, 0);
    }

    void Draw(int16_t x, int16_t y, int16_t right, int16_t left, int16_t frames,
              const std::string& text) {
        DrawFlyingText(x, y, right, left, frames, text);
    }

    // The picture a black screen shows once the stamps are laid on it in order.
    static std::vector<uint16_t> Expected(const std::vector<Stamp>& stamps) {
        dx::DirectDrawSurface7 expected(640, 480);
        for (const Stamp& s : stamps)
            expected.BltFast(s.x, s.y, fontSheet.get(), s.source, kKeyed);
        return {expected.Pixels(), expected.Pixels() + 640 * 480};
    }

    static std::vector<uint16_t> Backdrop() {
        return {backdropSurface->Pixels(), backdropSurface->Pixels() + 640 * 480};
    }

    // Compares the landed text with the expected stamps, naming the first differing pixel.
    static void ExpectBackdrop(const std::vector<Stamp>& stamps) {
        const std::vector<uint16_t> expected = Expected(stamps);
        ASSERT_NE(expected, std::vector<uint16_t>(640 * 480, 0)) << "the stamps draw nothing";
        const std::vector<uint16_t> actual = Backdrop();
        for (size_t i = 0; i < expected.size(); ++i) {
            if (expected[i] != actual[i]) {
                ADD_FAILURE() << "first difference at x " << i % 640 << " y " << i / 640
                              << ": expected " << expected[i] << ", drawn " << actual[i];
                return;
            }
        }
    }
};

TEST_F(FlyingTextTest, LevelIntroLandsLetterByLetterAndTheDigitInTheSecondColourSet) {
    Draw(150, 100, 620, 150, 22, "zLEVEL c1");
    ExpectBackdrop({{Letter('L', 0), 170, 100},
                    {Letter('E', 0), 190, 100},
                    {Letter('V', 0), 210, 100},
                    {Letter('E', 0), 230, 100},
                    {Letter('L', 0), 250, 100},
                    {Cell(26, 1), 290, 100}});
    // The finished text is what the screen shows, and what the backdrop keeps.
    EXPECT_EQ(game.Host().Screen(), Backdrop());
    EXPECT_EQ(textSkipped, 0);
}

TEST_F(FlyingTextTest, TextIsAddedOnTopOfWhatTheScreenShows) {
    Draw(0, 100, 620, 0, 5, "AB");
    Draw(0, 200, 620, 0, 5, "C");
    ExpectBackdrop(
        {{Letter('A', 0), 20, 100}, {Letter('B', 0), 40, 100}, {Letter('C', 0), 20, 200}});
    EXPECT_EQ(game.Host().Screen(), Backdrop());
}

TEST_F(FlyingTextTest, PunctuationLandsWithItsOffsets) {
    Draw(0, 100, 620, 0, 1, "A,B.C?D!");
    ExpectBackdrop({{Letter('A', 0), 20, 100},
                    {{297, 66, 309, 97}, 43, 105},
                    {Letter('B', 0), 60, 100},
                    {{309, 66, 321, 97}, 80, 105},
                    {Letter('C', 0), 100, 100},
                    {{324, 66, 336, 97}, 127, 98},
                    {Letter('D', 0), 140, 100},
                    {{336, 66, 348, 97}, 167, 98}});
}

TEST_F(FlyingTextTest, LinesBreakBeforeWordsAtSpacesAndInsideLongWords) {
    // "CD" would pass the margin of 60: it starts a new line at the left margin.
    Draw(0, 100, 60, 0, 1, "AB CD");
    ExpectBackdrop({{Letter('A', 0), 20, 100},
                    {Letter('B', 0), 40, 100},
                    {Letter('C', 0), 20, 130},
                    {Letter('D', 0), 40, 130}});

    // A word ending exactly on the margin stays when it ends the text ...
    primarySurface->BltColorFill(kScreen, 0);
    Draw(20, 100, 60, 0, 1, "AB");
    ExpectBackdrop({{Letter('A', 0), 40, 100}, {Letter('B', 0), 60, 100}});

    // ... but moves when a space follows it.
    primarySurface->BltColorFill(kScreen, 0);
    Draw(20, 100, 60, 0, 1, "AB C");
    ExpectBackdrop(
        {{Letter('A', 0), 20, 130}, {Letter('B', 0), 40, 130}, {Letter('C', 0), 20, 160}});

    // A line broken at a space starts 20 pixels further right than one broken at a word.
    primarySurface->BltColorFill(kScreen, 0);
    Draw(70, 100, 80, 0, 1, " AB");
    ExpectBackdrop({{Letter('A', 0), 40, 130}, {Letter('B', 0), 60, 130}});
    primarySurface->BltColorFill(kScreen, 0);
    Draw(70, 100, 80, 0, 1, "AB");
    ExpectBackdrop({{Letter('A', 0), 20, 130}, {Letter('B', 0), 40, 130}});

    // A word longer than the line is broken letter by letter until the rest fits.
    primarySurface->BltColorFill(kScreen, 0);
    Draw(0, 100, 60, 0, 1, "ABCDE");
    ExpectBackdrop({{Letter('A', 0), 20, 130},
                    {Letter('B', 0), 20, 160},
                    {Letter('C', 0), 20, 190},
                    {Letter('D', 0), 40, 190},
                    {Letter('E', 0), 60, 190}});

    // ">" breaks the line; "c" and "z" switch the colour set and take no room.
    primarySurface->BltColorFill(kScreen, 0);
    Draw(0, 100, 620, 50, 1, "AcB>zC");
    ExpectBackdrop(
        {{Letter('A', 0), 20, 100}, {Letter('B', 1), 40, 100}, {Letter('C', 0), 70, 130}});
}

TEST_F(FlyingTextTest, MarksRideWithTheirLetterOnlyWhenTwoCharactersFollow) {
    const dx::RECT acute0{270, 74, 282, 87};
    const dx::RECT caron1{282, 173, 294, 186};
    Draw(0, 100, 620, 0, 1, "A-BcC*DE");
    ExpectBackdrop({{Letter('A', 0), 20, 100},
                    {acute0, 28, 94},
                    {Letter('B', 0), 40, 100},
                    {Letter('C', 1), 60, 100},
                    {caron1, 68, 94},
                    {Letter('D', 1), 80, 100},
                    {Letter('E', 1), 100, 100}});

    // Too close to the end: the mark is an ordinary character from cell 45 ("-") or 42 ("*").
    primarySurface->BltColorFill(kScreen, 0);
    Draw(0, 100, 620, 0, 1, "AB-x");
    ExpectBackdrop({{Letter('A', 0), 20, 100}, {Letter('B', 0), 40, 100}, {Cell(45, 0), 60, 100}});
    primarySurface->BltColorFill(kScreen, 0);
    Draw(0, 100, 620, 0, 1, "AB*");
    ExpectBackdrop({{Letter('A', 0), 20, 100}, {Letter('B', 0), 40, 100}, {Cell(42, 0), 60, 100}});

    // Marks take no room when the look-ahead measures a word: one whose last letter lands
    // exactly on the margin stays on its line.
    primarySurface->BltColorFill(kScreen, 0);
    Draw(0, 100, 80, 0, 1, "A-B*CD");
    ExpectBackdrop({{Letter('A', 0), 20, 100},
                    {{270, 74, 282, 87}, 28, 94},
                    {Letter('B', 0), 40, 100},
                    {{282, 74, 294, 87}, 48, 94},
                    {Letter('C', 0), 60, 100},
                    {Letter('D', 0), 80, 100}});
}

TEST_F(FlyingTextTest, FlightTimeBelowOneBecomesOneInTheCallersVariable) {
    for (int16_t given : {int16_t{0}, int16_t{-5}}) {
        int16_t frames = given;
        const long before = game.Host().Frames();
        DrawFlyingText(0, 100, 620, 0, frames, "AB");
        EXPECT_EQ(frames, 1);
        // Ten characters land per frame at frames = 1: one frame places both, one finds
        // every slot idle, and the final frame.
        EXPECT_EQ(game.Host().Frames() - before, 3);
    }
}

TEST_F(FlyingTextTest, TenFramesLaunchTwoCharactersFirstThenOnePerFrameAndRepeat) {
    // Launch frame, slot and letter of every character, seen after each flip: a slot that
    // has just launched has counter 0.
    struct Launch {
        long frame;
        int slot;
        int letter;
    };
    std::vector<Launch> launches;
    const long start = game.Host().Frames();
    game.Host().onFlip = [&](dx::HeadlessHost& host, const uint16_t*) {
        for (int b = 1; b <= 10; ++b) {
            const GlyphSlot& slot = glyphSlots[static_cast<size_t>(b)];
            if (slot.active != 0 && slot.counter == 0) {
                launches.push_back({host.Frames() - start, b, slot.source.left / 27});
            }
        }
    };
    Draw(0, 100, 640, 0, 10, "ABCDEFGHIJKL");
    game.Host().onFlip = nullptr;

    const std::vector<Launch> expected = {{1, 9, 0}, {1, 10, 1}, {2, 8, 2},   {3, 7, 3},
                                          {4, 6, 4}, {5, 5, 5},  {6, 4, 6},   {7, 3, 7},
                                          {8, 2, 8}, {9, 1, 9},  {11, 9, 10}, {11, 10, 11}};
    ASSERT_EQ(launches.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(launches[i].frame, expected[i].frame) << "character " << i + 1;
        EXPECT_EQ(launches[i].slot, expected[i].slot) << "character " << i + 1;
        EXPECT_EQ(launches[i].letter, expected[i].letter) << "character " << i + 1;
    }
    // "L" lands in frame 21, where every slot is idle; then the final frame.
    EXPECT_EQ(game.Host().Frames() - start, 22);
}

TEST_F(FlyingTextTest, CharactersInFlightAreDrawnOnlyWhollyOnScreen) {
    const dx::RECT w = Letter('W', 0);
    int glyphPixels = 0;
    for (int y = w.top; y < w.bottom; ++y) {
        for (int x = w.left; x < w.right; ++x)
            glyphPixels += fontSheet->Pixel(x, y) != 0 ? 1 : 0;
    }
    ASSERT_GT(glyphPixels, 0);

    // On a black screen every frame shows the flying "W" whole or not at all.
    int frame = 0;
    int framesSeenInFlight = 0;
    game.Host().onFlip = [&](dx::HeadlessHost&, const uint16_t* pixels) {
        ++frame;
        int lit = 0;
        for (int i = 0; i < 640 * 480; ++i)
            lit += pixels[i] != 0 ? 1 : 0;
        EXPECT_TRUE(lit == 0 || lit == glyphPixels) << "frame " << frame << ": " << lit;
        if (frame < 31 && lit == glyphPixels) ++framesSeenInFlight;
    };
    Draw(300, 100, 620, 0, 30, "W");
    game.Host().onFlip = nullptr;
    // Launched in frame 1 at the bottom edge, landed in frame 31: visible on the way up.
    EXPECT_GT(framesSeenInFlight, 0);
    EXPECT_LT(framesSeenInFlight, 30);
    EXPECT_EQ(frame, 32);
}

TEST_F(FlyingTextTest, EscapeSkipsOnlySkippableText) {
    // Not skippable: Escape changes nothing.
    game.Press(1);
    Draw(0, 100, 620, 0, 10, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(textSkipped, 0);
    game.Release(1);

    // Skippable: Escape from the fourth frame on ends the call before that frame is flipped.
    primarySurface->BltColorFill(kScreen, 0);
    textSkippable = kTrue;
    const long start = game.Host().Frames();
    game.HoldKeyFrames(1, start + 3, start + 1000);
    Draw(0, 100, 620, 0, 10, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(textSkipped, kTrue);
    EXPECT_EQ(game.Host().Frames() - start, 3);
    EXPECT_EQ(Backdrop(), std::vector<uint16_t>(640 * 480, 0)) << "nothing had landed yet";

    // The next call starts unskipped again.
    textSkippable = kFalse;
    Draw(0, 100, 620, 0, 1, "A");
    EXPECT_EQ(textSkipped, 0);
}

TEST_F(FlyingTextTest, PictureOfAFlownInScreen) {
    // A title-like screen over the backdrop picture, kept in the docs for a look by eye.
    primarySurface->BltFast(0, 0, backgroundImage.get(), kScreen, dx::DDBLTFAST_WAIT);
    Draw(150, 100, 620, 150, 22, "zLEVEL c1");
    Draw(100, 180, 540, 100, 10, "zNOVA- HRA>cUKONC*ENI- HRY>zZADEJTE SVE- JME-NO!");
    Draw(60, 330, 620, 60, 5, "cABCDEFGHIJKLM >NOPQRSTUVWXYZ >z1234567890 ,.?!");
    EXPECT_EQ(game.Host().Screen(), Backdrop());
    EXPECT_TRUE(game.SaveFramePng(DistDir() + "/../flying-text.png"));
}

}  // namespace
}  // namespace zorvik::test
