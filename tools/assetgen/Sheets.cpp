// SPDX-License-Identifier: GPL-3.0-or-later
// The keyed sprite sheets: the player's 280 frames, the object sheet (stones, gear, board bar,
// stars, refills, crawling enemy, signposts, herb, status-line pieces), the figure enemy and
// the font.
#include <algorithm>
#include <cmath>
#include <string>

#include "Assets.h"
#include "Sprites.h"

namespace assetgen {

namespace {

constexpr double kDeg = kPi / 180;

double Ease(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}
double Bump(double t, double centre, double width) {
    return std::max(0.0, 1 - std::fabs(t - centre) / width);
}

struct FrameRect {
    int left, top, width, height;
};

// Where frame f lies on the player sheet.
FrameRect PlayerFrameRect(int f) {
    if (f <= 35) return {54 * f, 0, 54, 100};
    if (f <= 71) return {54 * (f - 36), 100, 54, 100};
    if (f <= 92) return {64 * (f - 72), 202, 64, 105};
    if (f <= 113) return {64 * (f - 93), 309, 64, 105};
    if (f <= 124) return {1344 + 54 * (f - 114), 202, 54, 96};
    if (f <= 135) return {1344 + 54 * (f - 125), 309, 54, 96};
    if (f <= 161) return {64 * (f - 136), 416, 64, 98};
    if (f <= 187) return {64 * (f - 162), 516, 64, 98};
    if (f <= 227) return {83 * ((f - 188) % 22), 615 + 99 * ((f - 188) / 22), 83, 98};
    if (f <= 267) return {83 * ((f - 228) % 22), 813 + 99 * ((f - 228) / 22), 83, 98};
    if (f <= 273) return {328 + 55 * (f - 268), 1011, 55, 97};
    return {55 * (f - 274), 1011, 55, 97};
}

// The bottle's pose in frame f. Every animation places the base at the same point relative to
// the player's position (4 pixels left of it, 15 pixels into the ground tile), taking the draw
// offsets that the animation uses into account, so switching animations never jumps.
BottlePose PlayerPose(int f) {
    int offX = -25;
    int offY = -45;
    double side = 1;
    double lift = 0;
    BottlePose p;
    if (f <= 71) {  // start, walk and stop, right then left
        const bool left = f >= 36;
        side = left ? -1 : 1;
        offX = left ? -35 : -25;
        const int g = left ? f - 36 : f;
        const double a = g < 6 ? g / 6.0 : 1.0;
        const double phase = left ? 2 * kPi * (f - 43) / 28.0 : 2 * kPi * (f - 6) / 29.0;
        lift = a * 4 * std::fabs(std::sin(phase));
        p.tilt = side * a * (5 + 4 * std::sin(phase)) * kDeg;
        p.stretch = 1 - a * 0.05 * std::cos(2 * phase);
        p.slosh = a * std::sin(phase + 0.8);
    } else if (f <= 113) {  // run
        const bool left = f >= 93;
        side = left ? -1 : 1;
        offX = left ? -44 : -29;
        offY = -48;
        const double phase = 2 * kPi * (left ? f - 93 : f - 72) / 20.0;
        lift = 7 * std::fabs(std::sin(phase));
        p.tilt = side * (13 + 4 * std::sin(phase)) * kDeg;
        p.stretch = 1 - 0.08 * std::cos(2 * phase);
        p.slosh = 1.5 * std::sin(phase + 0.8);
    } else if (f <= 135) {  // turns: the face swings round the bottle
        const bool toLeft = f <= 124;
        const double t = (toLeft ? f - 114 : f - 125) / 10.0;
        offX = toLeft ? -26 : -35;
        offY = -42;
        p.stretch = 1 - 0.07 * std::sin(kPi * t);
        p.slosh = std::sin(kPi * t) * (toLeft ? 1 : -1);
        const double face = 0.6 - 1.2 * Ease(t);
        p.face = toLeft ? face : -face;
        side = 0;
    } else if (f <= 267) {  // normal and long jumps
        const bool longJump = f >= 188;
        bool left = false;
        double t = 0;
        if (longJump) {
            left = f >= 228;
            t = (left ? f - 228 : f - 188) / 39.0;
            offX = left ? -62 : -30;
        } else {
            left = f >= 162;
            t = (left ? f - 162 : f - 136) / 25.0;
            offX = left ? -49 : -22;
        }
        side = left ? -1 : 1;
        const double lean = longJump ? 28 : 13;
        p.tilt = side * lean * std::sin(kPi * t) * kDeg;
        p.stretch = 1 + 0.07 * std::sin(kPi * t) - 0.12 * Bump(t, 0, 0.1) - 0.1 * Bump(t, 1, 0.1);
        p.slosh = 1.5 * std::sin(2 * kPi * t);
    } else {  // beam pose: lean towards the target while the neck glows
        const bool left = f <= 273;
        const double t = (left ? f - 268 : f - 274) / 5.0;
        side = left ? -1 : 1;
        offX = left ? -31 : -26;
        p.tilt = side * 14 * t * kDeg;
        p.glow = t;
        p.stretch = 1 + 0.03 * t;
    }
    if (side != 0) p.face = 0.6 * side;
    p.axisX = -3 - offX;
    p.baseY = 49 - offY - lift;
    return p;
}

// A small charge crystal for the status line, lit or spent.
Shader ChargeIcon(bool full) {
    return [full](double x, double y) -> Sample {
        const double dx = x - 6;
        const double dy = y - 11.5;
        const double halfW = 5 * (1 - std::fabs(dy) / 10);
        if (std::fabs(dy) >= 10 || std::fabs(dx) >= halfW) return {};
        if (!full) {
            const bool rim = std::fabs(dx) > halfW - 1.6 || std::fabs(dy) > 8.4;
            return {true, rim ? Col{120, 120, 135} : Col{40, 40, 55}};
        }
        Col c = dx < 0 ? Col{255, 200, 90} : Col{220, 90, 20};
        if (dy < 0) c = Mix(c, Col{255, 250, 200}, 0.35);
        return {true, c};
    };
}

// One end piece of the beam gauge, a rounded bracket.
Shader BracketPiece(bool left) {
    return [left](double x, double y) -> Sample {
        const double mx = left ? x : 16 - x;
        const double pts[5][2] = {{12, 3}, {7, 5.5}, {5.5, 11.5}, {7, 17.5}, {12, 20}};
        double best = 1e9;
        for (int i = 0; i < 4; ++i) {
            best =
                std::min(best, SegDist(mx, y, pts[i][0], pts[i][1], pts[i + 1][0], pts[i + 1][1]));
        }
        if (best > 2.1) return {};
        return {true, Mix(Col{250, 220, 120}, Col{200, 110, 30}, y / 23)};
    };
}

// The bar of a board: an iron post with a spear-head top, rivets and bands.
Sample BarSample(double x, double y) {
    const double top = 10;
    double half = 7.5;
    if (y < top) half = 7.5 * (y / top);
    if (std::fabs(x - 9) > half || y < 0.5) return {};
    const double n = (x - 9) / 7.5;
    const double l =
        0.35 + 0.65 * std::clamp(0.9 * std::sqrt(std::max(0.0, 1 - n * n)) - 0.4 * n, 0.0, 1.0);
    Col c = Mix(Col{40, 45, 60}, Col{175, 180, 200}, l);
    if (y < top) c = Mix(Col{120, 100, 40}, Col{250, 220, 120}, l);
    const double band = std::fmod(y - top, 36.0);
    if (y > top && band < 4) c = Mix(Col{90, 60, 30}, Col{200, 140, 70}, l);
    if (y > top && std::fabs(band - 2) < 1.3 && std::fabs(x - 9) < 1.3) c = Col{240, 240, 250};
    return {true, c};
}

}  // namespace

Image MakePlayerSheet() {
    Image sheet(1944, 1109);
    for (int f = 0; f < 280; ++f) {
        const FrameRect r = PlayerFrameRect(f);
        DrawSprite(sheet, r.left, r.top, r.width, r.height, BottleShader(PlayerPose(f)));
    }
    return sheet;
}

Image MakeObjectSheet() {
    Image sheet(669, 319);
    for (int f = 0; f < 15; ++f)
        DrawSprite(sheet, 31 * f, 0, 31, 30, StoneShader(f, 15.5, 15, 14));
    for (int f = 0; f < 6; ++f)
        DrawSprite(sheet, 49 * f, 30, 49, 52, GearShader(f, 24.5, 26));
    DrawSprite(sheet, 0, 82, 18, 219, BarSample);
    for (int kind = 0; kind < 3; ++kind) {
        const int top = kind == 0 ? 86 : kind == 1 ? 196 : 241;
        for (int f = 0; f < 10; ++f) {
            DrawSprite(sheet, 46 * f + 18, top, 45, 44, StarShader(kind, f, 22.5, 22));
        }
    }
    for (int b = 0; b < 20; ++b)
        DrawSprite(sheet, 23 * b + 20, 285, 22, 34, RefillShader(b, 11, 17));
    for (int f = 0; f < 10; ++f)
        DrawSprite(sheet, 65 * f + 20, 130, 64, 65, FlexEnemyShader(f, 0, 0));
    DrawSprite(sheet, 524, 198, 60, 45, HerbShader(0, 0));
    DrawSprite(sheet, 520, 0, 52, 68, SignpostShader(false, 0, 0));
    DrawSprite(sheet, 573, 0, 52, 68, SignpostShader(true, 0, 0));

    // Status-line pieces.
    const Col gold0{255, 240, 140};
    const Col gold1{235, 130, 30};
    const std::string score[5] = {"S", "K", "O'", "R", "E"};
    for (int i = 1; i <= 5; ++i) {
        DrawSprite(sheet, 13 * i + 296, 33, 12, 29,
                   TextShader(score[i - 1], 2.2, 9, 7.6, 15, 1.7, 10, gold0, gold1));
    }
    for (int d = 0; d <= 9; ++d) {
        DrawSprite(sheet, 14 * d + 373, 33, 12, 30,
                   TextShader(std::string(1, static_cast<char>('0' + d)), 2.2, 7, 7.6, 17, 1.7, 10,
                              Col{255, 255, 255}, Col{150, 220, 255}));
    }
    const char* beam = "PALBA";
    for (int i = 1; i <= 5; ++i) {
        DrawSprite(sheet, 16 * i + 293, 63, 16, 23,
                   TextShader(std::string(1, beam[i - 1]), 3.5, 4, 9, 14, 1.8, 12,
                              Col{255, 220, 150}, Col{255, 110, 40}));
    }
    DrawSprite(sheet, 398, 63, 16, 23, BracketPiece(true));
    DrawSprite(sheet, 420, 63, 16, 23, BracketPiece(false));
    DrawSprite(sheet, 442, 63, 12, 23, ChargeIcon(true));
    DrawSprite(sheet, 457, 63, 12, 23, ChargeIcon(false));
    const std::string lives[4] = {"Z^", "I", "V", "Y"};
    for (int i = 1; i <= 4; ++i) {
        DrawSprite(
            sheet, 15 * i + 519, 70, 15, 24,
            TextShader(lives[i - 1], 3, 8, 8.6, 13, 1.7, 12, Col{200, 255, 200}, Col{60, 190, 90}));
    }
    BottlePose icon;
    icon.axisX = 10;
    icon.baseY = 34;
    icon.scale = 0.4;
    DrawSprite(sheet, 595, 70, 20, 35, BottleShader(icon));
    return sheet;
}

Image MakeEnemySheet() {
    Image sheet(1154, 363);
    for (int f = 0; f < 20; ++f) {
        DrawSprite(sheet, 55 * f, 0, 55, 90, FigureShader(false, f, 1, 23, 88));
        DrawSprite(sheet, 55 * f, 91, 55, 90, FigureShader(false, f, -1, 23, 88));
    }
    for (int f = 0; f < 10; ++f) {
        DrawSprite(sheet, 61 * f, 181, 61, 91, FigureShader(true, f, 1, 8, 88));
        DrawSprite(sheet, 64 * f, 272, 64, 91, FigureShader(true, f, -1, 43, 88));
    }
    return sheet;
}

Image MakeFontSheet() {
    Image sheet(360, 209);
    for (int style = 0; style < 2; ++style) {
        const Col top = style == 0 ? Col{255, 245, 150} : Col{200, 255, 255};
        const Col bottom = style == 0 ? Col{240, 120, 20} : Col{40, 120, 255};
        const Col rim = style == 0 ? Col{45, 18, 8} : Col{10, 18, 50};
        const int dy = 99 * style;
        auto glyph = [&](const std::string& text, int left, int topY, int w, int h, double bx,
                         double by, double bw, double bh, double rad) {
            DrawSprite(sheet, left, topY + dy, w, h,
                       TextShader(text, bx, by, bw, bh, rad, 20, top, bottom), true, rim);
        };
        for (int n = 0; n < 36; ++n) {
            char c = 0;
            if (n < 26)
                c = static_cast<char>('A' + n);
            else if (n < 35)
                c = static_cast<char>('1' + n - 26);
            else
                c = '0';
            glyph(std::string(1, c), 27 * (n % 13), 33 * (n / 13), 25, 31, 4.5, 5, 10.8, 22, 2.6);
        }
        glyph(",", 297, 66, 12, 31, -1.5, 1.1, 11.4, 22, 2.6);
        glyph(".", 309, 66, 12, 31, -2.5, 1.1, 11.4, 22, 2.6);
        glyph("?", 324, 66, 12, 31, 2.9, 7, 6.2, 22, 2.5);
        glyph("!", 336, 66, 12, 31, 2.9, 7, 6.2, 22, 2.5);
        // The accent marks are drawn on their own, not above a letter.
        DrawSprite(
            sheet, 270, 74 + dy, 12, 13,
            [&](double x, double y) -> Sample {
                if (GlyphDistance('\'', x, y, 0.6, 2.2, 8, 12) < 1.8) return {true, top};
                return {};
            },
            true, rim);
        DrawSprite(
            sheet, 282, 74 + dy, 12, 13,
            [&](double x, double y) -> Sample {
                if (GlyphDistance('^', x, y, 0.9, 2.2, 7, 12) < 1.7) return {true, top};
                return {};
            },
            true, rim);
    }
    return sheet;
}

}  // namespace assetgen
