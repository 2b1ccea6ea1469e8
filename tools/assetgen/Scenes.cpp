// SPDX-License-Identifier: GPL-3.0-or-later
// The opaque pictures: the tile sheet, the canvas, the backgrounds and parallax strip, the title
// and victory pictures, and the editor's palette sheet built from the game's own images.
#include <algorithm>
#include <cmath>
#include <functional>

#include "Assets.h"
#include "Sprites.h"

namespace assetgen {

namespace {

using PixelFn = std::function<Col(int x, int y)>;

void FillTile(Image& img, int tile, const PixelFn& fn) {
    const int ox = 73 * ((tile - 1) % 10);
    const int oy = 73 * ((tile - 1) / 10);
    for (int y = 0; y < 73; ++y) {
        for (int x = 0; x < 73; ++x)
            img.Set(ox + x, oy + y, fn(x, y));
    }
}

// Noise that repeats every 73 pixels both ways, so that neighbouring tiles join without a seam;
// fx and fy are roughly the features per pixel.
double TileFractal(int x, int y, double fx, double fy, uint32_t seed, int octaves) {
    const int cx = std::max(1, static_cast<int>(std::lround(73 * fx)));
    const int cy = std::max(1, static_cast<int>(std::lround(73 * fy)));
    return Fractal(x * cx / 73.0, y * cy / 73.0, seed, octaves, cx, cy);
}

// Brick pattern of `cols` x `rows` bricks per tile (rows within `height` pixels), every other
// row shifted by half a brick: 1 in a joint, 0 inside a brick; id tells the bricks apart.
double Bricks(int x, int y, int cols, int rows, int& id, int height = 73) {
    const double fy = y * rows / static_cast<double>(height);
    const int row = static_cast<int>(fy);
    const double fx = x * cols / 73.0 + (row % 2) * 0.5;
    const int col = static_cast<int>(fx) % cols;
    id = row * 31 + col * 7;
    const double inX = (fx - std::floor(fx)) * 73.0 / cols;
    const double inY = (fy - std::floor(fy)) * height / rows;
    return (inX < 2 || inY < 2) ? 1.0 : 0.0;
}

double Bevel(int x, int y, int edge) {
    if (x < edge || y < edge) return 0.35;
    if (x >= 73 - edge || y >= 73 - edge) return -0.35;
    return 0;
}

Col Shade(Col c, double k) {
    return k >= 0 ? Mix(c, Col{255, 255, 255}, k) : Scale(c, 1 + k);
}

// Dark wall behind the level; passable decoration tiles are drawn on it.
Col BackWall(int x, int y, uint32_t seed) {
    int id = 0;
    const double mortar = Bricks(x, y, 3, 6, id);
    const double n = TileFractal(x, y, 0.15, 0.15, seed, 3);
    Col c = Mix(Col{38, 34, 58}, Col{62, 56, 88}, n);
    c = Scale(c, 0.9 + 0.1 * ((id * 37 % 7) / 6.0));
    if (mortar > 0) c = Col{24, 22, 36};
    return c;
}

Col Earth(int x, int y, uint32_t seed) {
    const double n = TileFractal(x, y, 0.12, 0.12, seed, 4);
    Col c = Mix(Col{95, 60, 35}, Col{150, 100, 60}, n);
    const double pebble = TileFractal(x, y, 0.35, 0.35, seed + 9, 1);
    if (pebble > 0.8) c = Mix(c, Col{170, 160, 150}, (pebble - 0.8) * 4);
    return c;
}

Col GrassTop(int x, int y, Col below) {
    // Blades hang over the top of the earth; the surface line lies 15 pixels down.
    const double blade =
        11 + 5 * std::fabs(std::sin(x * 5 * kPi / 73)) + 2 * std::sin(x * 6 * kPi / 73);
    if (y < blade) {
        const double t = y / blade;
        Col c = Mix(Col{150, 225, 90}, Col{50, 140, 45}, t);
        if ((x * 7 + y * 3) % 11 == 0) c = Mix(c, Col{220, 255, 160}, 0.5);
        return c;
    }
    if (y < blade + 2) return Col{40, 80, 30};
    return below;
}

void DrawTorch(Image& img, int ox, int oy) {
    DrawSmooth(img, ox, oy, 73, 73, [](double x, double y) -> Sample {
        if (std::fabs(x - 36.5) < 3 && y > 34 && y < 56) return {true, Col{110, 70, 35}};
        if (std::fabs(x - 36.5) < 6 && y > 30 && y < 36) return {true, Col{150, 150, 160}};
        const double fx = (x - 36.5) / 6;
        const double fy = (y - 22) / 10;
        const double r = std::hypot(fx, fy * (fy < 0 ? 0.8 : 1.3));
        if (r < 1) return {true, Mix(Col{255, 250, 180}, Col{255, 100, 20}, r)};
        return {};
    });
    // Warm glow on the wall.
    for (int y = 0; y < 73; ++y) {
        for (int x = 0; x < 73; ++x) {
            const double d = std::hypot(x - 36.5, y - 24);
            img.Blend(ox + x, oy + y, Col{255, 150, 60}, 0.35 * std::max(0.0, 1 - d / 34));
        }
    }
}

}  // namespace

Image MakeTileSheet() {
    Image img(730, 146);
    // 1: grass on earth (solid ground).
    FillTile(img, 1, [](int x, int y) { return GrassTop(x, y, Earth(x, y, 11)); });
    // 2: deeper earth with roots and pebbles (solid).
    FillTile(img, 2, [](int x, int y) {
        Col c = Scale(Earth(x, y, 12), 0.85);
        const double root = std::fabs(TileFractal(x, y, 0.04, 0.04, 13, 2) - 0.5);
        if (root < 0.012) c = Col{70, 45, 25};
        return c;
    });
    // 3: stone brick wall with a capping course (solid).
    FillTile(img, 3, [](int x, int y) {
        if (y < 12) {
            Col cap = Mix(Col{190, 185, 175}, Col{140, 135, 130}, y / 12.0);
            if (y >= 10) cap = Col{70, 65, 65};
            return cap;
        }
        int id = 0;
        const double mortar = Bricks(x, y - 12, 2, 4, id, 61);
        Col c =
            Mix(Col{120, 115, 120}, Col{165, 160, 160}, TileFractal(x, y, 0.2, 0.2, 30 + id, 2));
        if (mortar > 0) c = Col{60, 55, 60};
        return c;
    });
    // 4: background bricks (passable).
    FillTile(img, 4, [](int x, int y) { return BackWall(x, y, 40); });
    // 5: background wall with a torch (passable).
    FillTile(img, 5, [](int x, int y) { return BackWall(x, y, 41); });
    DrawTorch(img, 73 * 4, 0);
    // 6: background wall with a moonlit window (passable).
    FillTile(img, 6, [](int x, int y) {
        const double dx = x - 36.5;
        const bool arch =
            y > 14 && y < 60 && std::fabs(dx) < 16 && (y > 30 || std::hypot(dx, y - 30) < 16);
        if (arch) {
            if (std::fabs(dx) < 1.5 || std::fabs(y - 40) < 1.5) return Col{50, 40, 40};
            Col sky = Mix(Col{30, 40, 110}, Col{70, 80, 160}, (y - 14) / 46.0);
            if ((x * 13 + y * 7) % 37 == 0) sky = Col{230, 230, 255};
            return sky;
        }
        const bool frame =
            y > 11 && y < 63 && std::fabs(dx) < 19 && (y > 30 || std::hypot(dx, y - 30) < 19);
        if (frame) return Col{95, 85, 100};
        return BackWall(x, y, 42);
    });
    // 7: wooden crate (solid).
    FillTile(img, 7, [](int x, int y) {
        const double grain = TileFractal(x, y, 0.05, 0.5, 70, 3);
        Col c = Mix(Col{150, 95, 45}, Col{205, 145, 75}, grain);
        const int plank = y / 18;
        if (y % 18 < 2) c = Col{90, 55, 25};
        c = Scale(c, 0.92 + 0.08 * (plank % 2));
        const bool border = x < 6 || x > 66 || y < 6 || y > 66;
        const bool brace = std::fabs(x - y) < 4.5 || std::fabs(x + y - 72) < 4.5;
        if (border || brace) c = Mix(Col{120, 75, 35}, Col{180, 120, 60}, grain);
        if ((x == 3 || x == 69) && (y == 3 || y == 69)) c = Col{230, 230, 240};
        return Shade(c, Bevel(x, y, 2) * 0.6);
    });
    // 8: background wall with ivy (passable).
    FillTile(img, 8, [](int x, int y) {
        Col c = BackWall(x, y, 43);
        for (int v = 0; v < 3; ++v) {
            const double cx = 14 + v * 22 + 5 * std::sin(y * 0.12 + v);
            if (std::fabs(x - cx) < 1.6 && y < 30 + v * 17) c = Col{40, 90, 40};
            const double lx = x - cx - 4 * (((y / 8) % 2) * 2 - 1);
            if (std::hypot(lx, std::fmod(y, 8.0) - 4) < 3 && y < 30 + v * 17) {
                c = Mix(Col{50, 110, 50}, Col{90, 160, 80}, TileFractal(x, y, 0.3, 0.3, 44, 1));
            }
        }
        return c;
    });
    // 9: riveted steel block (solid).
    FillTile(img, 9, [](int x, int y) {
        Col c = Mix(Col{110, 120, 135}, Col{160, 170, 185}, TileFractal(x, y, 0.1, 0.02, 90, 2));
        if (x % 36 < 2 || y % 36 < 2) c = Col{70, 75, 90};
        const int rx = x % 36;
        const int ry = y % 36;
        for (int k = 0; k < 4; ++k) {
            const double cx = (k % 2) ? 30 : 7;
            const double cy = (k / 2) ? 30 : 7;
            const double d = std::hypot(rx - cx, ry - cy);
            if (d < 2.6) c = d < 1.4 ? Col{230, 235, 245} : Col{90, 95, 110};
        }
        return Shade(c, Bevel(x, y, 3));
    });
    // 10: bookshelf (passable).
    FillTile(img, 10, [](int x, int y) {
        if (x < 4 || x > 68 || y % 24 < 4) return Col{70, 45, 30};
        const int shelf = y / 24;
        const int book = (x + shelf * 5) / 7;
        const double top = 4 + ((book * 7 + shelf * 3) % 5);
        if (y % 24 < top) return Col{30, 20, 25};
        const Col palette[5] = {
            {120, 40, 40}, {40, 70, 110}, {50, 100, 60}, {120, 100, 40}, {90, 50, 100}};
        Col c = Scale(palette[(book * 3 + shelf) % 5], 0.8);
        if ((x + shelf * 5) % 7 == 0) c = Col{30, 20, 25};
        if (y % 24 == 10 || y % 24 == 18) c = Mix(c, Col{200, 180, 100}, 0.5);
        return c;
    });
    // 11: background wall with a shelf of potion flasks and a cobweb (passable).
    FillTile(img, 11, [](int x, int y) {
        Col c = BackWall(x, y, 45);
        if (y >= 50 && y < 54 && x > 4 && x < 68) return Col{100, 65, 35};
        const Col potions[3] = {{200, 60, 60}, {60, 160, 220}, {120, 220, 90}};
        for (int k = 0; k < 3; ++k) {
            const double cx = 16 + k * 20;
            const double dx = x - cx;
            const bool body = std::hypot(dx, y - 43) < 7;
            const bool neck = std::fabs(dx) < 2.2 && y > 31 && y < 38;
            if (body || neck) {
                Col p = Scale(potions[k], 0.75);
                if (dx < -2 && dx > -4 && y > 38 && y < 46) p = Mix(p, Col{255, 255, 255}, 0.6);
                return p;
            }
        }
        // Cobweb in the upper left corner.
        const double r = std::hypot(x, y);
        const double a = std::atan2(y, x);
        if (r < 26 && (std::fmod(r, 7.0) < 0.8 || std::fmod(a * 8 / kPi + 8, 1.0) < 0.07)) {
            c = Mix(c, Col{200, 200, 215}, 0.5);
        }
        return c;
    });
    // 12: granite block (solid).
    FillTile(img, 12, [](int x, int y) {
        const double n = TileFractal(x, y, 0.18, 0.18, 120, 4);
        Col c = Mix(Col{105, 100, 115}, Col{175, 170, 180}, n);
        if (TileFractal(x, y, 0.6, 0.6, 121, 1) > 0.85) c = Col{210, 205, 215};
        if (SegDist(x, y, 10, 20, 26, 34) < 0.8 || SegDist(x, y, 26, 34, 30, 52) < 0.8) {
            c = Scale(c, 0.5);
        }
        return Shade(c, Bevel(x, y, 4));
    });
    // 13: mossy bricks (solid ground).
    FillTile(img, 13, [](int x, int y) {
        int id = 0;
        const double mortar = Bricks(x, y, 3, 5, id);
        Col c = Mix(Col{140, 90, 70}, Col{185, 125, 95}, TileFractal(x, y, 0.2, 0.2, 130 + id, 2));
        if (mortar > 0) c = Col{70, 50, 45};
        const double moss = 12 + 6 * TileFractal(x, 0, 0.3, 0.1, 131, 1) - y;
        if (moss > 0)
            c = Mix(Col{70, 150, 60}, Col{120, 200, 80}, TileFractal(x, y, 0.5, 0.5, 132, 1));
        else if (moss > -3)
            c = Col{40, 80, 35};
        return c;
    });
    // 14 and 15: pressure platform, raised and pressed.
    for (int pressed = 0; pressed < 2; ++pressed) {
        FillTile(img, 14 + pressed, [pressed](int x, int y) {
            const int plateTop = pressed ? 11 : 3;
            const int plateBottom = 16;
            Col base =
                Mix(Col{90, 95, 105}, Col{140, 145, 155}, TileFractal(x, y, 0.1, 0.1, 140, 2));
            if (y >= plateBottom) {
                if (y < plateBottom + 3) return Col{50, 50, 60};
                if ((x + y) % 16 < 8 && y > 60) base = Mix(base, Col{230, 190, 40}, 0.7);
                return Shade(base, Bevel(x, y, 3) * 0.7);
            }
            if (x > 6 && x < 66 && y >= plateTop) {
                Col plate = pressed ? Col{70, 200, 90} : Col{210, 60, 50};
                if (y == plateTop || y == plateTop + 1) plate = Mix(plate, Col{255, 255, 255}, 0.5);
                if (x < 9 || x > 63) plate = Scale(plate, 0.6);
                return plate;
            }
            return Col{35, 35, 45};
        });
    }
    // 16: ice block (solid).
    FillTile(img, 16, [](int x, int y) {
        Col c = Mix(Col{140, 200, 240}, Col{210, 240, 255}, TileFractal(x, y, 0.08, 0.08, 160, 3));
        if (std::fabs((x + y) % 40 - 10) < 3 && x + y < 60) c = Mix(c, Col{255, 255, 255}, 0.6);
        if (SegDist(x, y, 40, 10, 55, 35) < 0.7) c = Col{100, 160, 210};
        return Shade(c, Bevel(x, y, 3));
    });
    // 17: basalt with glowing veins (solid).
    FillTile(img, 17, [](int x, int y) {
        const double n = TileFractal(x, y, 0.14, 0.14, 170, 4);
        Col c = Mix(Col{35, 30, 35}, Col{85, 75, 80}, n);
        const double vein = std::fabs(TileFractal(x, y, 0.05, 0.05, 171, 3) - 0.5);
        if (vein < 0.02) c = Mix(Col{255, 200, 60}, Col{255, 80, 20}, vein / 0.02);
        return Shade(c, Bevel(x, y, 3) * 0.7);
    });
    // 18: board housing: the bar rises out of the slot at x 26..44.
    FillTile(img, 18, [](int x, int y) {
        Col c = Mix(Col{80, 85, 100}, Col{130, 135, 150}, TileFractal(x, y, 0.1, 0.1, 180, 2));
        if (x >= 24 && x < 46 && y < 16) {
            return y < 2 ? Col{160, 160, 170} : Mix(Col{15, 15, 20}, Col{50, 50, 60}, y / 16.0);
        }
        if (y > 58 && ((x + y) / 6) % 2 == 0) c = Col{230, 180, 30};
        if (y > 58 && ((x + y) / 6) % 2 == 1) c = Col{40, 40, 45};
        for (double bx : {8.0, 64.0}) {
            if (std::hypot(x - bx, y - 30) < 3) c = Col{220, 220, 230};
        }
        return Shade(c, Bevel(x, y, 3));
    });
    // 19: background pillar (passable).
    FillTile(img, 19, [](int x, int y) {
        const double dx = (x - 36.5) / 18;
        if (std::fabs(dx) < 1) {
            const double l = 0.3 + 0.5 * std::sqrt(1 - dx * dx) - 0.2 * dx;
            Col c = Mix(Col{45, 42, 65}, Col{110, 105, 140}, l);
            if (std::fmod(x - 18.5, 9.0) < 1) c = Scale(c, 0.7);
            return c;
        }
        return BackWall(x, y, 46);
    });
    // 20: background wall with glowing mushrooms (passable).
    FillTile(img, 20, [](int x, int y) {
        Col c = BackWall(x, y, 47);
        const double caps[3][3] = {{18, 58, 9}, {40, 64, 6}, {56, 55, 8}};
        for (const auto& m : caps) {
            const double dx = x - m[0];
            if (std::fabs(dx) < 2 && y > m[1] && y < 73) c = Col{200, 210, 190};
            if (y < m[1] + 1 && std::hypot(dx, (y - m[1]) * 1.6) < m[2]) {
                c = Mix(Col{120, 255, 220}, Col{40, 160, 200}, std::hypot(dx, y - m[1]) / m[2]);
            }
        }
        return c;
    });
    return img;
}

Image MakeCanvas() {
    return Image(804, 658);
}

namespace {

Col SkyColor(int x, int y, uint32_t seed) {
    const double t = y / 480.0;
    Col c = Mix(Col{12, 14, 48}, Col{70, 40, 110}, std::pow(t, 1.4));
    const double cloud = Fractal(x * 0.008, y * 0.02, seed, 4);
    if (cloud > 0.55) c = Mix(c, Col{90, 80, 140}, (cloud - 0.55) * 1.2);
    return c;
}

void DrawSky(Image& img, uint32_t seed, double moonX, double moonY) {
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x)
            img.Set(x, y, SkyColor(x, y, seed));
    }
    Rng rng(seed);
    for (int i = 0; i < 260; ++i) {
        const int x = rng.Below(img.width);
        const int y = rng.Below(img.height * 2 / 3);
        const double b = 0.4 + 0.6 * rng.Next();
        img.Blend(x, y, Col{255, 255, 240}, b);
        if (b > 0.93) {
            img.Blend(x + 1, y, Col{255, 255, 240}, b * 0.5);
            img.Blend(x - 1, y, Col{255, 255, 240}, b * 0.5);
            img.Blend(x, y + 1, Col{255, 255, 240}, b * 0.5);
            img.Blend(x, y - 1, Col{255, 255, 240}, b * 0.5);
        }
    }
    // Moon with a halo and craters.
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const double d = std::hypot(x - moonX, y - moonY);
            if (d < 130) img.Blend(x, y, Col{200, 190, 255}, 0.25 * std::pow(1 - d / 130, 2));
        }
    }
    DrawSmooth(img, static_cast<int>(moonX) - 40, static_cast<int>(moonY) - 40, 80, 80,
               [](double x, double y) -> Sample {
                   const double d = std::hypot(x - 40, y - 40);
                   if (d > 34) return {};
                   Col c = Mix(Col{255, 250, 225}, Col{215, 205, 180}, d / 34);
                   if (std::hypot(x - 30, y - 32) < 6 || std::hypot(x - 50, y - 48) < 8 ||
                       std::hypot(x - 44, y - 24) < 3.5) {
                       c = Scale(c, 0.85);
                   }
                   return {true, c};
               });
}

// Height of the far hills of the parallax strip, measured from the strip's top.
double HillLine(double x) {
    return 110 + 38 * std::sin(x * 0.0041 + 1) + 22 * std::sin(x * 0.0113 + 2) +
           12 * (Fractal(x * 0.02, 0.5, 600, 3) - 0.5) * 2;
}

// One pixel of the parallax strip; black (see-through) above the hills.
Col StripPixel(int x, int y) {
    const double hill = HillLine(x) + 20;
    // Pine trees on the ridge.
    const double spacing = 23;
    const double k = std::floor(x / spacing);
    const double treeX = k * spacing + 11 + 6 * (Noise(k, 3, 601) - 0.5);
    const double treeH = 28 + 26 * Noise(k, 7, 602);
    const double treeBase = HillLine(treeX) + 26;
    const double ty = treeBase - y;
    const bool tree = Noise(k, 11, 603) > 0.3 && ty > 0 && ty < treeH &&
                      std::fabs(x - treeX) < (treeH - ty) * 0.32 * (0.8 + 0.2 * std::sin(ty * 0.9));
    // A wizard's tower on a hill, with lit windows.
    const double towerX = 1180;
    const double towerFoot = HillLine(towerX) + 30;
    const bool towerBody = std::fabs(x - towerX) < 13 && y > towerFoot - 70 && y < towerFoot;
    const bool towerRoof = y <= towerFoot - 70 && y > towerFoot - 100 &&
                           std::fabs(x - towerX) < (y - (towerFoot - 100)) * 0.55;
    if (towerBody || towerRoof) {
        const double wy = y - (towerFoot - 62);
        if (towerBody && std::fabs(x - towerX) < 3 && std::fmod(wy + 96, 24.0) < 8 && wy < 40) {
            return Col{255, 210, 100};
        }
        return towerRoof ? Col{50, 30, 70} : Col{30, 28, 48};
    }
    if (tree) return Mix(Col{16, 44, 40}, Col{22, 60, 50}, ty / treeH);
    if (y < hill) return Col{0, 0, 0};
    const double t = std::clamp((y - hill) / 120.0, 0.0, 1.0);
    Col c = Mix(Col{34, 62, 70}, Col{16, 30, 40}, t);
    c = Scale(c, 0.85 + 0.3 * Fractal(x * 0.03, y * 0.03, 604, 3));
    if (y - hill < 2) c = Mix(c, Col{120, 130, 190}, 0.5);
    return c;
}

}  // namespace

Image MakeBackground() {
    Image img(640, 480);
    DrawSky(img, 500, 500, 95);
    // Distant mountains behind the parallax hills.
    for (int x = 0; x < 640; ++x) {
        const double top = 250 + 50 * std::sin(x * 0.011) + 25 * std::sin(x * 0.031 + 1);
        for (int y = static_cast<int>(top); y < 480; ++y) {
            img.Set(x, y, Mix(Col{44, 40, 90}, Col{28, 26, 60}, (y - top) / 200));
        }
    }
    return img;
}

Image MakeLowDetailBackground() {
    Image img = MakeBackground();
    for (int y = 0; y < 251; ++y) {
        for (int x = 0; x < 640; ++x) {
            const Col c = StripPixel(x, y);
            if (c.r + c.g + c.b > 0) img.Set(x, y + 229, c);
        }
    }
    return img;
}

Image MakeParallaxStrip() {
    Image img(1638, 251);
    for (int y = 0; y < 251; ++y) {
        for (int x = 0; x < 1638; ++x)
            img.Set(x, y, StripPixel(x, y));
    }
    return img;
}

namespace {

// Big title lettering with a dark rim and a drop shadow.
void DrawTitleText(Image& img, const std::string& text, double x, double y, double cw, double ch,
                   double rad, double advance, Col top, Col bottom) {
    const Shader letters = TextShader(text, x, y, cw, ch, rad, advance, top, bottom);
    const double w = advance * static_cast<double>(text.size()) + 2 * rad + 20;
    const int x0 = static_cast<int>(x - rad - 8);
    const int y0 = static_cast<int>(y - ch * 0.5 - rad);
    const int h = static_cast<int>(ch * 1.6 + 2 * rad + 16);
    DrawSmooth(img, x0, y0, static_cast<int>(w), h, [&](double px, double py) -> Sample {
        const Sample s = letters(px + x0 - 5, py + y0 - 6);
        if (s.inside) return {true, Col{10, 5, 25}};
        return {};
    });
    DrawSmooth(img, x0, y0, static_cast<int>(w), h, [&](double px, double py) -> Sample {
        for (int k = 0; k < 8; ++k) {
            const double a = k * kPi / 4;
            if (letters(px + x0 + 3 * std::cos(a), py + y0 + 3 * std::sin(a)).inside) {
                return {true, Col{40, 15, 60}};
            }
        }
        return {};
    });
    DrawSmooth(img, x0, y0, static_cast<int>(w), h,
               [&](double px, double py) { return letters(px + x0, py + y0); });
}

void DrawHills(Image& img, int top) {
    for (int y = 0; y < 251; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const Col c = StripPixel(x + 300, y);
            if (c.r + c.g + c.b > 0 && y + top < img.height) img.Set(x, y + top, c);
        }
    }
}

}  // namespace

Image MakeTitlePicture() {
    Image img(640, 480);
    DrawSky(img, 510, 38, 160);
    DrawHills(img, 260);
    DrawTitleText(img, "ZORVIK", 60, 22, 44, 78, 9, 88, Col{255, 250, 170}, Col{240, 110, 30});
    // The hero on the left, beside the herb it is looking for.
    BottlePose hero;
    hero.axisX = 95;
    hero.baseY = 455;
    hero.scale = 3.1;
    hero.face = 0.45;
    hero.tilt = 4 * kPi / 180;
    DrawSmooth(img, 0, 145, 190, 335, Scaled(BottleShader(hero), 1, 0, -145));
    DrawSmooth(img, 0, 400, 190, 80, Scaled(HerbShader(0, 0), 1.3, 110, 407 - 400));
    DrawSmooth(img, 0, 400, 190, 80, Scaled(StarShader(2, 3, 0, 0), 0.8, 25, 30));
    return img;
}

Image MakeVictoryPicture() {
    Image img(640, 480);
    DrawSky(img, 520, 110, 120);
    DrawHills(img, 250);
    // Rays of light behind the herb.
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            const double a = std::atan2(y - 330, x - 400);
            const double d = std::hypot(x - 400, y - 330);
            const double ray = std::pow(std::max(0.0, std::cos(a * 12)), 6);
            img.Blend(x, y, Col{255, 230, 150}, 0.35 * ray * std::max(0.0, 1 - d / 330));
        }
    }
    DrawSmooth(img, 280, 200, 240, 240, Scaled(HerbShader(0, 0), 4, 0, 240 - 45 * 4 - 10));
    BottlePose hero;
    hero.axisX = 190;
    hero.baseY = 430;
    hero.scale = 3.0;
    hero.face = 0.9;
    hero.tilt = -8 * kPi / 180;
    hero.glow = 0.6;
    DrawSmooth(img, 60, 150, 260, 290, Scaled(BottleShader(hero), 1, -60, -150));
    Rng rng(530);
    for (int i = 0; i < 14; ++i) {
        const int kind = i % 3;
        const double x = 40 + rng.Next() * 560;
        const double y = 60 + rng.Next() * 120;
        DrawSmooth(img, static_cast<int>(x), static_cast<int>(y), 45, 44,
                   StarShader(kind, rng.Below(10), 22.5, 22, 0.6 + 0.4 * rng.Next()));
    }
    return img;
}

namespace {

void DrawArrow(Image& img, int ox, int oy, int dir) {
    DrawSprite(img, ox + 16, oy + 58, 41, 13, [dir](double x, double y) -> Sample {
        const double u = dir > 0 ? x : 41 - x;
        const bool shaft = u > 3 && u < 30 && std::fabs(y - 6.5) < 2;
        const bool head = u >= 28 && u < 39 && std::fabs(y - 6.5) < (39 - u) * 0.55;
        if (shaft || head) return {true, Col{255, 240, 120}};
        return {};
    });
}

}  // namespace

Image MakeEditorSheet() {
    Image img(730, 292);
    const Image tiles = MakeTileSheet();
    auto cell = [](int k, int& x, int& y) {
        x = 73 * (k % 10);
        y = 73 * (k / 10);
    };
    const int tileOf[17] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18};
    for (int k = 0; k < 17; ++k) {
        int x = 0;
        int y = 0;
        cell(k, x, y);
        const int t = tileOf[k];
        img.Paste(tiles, 73 * ((t - 1) % 10), 73 * ((t - 1) / 10), 73, 73, x, y);
    }
    for (int k = 17; k < 32; ++k) {
        int x = 0;
        int y = 0;
        cell(k, x, y);
        for (int yy = 0; yy < 73; ++yy) {
            for (int xx = 0; xx < 73; ++xx) {
                img.Set(x + xx, y + yy, Mix(Col{30, 30, 44}, Col{44, 44, 62}, yy / 73.0));
            }
        }
    }
    auto sprite = [&](int k, int w, int h, const Shader& s) {
        int x = 0;
        int y = 0;
        cell(k, x, y);
        DrawSprite(img, x + (73 - w) / 2, y + (73 - h) / 2, w, h, s);
    };
    sprite(17, 52, 68, SignpostShader(false, 0, 0));
    sprite(18, 52, 68, SignpostShader(true, 0, 0));
    sprite(19, 45, 44, StarShader(0, 0, 22.5, 22));
    sprite(20, 45, 44, StarShader(1, 0, 22.5, 22));
    sprite(21, 45, 44, StarShader(2, 0, 22.5, 22));
    sprite(22, 34, 52, RefillShader(3, 17, 26, 1.5));
    sprite(23, 60, 60, StoneShader(0, 30, 30, 27));
    sprite(24, 64, 65, FlexEnemyShader(0, 0, 0));
    sprite(25, 64, 65, FlexEnemyShader(0, 0, 0));
    sprite(26, 55, 71, FigureShader(false, 3, -1, 23, 69, 0.78));
    sprite(27, 55, 71, FigureShader(false, 3, 1, 23, 69, 0.78));
    BottlePose left;
    left.face = -0.6;
    left.axisX = 27;
    left.baseY = 62;
    left.scale = 0.75;
    BottlePose right = left;
    right.face = 0.6;
    sprite(28, 54, 66, BottleShader(left));
    sprite(29, 54, 66, BottleShader(right));
    // Level exit: a glowing doorway.
    sprite(30, 50, 66, [](double x, double y) -> Sample {
        const double dx = x - 25;
        const bool inner = y > 8 && std::fabs(dx) < 16 && (y > 24 || std::hypot(dx, y - 24) < 16);
        const bool outer = y > 3 && std::fabs(dx) < 22 && (y > 24 || std::hypot(dx, y - 24) < 21);
        if (inner) {
            const double t = std::hypot(dx, y - 40) / 28;
            return {true, Mix(Col{255, 255, 220}, Col{120, 60, 220}, t)};
        }
        if (outer) return {true, Mix(Col{120, 110, 130}, Col{70, 65, 80}, y / 66)};
        return {};
    });
    sprite(31, 60, 45, HerbShader(0, 0));
    int x = 0;
    int y = 0;
    cell(24, x, y);
    DrawArrow(img, x, y, -1);
    cell(25, x, y);
    DrawArrow(img, x, y, 1);
    cell(26, x, y);
    DrawArrow(img, x, y, -1);
    cell(27, x, y);
    DrawArrow(img, x, y, 1);
    cell(28, x, y);
    DrawArrow(img, x, y, -1);
    cell(29, x, y);
    DrawArrow(img, x, y, 1);
    return img;
}

}  // namespace assetgen
