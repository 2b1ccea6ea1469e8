// SPDX-License-Identifier: GPL-3.0-or-later
// The swaying status line: score, beam charges and spare lives, every piece on its own small
// circle so that a slow wave runs along the line.
#include "H_Score_atd.h"

#include <cmath>

#include "A_deklarace.h"
#include "Numbers.h"

namespace zorvik {

namespace {

constexpr double kPi = 3.14159265358979;

// Draws one piece at its base position moved along its circle of radius 2; neighbouring wave
// indices are 20 degrees apart.
void DrawPiece(const dx::RECT& source, int bx, int by, int k) {
    const double theta = (statusPhase + 20.0 * k) * (kPi / 180.0);
    const int x = static_cast<int>(RoundHalfEven(bx + 2 * std::cos(theta)));
    const int y = static_cast<int>(RoundHalfEven(by + 2 * std::sin(theta)));
    backBuffer->BltFast(x, y, objectSheet.get(), source,
                        dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT);
}

}  // namespace

void DrawStatusLine() {
    statusPhase += 5;
    if (dx::DryRun()) return;  // nothing is drawn: no piece needs its place worked out

    for (int i = 1; i <= 5; ++i) {
        DrawPiece(dx::RECT{13 * i + 296, 33, 13 * i + 308, 62}, 10 * i + 5, 3, i);
    }

    // Six digits, millions down to tens: the units digit is never shown.
    int32_t rest = score;
    int32_t place = 1000000;
    for (int i = 1; i <= 6; ++i) {
        const int d = static_cast<int>(std::floor(static_cast<double>(rest) / place));
        rest -= d * place;
        DrawPiece(dx::RECT{14 * d + 373, 33, 14 * d + 385, 63}, 11 * i + 70, 3, i + 6);
        place /= 10;
    }

    for (int i = 1; i <= 5; ++i) {
        DrawPiece(dx::RECT{16 * i + 293, 63, 16 * i + 309, 86}, 12 * i + 180, 6, i + 13);
    }
    DrawPiece(dx::RECT{398, 63, 414, 86}, 260, 6, 19);
    for (int i = 1; i <= 5; ++i) {
        const dx::RECT icon =
            i <= beamCharges ? dx::RECT{442, 63, 454, 86} : dx::RECT{457, 63, 469, 86};
        DrawPiece(icon, 13 * i + 280, 7, i + 20);
    }
    DrawPiece(dx::RECT{420, 63, 436, 86}, 358, 6, 26);

    for (int i = 1; i <= 4; ++i) {
        DrawPiece(dx::RECT{15 * i + 519, 70, 15 * i + 534, 94}, 12 * i + 420, 6, i + 27);
    }
    for (int i = 1; i <= lives - 1; ++i) {
        DrawPiece(dx::RECT{595, 70, 615, 105}, 16 * i + 490, 2, i + 33);
    }
}

}  // namespace zorvik
