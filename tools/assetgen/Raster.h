// SPDX-License-Identifier: GPL-3.0-or-later
// Small software rasteriser for the asset generator: RGB pictures, supersampled sprite shapes
// with hard keyed edges, stroke lettering and a seeded random source.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetgen {

constexpr double kPi = 3.14159265358979323846;

struct Col {
    double r = 0, g = 0, b = 0;
};

Col Mix(Col a, Col b, double t);
Col Scale(Col c, double k);
Col Add(Col a, Col b);

// A picture of 8-bit RGB pixels, row by row from the top.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    Image() = default;
    Image(int w, int h);
    Col Get(int x, int y) const;
    void Set(int x, int y, Col c);
    // Mixes c over the pixel with weight a (0..1); points outside are ignored.
    void Blend(int x, int y, Col c, double a);
    // Copies src's rectangle (sx, sy, w, h) to (dx, dy).
    void Paste(const Image& src, int sx, int sy, int w, int h, int dx, int dy);
};

// One sample of a sprite shape: whether the point is inside and its colour there.
struct Sample {
    bool inside = false;
    Col color;
};
using Shader = std::function<Sample(double x, double y)>;

// Renders a keyed sprite into the rectangle (x0, y0, w, h) of `sheet`: each pixel is sampled
// 3 x 3 times; a pixel is drawn when most samples are inside, with their average colour,
// kept above the transparent key. With `outline` a one-pixel dark rim is added around the shape
// (inside the rectangle). Pixels the shape does not cover are left as they are.
void DrawSprite(Image& sheet, int x0, int y0, int w, int h, const Shader& shader,
                bool outline = true, Col outlineColor = {22, 16, 30});

// Renders an opaque shader (every sample counts) blended with coverage into a rectangle.
void DrawSmooth(Image& img, int x0, int y0, int w, int h, const Shader& shader);

// Distance from point p to the segment a-b.
double SegDist(double px, double py, double ax, double ay, double bx, double by);

// Stroke lettering: each character is a set of polylines in a 4 x 6 unit box (y down).
// Returns the polylines of c (upper-case letters, digits, , . ? ! and the acute "'" and
// caron "^" marks); empty for characters without a picture.
const std::vector<std::vector<std::pair<double, double>>>& GlyphStrokes(char c);

// Distance from (x, y) to the strokes of c placed in the box (bx, by, bw, bh).
double GlyphDistance(char c, double x, double y, double bx, double by, double bw, double bh);

// A deterministic random source (xorshift), the same on every machine.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed * 2654435761u + 0x9E3779B97F4A7C15ull) {}
    double Next();  // uniform in [0, 1)
    int Below(int n) { return static_cast<int>(Next() * n); }

  private:
    uint64_t state_;
};

// Smooth value noise in [0, 1), periodic with `period` cells along x (and `periodY` along y)
// when positive.
double Noise(double x, double y, uint32_t seed, int period = 0, int periodY = 0);
// Sum of octaves of Noise.
double Fractal(double x, double y, uint32_t seed, int octaves, int period = 0, int periodY = 0);

// Encodes a picture as a 24-bit BMP file.
std::vector<uint8_t> EncodeBmp(const Image& img);

}  // namespace assetgen
