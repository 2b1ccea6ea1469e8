// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop icons: the bottle in front of a night-sky disc for the game, the bottle on a
// squared sheet with a pencil for the editor. Drawn in a 100 x 100 design box at any size,
// 4 x 4 samples a pixel, with straight alpha.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Assets.h"
#include "Sprites.h"

namespace assetgen {

namespace {

// Night-sky disc behind the game's bottle.
Sample SkyDisc(double x, double y) {
    const double d = std::hypot(x - 50, y - 50);
    if (d > 47) return {};
    if (d > 44.5) return {true, Col{240, 200, 90}};  // golden rim
    return {true, Mix(Col{30, 20, 70}, Col{50, 90, 160}, std::clamp((y - 8) / 84, 0.0, 1.0))};
}

// Squared paper with a dark frame behind the editor's bottle.
Sample GridSheet(double x, double y) {
    const double inset = 5;
    if (x < inset || y < inset || x > 100 - inset || y > 100 - inset) return {};
    // Rounded corners of radius 10.
    const double cx = std::clamp(x, inset + 10, 100 - inset - 10);
    const double cy = std::clamp(y, inset + 10, 100 - inset - 10);
    if (std::hypot(x - cx, y - cy) > 10) return {};
    if (std::hypot(x - cx, y - cy) > 7.5 || x < inset + 2.5 || y < inset + 2.5 ||
        x > 100 - inset - 2.5 || y > 100 - inset - 2.5) {
        return {true, Col{40, 50, 80}};
    }
    const double cell = 15;
    const double gx = std::fmod(x - inset, cell);
    const double gy = std::fmod(y - inset, cell);
    if (gx < 1.3 || gy < 1.3) return {true, Col{120, 160, 220}};
    return {true, Col{238, 242, 248}};
}

// A pencil from its tip at (tipX, tipY) up and to the right.
Sample Pencil(double x, double y) {
    const double tipX = 46, tipY = 86;
    const double ax = 0.62, ay = -0.78;                   // along the pencil, towards the eraser
    const double u = (x - tipX) * ax + (y - tipY) * ay;   // distance from the tip
    const double v = -(x - tipX) * ay + (y - tipY) * ax;  // across
    const double half = 6.5;
    if (u < 0 || u > 84) return {};
    if (u < 14) {  // the sharpened cone
        const double w = half * u / 14;
        if (std::fabs(v) > w) return {};
        return {true, u < 5 ? Col{50, 50, 60} : Col{230, 190, 140}};
    }
    if (std::fabs(v) > half) return {};
    if (u > 74) return {true, Col{235, 120, 140}};  // eraser
    if (u > 69) return {true, Col{190, 190, 200}};  // metal band
    const double light = 0.75 + 0.25 * (1 - std::fabs(v + 2) / half);
    return {true, Scale(v < -2 ? Col{255, 215, 70} : Col{240, 180, 40}, light)};
}

}  // namespace

std::vector<uint8_t> MakeIconRgba(bool editor, int size) {
    BottlePose pose;
    std::vector<Shader> layers;  // front first
    if (editor) {
        pose.axisX = 36;
        pose.baseY = 84;
        pose.tilt = 0.12;
        pose.scale = 0.85;
        layers = {Pencil, BottleShader(pose), GridSheet};
    } else {
        pose.axisX = 47;
        pose.baseY = 93;
        pose.tilt = 0.22;
        pose.scale = 1.05;
        layers = {BottleShader(pose), StarShader(0, 3, 72, 29, 0.8), SkyDisc};
    }
    constexpr int kSamples = 4;
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * static_cast<size_t>(size) * 4);
    const double unit = 100.0 / size;
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            Col sum;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double x = (px + (sx + 0.5) / kSamples) * unit;
                    const double y = (py + (sy + 0.5) / kSamples) * unit;
                    for (const Shader& layer : layers) {
                        const Sample s = layer(x, y);
                        if (!s.inside) continue;
                        sum = Add(sum, s.color);
                        ++covered;
                        break;
                    }
                }
            }
            uint8_t* out = &rgba[(static_cast<size_t>(py) * static_cast<size_t>(size) +
                                  static_cast<size_t>(px)) *
                                 4];
            if (covered == 0) continue;
            const Col c = Scale(sum, 1.0 / covered);
            out[0] = static_cast<uint8_t>(std::clamp(std::lround(c.r), 0L, 255L));
            out[1] = static_cast<uint8_t>(std::clamp(std::lround(c.g), 0L, 255L));
            out[2] = static_cast<uint8_t>(std::clamp(std::lround(c.b), 0L, 255L));
            out[3] = static_cast<uint8_t>(covered * 255 / (kSamples * kSamples));
        }
    }
    return rgba;
}

}  // namespace assetgen
