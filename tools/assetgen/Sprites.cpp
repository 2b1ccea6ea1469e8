// SPDX-License-Identifier: GPL-3.0-or-later
// Shape shaders of the bottle, the pickups, the stones, the gear, the signposts, the herb, the
// two enemies and the lettering. Each returns, for a point, whether it is inside and its colour.
#include "Sprites.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace assetgen {

namespace {

const Col kWhite{255, 255, 255};

double Smooth(double t) {
    t = std::clamp(t, 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Half width of the bottle's glass at height v above its base; negative outside.
double BottleHalfWidth(double v) {
    if (v < 0 || v > 75) return -1;
    if (v < 3) return 10 + std::sqrt(std::max(0.0, 9 - (3 - v) * (3 - v)));
    if (v < 44) return 13;
    if (v < 56) return 5 + 8 * (1 + std::cos(kPi * (v - 44) / 12)) / 2;
    if (v < 72) return 5;
    return 6.2;
}

// Light from the upper left and front, for a point at n (-1..1) across a cylinder.
double CylinderLight(double n) {
    const double front = std::sqrt(std::max(0.0, 1 - n * n));
    return 0.35 + 0.65 * std::clamp(0.85 * front - 0.45 * n, 0.0, 1.0);
}

}  // namespace

Shader Scaled(const Shader& shader, double s, double dx, double dy) {
    return [shader, s, dx, dy](double x, double y) { return shader((x - dx) / s, (y - dy) / s); };
}

Shader BottleShader(const BottlePose& p) {
    const double c = std::cos(p.tilt);
    const double s = std::sin(p.tilt);
    return [p, c, s](double x, double y) -> Sample {
        const double dx = (x - p.axisX) / p.scale;
        const double dy = (p.baseY - y) / p.scale;
        double u = dx * c - dy * s;
        double v = dx * s + dy * c;
        v /= p.stretch;
        u *= std::sqrt(p.stretch);

        if (p.glow > 0) {
            const double d = std::hypot(u, v - 78);
            const double radius = 2 + 6.5 * p.glow;
            if (d < radius) {
                const double t = d / radius;
                return {true, Mix(Col{255, 250, 190}, Col{255, 120, 30}, t)};
            }
        }
        // Cork.
        if (v >= 74 && v < 80 && std::fabs(u) < 4.3) {
            const double l = CylinderLight(u / 4.3);
            Col cork = Mix(Col{90, 55, 30}, Col{200, 140, 80}, l);
            if (v > 78.8) cork = Mix(cork, Col{230, 180, 120}, 0.4);
            return {true, cork};
        }
        const double hw = BottleHalfWidth(v);
        if (hw <= 0 || std::fabs(u) > hw) return {};
        const double n = u / hw;
        const double light = CylinderLight(n);
        Col col = Mix(Col{18, 80, 55}, Col{90, 200, 140}, light);

        // Liquid: its surface stays level with the world while the bottle leans.
        const double level = 34 + u * std::tan(p.tilt) + p.slosh * 2.2 * std::sin(u * 0.35);
        if (v > 2.5 && std::fabs(n) < 0.86 && v < level) {
            col = Mix(Col{70, 20, 110}, Col{200, 90, 240}, light);
            if (level - v < 1.6) col = Mix(col, Col{255, 200, 255}, 0.55);
            // Bubbles.
            const double bx = std::fmod(std::fabs(u * 7.1 + v * 3.3), 11.0);
            if (bx < 0.9 && std::fmod(v, 9.0) < 1.0) col = Mix(col, kWhite, 0.5);
        }

        // Label with the face, turned towards `face` on the cylinder.
        const double alpha = std::asin(std::clamp(n, -1.0, 1.0));
        if (v > 11 && v < 34 && std::fabs(alpha - p.face) < 0.85) {
            Col paper = Mix(Col{150, 125, 80}, Col{250, 238, 195}, light);
            if (v < 12.6 || v > 32.4) paper = Col{150, 70, 40};
            col = paper;
            const double sideways = p.face > 0 ? 1 : -1;
            for (double e : {p.face - 0.32, p.face + 0.32}) {
                if (std::fabs(e) > 1.4) continue;
                const double ex = 13 * std::sin(e);
                const double rx = 3.3 * std::cos(e) + 0.5;
                const double q =
                    ((u - ex) / rx) * ((u - ex) / rx) + ((v - 25) / 4.2) * ((v - 25) / 4.2);
                if (q < 1.0) {
                    col = Col{252, 252, 252};
                    const double px = ex + sideways * rx * 0.38;
                    const double pq = ((u - px) / (rx * 0.55)) * ((u - px) / (rx * 0.55)) +
                                      ((v - 24.6) / 2.4) * ((v - 24.6) / 2.4);
                    if (pq < 1.0) col = Col{30, 22, 48};
                    if (std::hypot(u - px + 0.6, v - 25.6) < 0.7) col = kWhite;
                } else if (q < 1.45) {
                    col = Col{60, 40, 30};
                }
            }
            const double mx = 13 * std::sin(p.face);
            const double mw = 3.4 * std::cos(p.face) + 0.4;
            const double t = (u - mx) / mw;
            if (std::fabs(t) < 1 && std::fabs(v - (18.4 + 1.6 * t * t)) < 0.75)
                col = Col{150, 40, 50};
        }

        // Glass edge, base and highlights.
        if (std::fabs(n) > 0.86) col = Scale(col, 0.62);
        if (v < 1.4) col = Mix(col, Col{20, 70, 50}, 0.6);
        if (n > -0.7 && n < -0.46 && v > 6 && v < 42) col = Mix(col, kWhite, 0.78);
        if (n > -0.72 && n < -0.3 && v > 50 && v < 71) col = Mix(col, kWhite, 0.6);
        if (n > 0.52 && n < 0.64 && v > 10 && v < 30) col = Mix(col, kWhite, 0.35);
        if (v > 72.4 && v < 73.6) col = Mix(col, kWhite, 0.4);
        return {true, col};
    };
}

Shader StarShader(int kind, int frame, double cx, double cy, double scale) {
    const int points = kind == 0 ? 5 : kind == 1 ? 6 : 8;
    const double outer = (kind == 0   ? 14.5
                          : kind == 1 ? 17.5
                                      : 20.5) *
                         (1 + 0.05 * std::sin(2 * kPi * frame / 10.0)) * scale;
    const double inner = outer * (kind == 2 ? 0.55 : 0.46);
    const double rot = frame * (2 * kPi / points) / 10.0 - kPi / 2;
    const Col light = kind == 0   ? Col{255, 240, 120}
                      : kind == 1 ? Col{170, 240, 255}
                                  : Col{255, 160, 230};
    const Col dark = kind == 0   ? Col{225, 140, 20}
                     : kind == 1 ? Col{40, 110, 235}
                                 : Col{200, 30, 120};
    const Col gem = kind == 0   ? Col{255, 255, 210}
                    : kind == 1 ? Col{230, 255, 255}
                                : Col{255, 230, 120};
    const double glint = std::max(0.0, std::sin(2 * kPi * (frame - 2) / 10.0));
    return [=](double x, double y) -> Sample {
        const double dx = x - cx;
        const double dy = y - cy;
        const double r = std::hypot(dx, dy);
        const double seg = 2 * kPi / points;
        double a = std::atan2(dy, dx) - rot;
        a = std::fmod(a + 100 * seg, seg);
        if (a > seg / 2) a -= seg;
        const bool leftFacet = a < 0;
        const double phi = std::fabs(a);
        // Straight edge from the tip (outer, 0) to the valley (inner, seg / 2).
        const double vx = inner * std::cos(seg / 2);
        const double vy = inner * std::sin(seg / 2);
        const double px = r * std::cos(phi);
        const double py = r * std::sin(phi);
        const double side = (vx - outer) * (py - 0) - (vy - 0) * (px - outer);
        const double originSide = (vx - outer) * (0 - 0) - (vy - 0) * (0 - outer);
        const bool inside = side * originSide >= 0;
        // A twinkle: a thin four-pointed sparkle upper right.
        const double gx = dx - outer * 0.55;
        const double gy = dy + outer * 0.55;
        const double spark = glint * outer * 0.5;
        if (spark > 1 && ((std::fabs(gx) < 0.9 && std::fabs(gy) < spark) ||
                          (std::fabs(gy) < 0.9 && std::fabs(gx) < spark))) {
            return {true, kWhite};
        }
        if (!inside) return {};
        const double t = std::clamp(r / outer, 0.0, 1.0);
        Col col = leftFacet ? Mix(light, dark, 0.25 + 0.5 * t) : Mix(light, dark, 0.05 + 0.3 * t);
        if (kind == 2 && r < inner * 0.62) col = Mix(gem, Col{255, 140, 40}, r / (inner * 0.62));
        if (kind != 2 && r < inner * 0.4) col = Mix(gem, light, r / (inner * 0.4));
        return {true, col};
    };
}

Shader RefillShader(int frame, double cx, double cy, double scale) {
    const double rot = 2 * kPi * frame / 20.0;
    return [=](double x, double y) -> Sample {
        const double dx = (x - cx) / scale;
        const double dy = (y - cy) / scale;
        // Orbiting spark, hidden while it passes behind the crystal.
        const double sa = rot * 2;
        const double sx = 9 * std::cos(sa);
        const double sy = 3 * std::sin(sa) - 1;
        const bool behind = std::sin(sa) < 0;
        const double halfH = 13.5;
        const double halfW = 7.5 * (1 - std::fabs(dy) / halfH);
        const bool inCrystal = std::fabs(dy) < halfH && std::fabs(dx) < halfW;
        if (std::hypot(dx - sx, dy - sy) < 1.5 && !(behind && inCrystal)) {
            return {true, Col{255, 255, 220}};
        }
        if (!inCrystal) return {};
        const double phi = std::asin(std::clamp(dx / halfW, -1.0, 1.0)) + rot;
        const double facet = std::floor(phi / (kPi / 3));
        const double normal = (facet + 0.5) * kPi / 3 - rot;
        const double l = 0.35 + 0.65 * std::max(0.0, std::cos(normal + 0.6));
        Col col = Mix(Col{170, 50, 10}, Col{255, 170, 50}, l);
        if (dy < 0) col = Mix(col, Col{255, 240, 160}, 0.35);
        if (std::fabs(dy) < 0.8) col = Mix(col, Col{255, 250, 220}, 0.5);
        return {true, col};
    };
}

Shader StoneShader(int frame, double cx, double cy, double radius) {
    const double a = frame * 2 * kPi / 15.0;
    const double ca = std::cos(-a);
    const double sa = std::sin(-a);
    return [=](double x, double y) -> Sample {
        const double dx = x - cx;
        const double dy = y - cy;
        const double r = std::hypot(dx, dy);
        // Slightly lumpy outline that turns with the stone.
        const double ang = std::atan2(dy, dx) - a;
        const double edge = radius * (1 - 0.05 * (1 + std::sin(ang * 5 + 1.3)) / 2);
        if (r > edge) return {};
        const double nx = dx / radius;
        const double ny = dy / radius;
        const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
        const double l = std::clamp(-0.5 * nx - 0.55 * ny + 0.67 * nz, 0.0, 1.0);
        const double tx = dx * ca - dy * sa;
        const double ty = dx * sa + dy * ca;
        const double tex = Fractal(tx * 0.28 + 20, ty * 0.28 + 20, 77, 3);
        Col col = Mix(Col{55, 50, 48}, Col{175, 165, 150}, 0.25 + 0.75 * l);
        col = Scale(col, 0.8 + 0.4 * tex);
        // A crack and two pale spots that show the rotation.
        if (SegDist(tx, ty, -6, -4, 1, 1) < 0.9 || SegDist(tx, ty, 1, 1, 3, 7) < 0.8) {
            col = Scale(col, 0.45);
        }
        if (std::hypot(tx - 5, ty + 5) < 2.2 || std::hypot(tx + 4, ty - 6) < 1.6) {
            col = Mix(col, Col{215, 205, 180}, 0.6);
        }
        return {true, col};
    };
}

Shader GearShader(int frame, double cx, double cy) {
    const double rot = frame * (2 * kPi / 8) / 6.0;
    return [=](double x, double y) -> Sample {
        const double dx = x - cx;
        const double dy = y - cy;
        const double r = std::hypot(dx, dy);
        const double seg = 2 * kPi / 8;
        double a = std::fmod(std::atan2(dy, dx) - rot + 100 * seg, seg);
        if (a > seg / 2) a -= seg;
        const double toothHalf = 0.2 + 0.12 * std::clamp((22 - r) / 4, 0.0, 1.0);
        const bool tooth = std::fabs(a) < toothHalf && r < 22.5;
        if (!(r < 18 || tooth)) return {};
        if (r < 3) return {};  // axle hole
        // Four windows between hub and rim.
        const double seg4 = 2 * kPi / 4;
        double b = std::fmod(std::atan2(dy, dx) - rot + 100 * seg4, seg4);
        if (b > seg4 / 2) b -= seg4;
        if (r > 8 && r < 14 && std::fabs(b) > 0.28 && std::fabs(b) < 1.1) return {};
        const double l = std::clamp(0.55 - 0.025 * dx - 0.025 * dy, 0.0, 1.0);
        Col col = Mix(Col{70, 70, 85}, Col{215, 215, 230}, l);
        if (r < 7) col = Mix(Col{150, 110, 40}, Col{240, 200, 90}, l);
        if (std::fabs(r - 17) < 0.7 || std::fabs(r - 7.5) < 0.6) col = Scale(col, 0.65);
        return {true, col};
    };
}

Shader SignpostShader(bool red, double ox, double oy, double scale) {
    return [=](double xx, double yy) -> Sample {
        const double x = (xx - ox) / scale;
        const double y = (yy - oy) / scale;
        const Col woodDark{95, 60, 30};
        const Col wood{165, 115, 60};
        // Lantern on top of the active signpost.
        if (red) {
            const double fl = std::hypot((x - 26) / 4.5, (y - 5.5) / 5.5);
            if (fl < 1) return {true, Mix(Col{255, 250, 170}, Col{255, 90, 20}, fl)};
        }
        // Sign board: an arrow pointing right.
        if (y > 12 && y < 34 && x > 3 && x < 50 - std::fabs(y - 23) * 0.6) {
            {
                const double grain = std::sin(y * 1.7 + std::sin(x * 0.3) * 1.5);
                Col c = red ? Mix(Col{150, 20, 20}, Col{240, 60, 50}, 0.5 + 0.3 * grain)
                            : Mix(woodDark, wood, 0.55 + 0.3 * grain);
                if (y < 14.5) c = Mix(c, kWhite, 0.3);
                if (y > 31.5 || x < 5.5) c = Scale(c, 0.6);
                // Arrow emblem.
                const bool arrow =
                    (std::fabs(y - 23) < 2 && x > 12 && x < 32) ||
                    (x >= 30 && x < 38 - std::fabs(y - 23) * 1.0 && std::fabs(y - 23) < 7);
                if (arrow) c = red ? Col{255, 235, 200} : Col{70, 40, 20};
                return {true, c};
            }
        }
        // Post.
        if (x > 22.5 && x < 29.5 && y > 10 && y < 67) {
            const double l = (x - 22.5) / 7;
            Col c =
                red ? Mix(Col{120, 60, 30}, Col{200, 120, 60}, 1 - l) : Mix(woodDark, wood, 1 - l);
            if (std::fmod(y, 9) < 0.8) c = Scale(c, 0.75);
            return {true, c};
        }
        // Foot stones.
        if (y > 61 && y < 67 && std::fabs(x - 26) < 11 - (67 - y) * 0.8) {
            return {true, Mix(Col{90, 90, 95}, Col{160, 160, 165}, (67 - y) / 6)};
        }
        return {};
    };
}

Shader HerbShader(double ox, double oy, double scale) {
    return [=](double xx, double yy) -> Sample {
        const double x = (xx - ox) / scale;
        const double y = (yy - oy) / scale;
        // Flowers.
        const std::array<std::array<double, 2>, 3> flowers = {{{30, 6}, {15, 13}, {46, 12}}};
        for (const auto& f : flowers) {
            const double dx = x - f[0];
            const double dy = y - f[1];
            const double r = std::hypot(dx, dy);
            const double petals = 4.2 + 1.2 * std::cos(5 * std::atan2(dy, dx));
            if (r < 1.8) return {true, Col{255, 230, 90}};
            if (r < petals) return {true, Mix(Col{250, 200, 255}, Col{170, 70, 220}, r / petals)};
        }
        // Leaves: ellipses along three stems.
        const std::array<std::array<double, 5>, 8> leaves = {{{22, 30, 8, 3.2, 0.6},
                                                              {38, 30, 8, 3.2, -0.6},
                                                              {20, 21, 7, 2.8, 0.9},
                                                              {40, 22, 7, 2.8, -0.9},
                                                              {27, 16, 6, 2.6, 1.2},
                                                              {34, 16, 6, 2.6, -1.2},
                                                              {12, 32, 7, 2.8, 0.2},
                                                              {48, 32, 7, 2.8, -0.2}}};
        for (const auto& l : leaves) {
            const double dx = x - l[0];
            const double dy = y - l[1];
            const double c = std::cos(l[4]);
            const double s = std::sin(l[4]);
            const double u = dx * c + dy * s;
            const double v = -dx * s + dy * c;
            const double q = (u / l[2]) * (u / l[2]) + (v / l[3]) * (v / l[3]);
            if (q < 1) {
                Col col = Mix(Col{40, 120, 40}, Col{130, 220, 90}, 0.5 - 0.5 * v / l[3]);
                if (std::fabs(v) < 0.45) col = Col{180, 240, 140};
                return {true, col};
            }
        }
        // Stems.
        if (SegDist(x, y, 30, 44, 30, 8) < 1.3 || SegDist(x, y, 30, 40, 16, 15) < 1.1 ||
            SegDist(x, y, 30, 40, 45, 14) < 1.1) {
            return {true, Col{60, 150, 50}};
        }
        // Earth mound.
        if (y > 38 && std::fabs(x - 30) < 16 - (44 - y) * 1.4 && y < 45) {
            return {true, Mix(Col{70, 45, 25}, Col{130, 90, 50}, (45 - y) / 7)};
        }
        return {};
    };
}

Shader FlexEnemyShader(int frame, double ox, double oy, double scale) {
    // The rear end moves in the second half of the cycle, the front end in the first, so the
    // body advances 37 pixels over ten frames like an inchworm.
    const double fFront = Smooth(std::min(frame, 5) / 5.0);
    const double fRear = Smooth(std::max(frame - 5, 0) / 5.0);
    const double rear = 7 + 37 * fRear;
    const double front = 20 + 37 * fFront;
    const double span = front - rear;
    const double length = 56;
    const double arch = std::sqrt(std::max(0.0, length * length / 4 - span * span / 4)) * 0.95;
    const double ground = 63;
    constexpr int kSegs = 20;
    std::array<double, kSegs + 1> px{};
    std::array<double, kSegs + 1> py{};
    for (int i = 0; i <= kSegs; ++i) {
        const double s = static_cast<double>(i) / kSegs;
        px[i] = rear + span * s;
        py[i] = ground - 6 - arch * std::sin(kPi * s);
    }
    return [=](double xx, double yy) -> Sample {
        const double x = (xx - ox) / scale;
        const double y = (yy - oy) / scale;
        const double mx = px[kSegs / 2];
        const double my = py[kSegs / 2];
        // Eyes on the top of the arch, looking out at the player.
        for (int e = -1; e <= 1; e += 2) {
            const double ex = mx + e * 5;
            const double ey = my - 6;
            const double r = std::hypot(x - ex, y - ey);
            if (r < 4.2) {
                if (std::hypot(x - ex + e * 0.5, y - ey - 0.5) < 1.9)
                    return {true, Col{230, 20, 20}};
                return {true, Col{255, 250, 200}};
            }
            // Angry brow.
            if (SegDist(x, y, ex - e * 4.5, ey - 6.5, ex + e * 1.5, ey - 3.8) < 1.1) {
                return {true, Col{40, 10, 30}};
            }
        }
        // Body tube and spikes.
        double best = 1e9;
        double bestS = 0;
        for (int i = 0; i < kSegs; ++i) {
            const double d = SegDist(x, y, px[i], py[i], px[i + 1], py[i + 1]);
            if (d < best) {
                best = d;
                bestS = (i + 0.5) / kSegs;
            }
        }
        const double rad = 6 + 1.5 * std::sin(kPi * bestS);
        for (int k = 0; k < 6; ++k) {
            const double s = (k + 0.5) / 6;
            const int i = static_cast<int>(s * kSegs);
            const double tx = px[i + 1] - px[i];
            const double ty = py[i + 1] - py[i];
            const double tl = std::hypot(tx, ty);
            const double nx = ty / tl;
            const double ny = -tx / tl;
            const double r0 = 6 + 1.5 * std::sin(kPi * s);
            const double bx = px[i] + nx * r0 * 0.5;
            const double by = py[i] + ny * r0 * 0.5;
            const double tipx = px[i] + nx * (r0 + 6);
            const double tipy = py[i] + ny * (r0 + 6);
            const double vx = tipx - bx;
            const double vy = tipy - by;
            double t = ((x - bx) * vx + (y - by) * vy) / (vx * vx + vy * vy);
            t = std::clamp(t, 0.0, 1.0);
            const double d = std::hypot(x - bx - t * vx, y - by - t * vy);
            if (d < 2.6 * (1 - t) + 0.3 && best > rad - 1) {
                return {true, Mix(Col{255, 230, 90}, Col{200, 120, 20}, t)};
            }
        }
        if (best < rad) {
            const double band = std::fmod(bestS * 9, 1.0);
            const double shade = 1 - best / rad;
            Col col = Mix(Col{90, 15, 70}, Col{215, 60, 160}, 0.35 + 0.65 * shade);
            if (band < 0.16) col = Scale(col, 0.7);
            // Pale belly on the inner side of the arch.
            const double below = y - (ground - 6 - arch * std::sin(kPi * bestS));
            if (below > rad * 0.45) col = Mix(col, Col{250, 170, 200}, 0.5);
            return {true, col};
        }
        // Little feet at both ends.
        for (double fx : {px[0], px[kSegs]}) {
            if (std::fabs(x - fx) < 6 && y > ground - 3 && y < ground) {
                return {true, Col{120, 20, 80}};
            }
        }
        return {};
    };
}

Shader FigureShader(bool standing, int frame, int dir, double refX, double footY, double scale) {
    const double d = dir >= 0 ? 1 : -1;
    const double bx = refX + 4;
    const double phi = 2 * kPi * frame / (standing ? 10.0 : 20.0);
    const double bob = standing ? 1.2 * std::sin(phi) : 1.8 * std::fabs(std::cos(phi));
    struct Capsule {
        double ax, ay, bx, by, r;
        Col light, dark;
    };
    std::vector<Capsule> parts;
    const Col skin{120, 180, 70};
    const Col skinDark{40, 90, 30};
    const Col leather{130, 80, 45};
    const Col leatherDark{60, 35, 20};
    const Col metal{210, 210, 225};
    const Col metalDark{90, 90, 110};
    const double hipY = footY - 30 + bob;
    // Legs: the back leg first so the front one covers it.
    for (int leg = 1; leg >= 0; --leg) {
        double fx = 0;
        double fy = footY - 3;
        if (standing) {
            fx = bx + (leg == 0 ? 9 : -8) * d;
        } else {
            const double ph = phi + leg * kPi;
            fx = bx + d * 10 * std::sin(ph);
            fy = footY - 3 - std::max(0.0, 5 * std::cos(ph));
        }
        const double hx = bx + (leg == 0 ? 2 : -2) * d;
        const double kx = (hx + fx) / 2 + d * 4;
        const double ky = (hipY + fy) / 2 - 1;
        const Col shade = leg == 1 ? Scale(leatherDark, 0.8) : leatherDark;
        parts.push_back({hx, hipY, kx, ky, 3.6, Mix(leather, shade, leg * 0.4), shade});
        parts.push_back({kx, ky, fx, fy, 3.2, Mix(skin, skinDark, leg * 0.4), skinDark});
        parts.push_back({fx - d * 1, fy + 0.5, fx + d * 4, fy + 0.5, 2.8, Scale(leatherDark, 1.3),
                         leatherDark});
    }
    // Torso and head.
    const double chestY = footY - 46 + bob;
    parts.push_back({bx, chestY - 6, bx, hipY - 2, 9.5, leather, leatherDark});
    parts.push_back({bx - 8, hipY - 3, bx + 8, hipY - 3, 2.2, Col{200, 170, 60}, Col{120, 90, 20}});
    const double headX = bx + 2 * d;
    const double headY = footY - 67 + bob;
    // Arm and spear.
    double hx = 0;
    double hy = 0;
    double sx0 = 0;
    double sy0 = 0;
    double sx1 = 0;
    double sy1 = 0;
    if (standing) {
        const double thrust = std::pow(std::sin(kPi * frame / 10.0), 2);
        hx = bx + d * (8 + 7 * thrust);
        hy = chestY + 2;
        sx0 = hx - d * 14;
        sy0 = hy + 1;
        sx1 = hx + d * 21;
        sy1 = hy - 1;
    } else {
        hx = bx + d * (11 + 2 * std::sin(phi + kPi));
        hy = chestY + 4;
        sx0 = hx - d * 1;
        sy0 = hy + 12;
        sx1 = hx + d * 4;
        sy1 = hy - 30;
    }
    const double shX = bx;
    const double shY = chestY - 7;
    return [=](double xx, double yy) -> Sample {
        const double x = (xx - refX) / scale + refX;
        const double y = (yy - footY) / scale + footY;
        // Spear tip.
        const double tdx = sx1 - sx0;
        const double tdy = sy1 - sy0;
        const double tl = std::hypot(tdx, tdy);
        const double ux = tdx / tl;
        const double uy = tdy / tl;
        const double rx = x - sx1;
        const double ry = y - sy1;
        const double along = rx * ux + ry * uy;
        const double across = -rx * uy + ry * ux;
        if (along > -1 && along < 8 && std::fabs(across) < 3.2 * (1 - along / 8)) {
            return {true, Mix(Col{250, 250, 255}, metalDark, std::fabs(across) / 3.2)};
        }
        // Arm in front of the body, hand on the spear.
        if (std::hypot(x - hx, y - hy) < 3.2) return {true, skin};
        if (SegDist(x, y, shX, shY, hx, hy) < 3) return {true, Mix(skin, skinDark, 0.3)};
        if (SegDist(x, y, sx0, sy0, sx1, sy1) < 1.3) return {true, Col{150, 100, 50}};
        // Head: horned helmet, a glowing eye and teeth.
        const double hdx = x - headX;
        const double hdy = y - headY;
        if (hdy < -2 && std::hypot(hdx, hdy + 1) < 9.6) {
            return {true, Mix(metal, metalDark,
                              std::clamp((hdx * d + 9) / 18 * 0.3 + 0.2 + hdy * -0.02, 0.0, 1.0))};
        }
        for (int h = -1; h <= 1; h += 2) {
            const double hornX = headX + h * 7;
            if (SegDist(x, y, hornX, headY - 6, hornX + h * 4, headY - 14) <
                2.2 - 0.1 * (headY - 6 - y)) {
                return {true, Col{240, 230, 200}};
            }
        }
        if (std::hypot(hdx, hdy) < 8.8) {
            const double ex = headX + d * 4;
            const double ey = headY + 0.5;
            if (std::hypot(x - ex, (y - ey) * 1.3) < 2.6) return {true, Col{255, 60, 30}};
            if (std::hypot(x - ex, y - ey) < 1.0) return {true, Col{255, 240, 120}};
            const double my = headY + 5;
            if (std::fabs(y - my) < 1.2 && (x - headX) * d > 1 && (x - headX) * d < 8) {
                return {true,
                        std::fmod(std::fabs(x), 2.0) < 1 ? Col{250, 250, 230} : Col{60, 20, 20}};
            }
            const double l = std::clamp(0.6 + 0.05 * (hdx * d) - 0.04 * hdy, 0.0, 1.0);
            return {true, Mix(skinDark, skin, l)};
        }
        for (const Capsule& c : parts) {
            const double dd = SegDist(x, y, c.ax, c.ay, c.bx, c.by);
            if (dd < c.r) return {true, Mix(c.light, c.dark, dd / c.r * 0.7)};
        }
        return {};
    };
}

Shader TextShader(const std::string& text, double x, double y, double cw, double ch, double rad,
                  double advance, Col top, Col bottom) {
    struct Placed {
        char c;
        double bx, by, bw, bh;
    };
    std::vector<Placed> glyphs;
    double cx = x;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'' || c == '^') {
            const double px = cx - advance;
            glyphs.push_back({c, px + cw * 0.2, y - ch * 0.33, cw * 0.6, ch * 0.3});
            continue;
        }
        if (c != ' ') glyphs.push_back({c, cx, y, cw, ch});
        cx += advance;
    }
    return [=](double px, double py) -> Sample {
        for (const Placed& g : glyphs) {
            if (px < g.bx - rad * 2 || px > g.bx + g.bw + rad * 2 || py < g.by - rad * 2 ||
                py > g.by + g.bh * 1.3 + rad * 2) {
                continue;
            }
            const bool mark = g.c == '\'' || g.c == '^';
            const double r = mark ? rad * 0.8 : rad;
            const double d = GlyphDistance(g.c, px, py, g.bx, g.by, g.bw, g.bh);
            if (d < r) {
                const double t = std::clamp((py - y) / ch, 0.0, 1.0);
                Col col = Mix(top, bottom, t);
                col = Mix(col, kWhite, 0.35 * std::max(0.0, 1 - d / r - 0.3));
                return {true, col};
            }
        }
        return {};
    };
}

}  // namespace assetgen
