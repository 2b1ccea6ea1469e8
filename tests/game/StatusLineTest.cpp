// SPDX-License-Identifier: GPL-3.0-or-later
// The status line: the six score digits, the beam icons, the spare lives, and every piece on
// the screen through a whole turn of the wave.
#include <cmath>

#include "H_Score_atd.h"
#include "ObjectsTestSupport.h"

namespace zorvik::test {
namespace {

struct Piece {
    dx::RECT source;
    int bx, by, k;
};

// Where a piece lies with the phase of the call that drew it.
void PiecePlace(const Piece& p, double phase, int& x, int& y) {
    const double theta = (phase + 20.0 * p.k) * (3.14159265358979 / 180.0);
    x = static_cast<int>(std::nearbyint(p.bx + 2 * std::cos(theta)));
    y = static_cast<int>(std::nearbyint(p.by + 2 * std::sin(theta)));
}

class StatusLineTest : public ObjectsTest {
  protected:
    // True when the piece's left part (clear of its right neighbour) shows its source.
    static bool Shows(const Piece& p) {
        int x = 0, y = 0;
        PiecePlace(p, statusPhase, x, y);
        const int h = p.source.bottom - p.source.top;
        return BlockMatches(*backBuffer, x + 2, y, *objectSheet, p.source.left + 2, p.source.top, 4,
                            h);
    }
    static Piece Digit(int i, int d) {
        return {{14 * d + 373, 33, 14 * d + 385, 63}, 11 * i + 70, 3, i + 6};
    }
    static Piece BeamIcon(int i, bool full) {
        const dx::RECT r = full ? dx::RECT{442, 63, 454, 86} : dx::RECT{457, 63, 469, 86};
        return {r, 13 * i + 280, 7, i + 20};
    }
    static Piece Life(int i) { return {{595, 70, 615, 105}, 16 * i + 490, 2, i + 33}; }
    static void Draw() {
        ClearSurface(*backBuffer);
        DrawStatusLine();
    }
};

TEST_F(StatusLineTest, ShowsSixDigitsWithoutTheUnits) {
    const struct {
        int32_t score;
        int digits[6];
    } cases[] = {{9999999, {9, 9, 9, 9, 9, 9}},
                 {0, {0, 0, 0, 0, 0, 0}},
                 {1234567, {1, 2, 3, 4, 5, 6}},
                 {10009, {0, 0, 1, 0, 0, 0}}};
    for (const auto& c : cases) {
        score = c.score;
        Draw();
        for (int i = 1; i <= 6; ++i) {
            EXPECT_TRUE(Shows(Digit(i, c.digits[i - 1]))) << c.score << " digit " << i;
        }
    }
}

TEST_F(StatusLineTest, BeamIconsFollowTheCharges) {
    for (int charges : {0, 2, 4, 6}) {
        beamCharges = static_cast<int16_t>(charges);
        Draw();
        for (int i = 1; i <= 5; ++i) {
            EXPECT_TRUE(Shows(BeamIcon(i, i <= charges))) << charges << " icon " << i;
        }
    }
}

TEST_F(StatusLineTest, SpareLivesAreOneFewerThanTheLives) {
    for (int n : {6, 3, 2, 1, 0, -1}) {
        lives = static_cast<int16_t>(n);
        Draw();
        int shown = 0;
        for (int i = 1; i <= 5; ++i)
            shown += Shows(Life(i)) ? 1 : 0;
        EXPECT_EQ(shown, std::max(n - 1, 0)) << n << " lives";
        // Nothing else to the right of the lives caption.
        int extra = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = n >= 2 ? 16 * n + 497 : 490; x < 640; ++x) {
                extra += backBuffer->Pixel(x, y) != 0;
            }
        }
        EXPECT_EQ(extra, 0) << n << " lives";
    }
}

TEST_F(StatusLineTest, EveryPieceStaysOnTheScreenThroughAWholeWave) {
    score = 9999999;
    beamCharges = 6;
    lives = 6;
    std::vector<Piece> pieces;
    for (int i = 1; i <= 5; ++i)
        pieces.push_back({{13 * i + 296, 33, 13 * i + 308, 62}, 10 * i + 5, 3, i});
    for (int i = 1; i <= 6; ++i)
        pieces.push_back(Digit(i, 9));
    for (int i = 1; i <= 5; ++i)
        pieces.push_back({{16 * i + 293, 63, 16 * i + 309, 86}, 12 * i + 180, 6, i + 13});
    pieces.push_back({{398, 63, 414, 86}, 260, 6, 19});
    for (int i = 1; i <= 5; ++i)
        pieces.push_back(BeamIcon(i, true));
    pieces.push_back({{420, 63, 436, 86}, 358, 6, 26});
    for (int i = 1; i <= 4; ++i)
        pieces.push_back({{15 * i + 519, 70, 15 * i + 534, 94}, 12 * i + 420, 6, i + 27});
    for (int i = 1; i <= 5; ++i)
        pieces.push_back(Life(i));
    ASSERT_EQ(pieces.size(), 32u);

    int smallestY = 100;
    for (int frame = 0; frame < 72; ++frame) {
        Draw();
        EXPECT_DOUBLE_EQ(statusPhase, 5.0 * (frame + 1));
        for (const Piece& p : pieces) {
            EXPECT_TRUE(Shows(p)) << "frame " << frame << " piece k " << p.k;
            int x = 0, y = 0;
            PiecePlace(p, statusPhase, x, y);
            smallestY = std::min(smallestY, y);
        }
    }
    EXPECT_EQ(smallestY, 0);
}

}  // namespace
}  // namespace zorvik::test
