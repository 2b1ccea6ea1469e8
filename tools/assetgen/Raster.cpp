// SPDX-License-Identifier: GPL-3.0-or-later
// Software rasteriser of the asset generator: pictures, sprite sampling, lettering, noise, BMP.
#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace assetgen {

Col Mix(Col a, Col b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Col Scale(Col c, double k) {
    return {c.r * k, c.g * k, c.b * k};
}
Col Add(Col a, Col b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

namespace {
uint8_t Byte(double v) {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
}
}  // namespace

Image::Image(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}

Col Image::Get(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {double(rgb[i]), double(rgb[i + 1]), double(rgb[i + 2])};
}

void Image::Set(int x, int y, Col c) {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    rgb[i] = Byte(c.r);
    rgb[i + 1] = Byte(c.g);
    rgb[i + 2] = Byte(c.b);
}

void Image::Blend(int x, int y, Col c, double a) {
    if (x < 0 || y < 0 || x >= width || y >= height || a <= 0) return;
    Set(x, y, Mix(Get(x, y), c, std::min(a, 1.0)));
}

void Image::Paste(const Image& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            Set(dx + x, dy + y, src.Get(sx + x, sy + y));
    }
}

// Samples the shader at 3 x 3 points inside pixel (x, y); returns the sum of the colours of
// the points inside the shape and their count in `inside`.
Col Supersample(const Shader& shader, int x, int y, int& inside) {
    Col sum;
    for (int sy = 0; sy < 3; ++sy) {
        for (int sx = 0; sx < 3; ++sx) {
            const Sample s = shader(x + (sx + 0.5) / 3.0, y + (sy + 0.5) / 3.0);
            if (!s.inside) continue;
            ++inside;
            sum = Add(sum, s.color);
        }
    }
    return sum;
}

void DrawSprite(Image& sheet, int x0, int y0, int w, int h, const Shader& shader, bool outline,
                Col outlineColor) {
    std::vector<int> mask(static_cast<size_t>(w) * h, 0);
    std::vector<Col> colors(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int inside = 0;
            const Col sum = Supersample(shader, x, y, inside);
            if (inside >= 5) {
                mask[static_cast<size_t>(y) * w + x] = 1;
                colors[static_cast<size_t>(y) * w + x] = Scale(sum, 1.0 / inside);
            }
        }
    }
    if (outline) {
        std::vector<int> rim(mask.size(), 0);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (mask[static_cast<size_t>(y) * w + x] != 0) continue;
                bool near = false;
                for (int k = 0; k < 4 && !near; ++k) {
                    const int nx = x + (k == 0 ? 1 : k == 1 ? -1 : 0);
                    const int ny = y + (k == 2 ? 1 : k == 3 ? -1 : 0);
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h &&
                        mask[static_cast<size_t>(ny) * w + nx] == 1) {
                        near = true;
                    }
                }
                if (near) rim[static_cast<size_t>(y) * w + x] = 1;
            }
        }
        for (size_t i = 0; i < mask.size(); ++i) {
            if (rim[i] != 0) {
                mask[i] = 1;
                colors[i] = outlineColor;
            }
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (mask[static_cast<size_t>(y) * w + x] == 0) continue;
            Col c = colors[static_cast<size_t>(y) * w + x];
            c = {std::clamp(c.r, 0.0, 255.0), std::clamp(c.g, 0.0, 255.0),
                 std::clamp(c.b, 0.0, 255.0)};
            // Keep every drawn pixel clear of the transparent key (RGB565 value 0).
            if (c.r < 12 && c.g < 8 && c.b < 12) c = {12, 10, 16};
            sheet.Set(x0 + x, y0 + y, c);
        }
    }
}

void DrawSmooth(Image& img, int x0, int y0, int w, int h, const Shader& shader) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int inside = 0;
            const Col sum = Supersample(shader, x, y, inside);
            if (inside > 0) img.Blend(x0 + x, y0 + y, Scale(sum, 1.0 / inside), inside / 9.0);
        }
    }
}

double SegDist(double px, double py, double ax, double ay, double bx, double by) {
    const double vx = bx - ax;
    const double vy = by - ay;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? ((px - ax) * vx + (py - ay) * vy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = px - (ax + t * vx);
    const double dy = py - (ay + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

const std::vector<std::vector<std::pair<double, double>>>& GlyphStrokes(char c) {
    using Lines = std::vector<std::vector<std::pair<double, double>>>;
    static const std::map<char, Lines> table = [] {
        std::map<char, Lines> t;
        const std::vector<std::pair<double, double>> ring = {{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6},
                                                             {1, 6}, {0, 5}, {0, 1}, {1, 0}};
        const std::vector<std::pair<double, double>> pBowl = {{0, 6},   {0, 0},   {3, 0},  {4, 1},
                                                              {4, 2.3}, {3, 3.3}, {0, 3.3}};
        t['A'] = {{{0, 6}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 6}}, {{0, 3.5}, {4, 3.5}}};
        t['B'] = {{{0, 0}, {0, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}},
                  {{0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}}};
        t['C'] = {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}}};
        t['D'] = {{{0, 0}, {0, 6}, {2.5, 6}, {4, 4.5}, {4, 1.5}, {2.5, 0}, {0, 0}}};
        t['E'] = {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}};
        t['F'] = {{{4, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}};
        t['G'] = {
            {{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.4}, {2.2, 3.4}}};
        t['H'] = {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}};
        t['I'] = {{{2, 0}, {2, 6}}, {{0.8, 0}, {3.2, 0}}, {{0.8, 6}, {3.2, 6}}};
        t['J'] = {{{1.5, 0}, {4, 0}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}};
        t['K'] = {{{0, 0}, {0, 6}}, {{4, 0}, {0.4, 3.4}}, {{1.4, 2.5}, {4, 6}}};
        t['L'] = {{{0, 0}, {0, 6}, {4, 6}}};
        t['M'] = {{{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}}};
        t['N'] = {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}};
        t['O'] = {ring};
        t['P'] = {pBowl};
        t['Q'] = {ring, {{2.4, 4.4}, {4.2, 6.3}}};
        t['R'] = {pBowl, {{2, 3.3}, {4, 6}}};
        t['S'] = {{{4, 1},
                   {3, 0},
                   {1, 0},
                   {0, 1},
                   {0, 2},
                   {1, 3},
                   {3, 3},
                   {4, 4},
                   {4, 5},
                   {3, 6},
                   {1, 6},
                   {0, 5}}};
        t['T'] = {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}};
        t['U'] = {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}};
        t['V'] = {{{0, 0}, {2, 6}, {4, 0}}};
        t['W'] = {{{0, 0}, {0.8, 6}, {2, 3}, {3.2, 6}, {4, 0}}};
        t['X'] = {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}};
        t['Y'] = {{{0, 0}, {2, 3}, {4, 0}}, {{2, 3}, {2, 6}}};
        t['Z'] = {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}};
        t['0'] = {ring, {{2.9, 1.7}, {1.1, 4.3}}};
        t['1'] = {{{0.7, 1.3}, {2.2, 0}, {2.2, 6}}, {{0.7, 6}, {3.7, 6}}};
        t['2'] = {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2.2}, {0, 6}, {4, 6}}};
        t['3'] = {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1.5, 3}},
                  {{3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}};
        t['4'] = {{{3, 6}, {3, 0}, {0, 4}, {4, 4}}};
        t['5'] = {{{4, 0}, {0, 0}, {0, 2.8}, {3, 2.8}, {4, 3.8}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}};
        t['6'] = {{{3.8, 0.6},
                   {3, 0},
                   {1, 0},
                   {0, 1},
                   {0, 5},
                   {1, 6},
                   {3, 6},
                   {4, 5},
                   {4, 4},
                   {3, 3},
                   {0, 3}}};
        t['7'] = {{{0, 0}, {4, 0}, {1.5, 6}}};
        t['8'] = {{{1, 3},
                   {0, 2},
                   {0, 1},
                   {1, 0},
                   {3, 0},
                   {4, 1},
                   {4, 2},
                   {3, 3},
                   {1, 3},
                   {0, 4},
                   {0, 5},
                   {1, 6},
                   {3, 6},
                   {4, 5},
                   {4, 4},
                   {3, 3}}};
        t['9'] = {{{0.2, 5.4},
                   {1, 6},
                   {3, 6},
                   {4, 5},
                   {4, 1},
                   {3, 0},
                   {1, 0},
                   {0, 1},
                   {0, 2},
                   {1, 3},
                   {4, 3}}};
        t[','] = {{{2, 5.2}, {2, 5.7}, {1.2, 7.0}}};
        t['.'] = {{{2, 5.75}, {2, 5.8}}};
        t['?'] = {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {2, 3.4}, {2, 4.1}}, {{2, 5.9}, {2, 6}}};
        t['!'] = {{{2, 0}, {2, 4.1}}, {{2, 5.9}, {2, 6}}};
        t['\''] = {{{3.2, 0}, {1.2, 1.6}}};
        t['^'] = {{{0.4, 0}, {2, 1.5}, {3.6, 0}}};
        return t;
    }();
    static const Lines empty;
    const auto it = table.find(c);
    return it == table.end() ? empty : it->second;
}

double GlyphDistance(char c, double x, double y, double bx, double by, double bw, double bh) {
    double best = 1e9;
    for (const auto& line : GlyphStrokes(c)) {
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            const double ax = bx + line[i].first * bw / 4;
            const double ay = by + line[i].second * bh / 6;
            const double cx = bx + line[i + 1].first * bw / 4;
            const double cy = by + line[i + 1].second * bh / 6;
            best = std::min(best, SegDist(x, y, ax, ay, cx, cy));
        }
    }
    return best;
}

double Rng::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0;
}

namespace {
double Hash(int x, int y, uint32_t seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / 16777216.0;
}
}  // namespace

double Noise(double x, double y, uint32_t seed, int period, int periodY) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    int ix = static_cast<int>(fx);
    int iy = static_cast<int>(fy);
    const double tx = x - fx;
    const double ty = y - fy;
    const double sx = tx * tx * (3 - 2 * tx);
    const double sy = ty * ty * (3 - 2 * ty);
    int jx = ix + 1;
    if (period > 0) {
        ix = ((ix % period) + period) % period;
        jx = ((jx % period) + period) % period;
    }
    int jy = iy + 1;
    if (periodY > 0) {
        iy = ((iy % periodY) + periodY) % periodY;
        jy = ((jy % periodY) + periodY) % periodY;
    }
    const double a = Hash(ix, iy, seed);
    const double b = Hash(jx, iy, seed);
    const double c = Hash(ix, jy, seed);
    const double d = Hash(jx, jy, seed);
    return (a + (b - a) * sx) * (1 - sy) + (c + (d - c) * sx) * sy;
}

double Fractal(double x, double y, uint32_t seed, int octaves, int period, int periodY) {
    double sum = 0;
    double amp = 0.5;
    double total = 0;
    double f = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise(x * f, y * f, seed + static_cast<uint32_t>(o) * 101u,
                           period > 0 ? static_cast<int>(period * f) : 0,
                           periodY > 0 ? static_cast<int>(periodY * f) : 0);
        total += amp;
        amp *= 0.5;
        f *= 2;
    }
    return sum / total;
}

std::vector<uint8_t> EncodeBmp(const Image& img) {
    const uint32_t stride = (static_cast<uint32_t>(img.width) * 3 + 3) & ~3u;
    const uint32_t dataSize = stride * static_cast<uint32_t>(img.height);
    std::vector<uint8_t> out(54 + dataSize, 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto put16 = [&](size_t at, uint16_t v) {
        out[at] = static_cast<uint8_t>(v);
        out[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, 54 + dataSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(img.width));
    put32(22, static_cast<uint32_t>(img.height));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < img.height; ++y) {
        uint8_t* row = out.data() + 54 + static_cast<size_t>(img.height - 1 - y) * stride;
        for (int x = 0; x < img.width; ++x) {
            const size_t i = (static_cast<size_t>(y) * img.width + x) * 3;
            row[x * 3] = img.rgb[i + 2];
            row[x * 3 + 1] = img.rgb[i + 1];
            row[x * 3 + 2] = img.rgb[i];
        }
    }
    return out;
}

}  // namespace assetgen
