// SPDX-License-Identifier: GPL-3.0-or-later
// levelrender: draws a whole level (all 50 x 18 cells, with its objects) into one PNG, using the
// game's own pictures, so designers can see a level at a glance.
// Usage: levelrender <game-dir> <level-number> <out.png> [scale-divisor]
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "DirectX.h"
#include "MapText.h"
#include "Png.h"

#include <fstream>

namespace {

constexpr int kCell = 73;
constexpr int kCols = 50;
constexpr int kRows = 18;

struct Sheet {
    int width = 0;
    int height = 0;
    std::vector<uint16_t> pixels;
};

Sheet Load(const std::string& path, int w, int h) {
    return {w, h, dx::LoadBmp565(path, w, h)};
}

class Canvas {
  public:
    Canvas(int w, int h) : width_(w), height_(h), pixels_(static_cast<size_t>(w) * h) {}
    // Copies a rectangle of a sheet, leaving black out when keyed; clips at the canvas edges.
    void Copy(const Sheet& s, int left, int top, int right, int bottom, int x, int y, bool keyed) {
        for (int sy = top; sy < bottom; ++sy) {
            const int dy = y + sy - top;
            if (dy < 0 || dy >= height_ || sy < 0 || sy >= s.height) continue;
            for (int sx = left; sx < right; ++sx) {
                const int dxp = x + sx - left;
                if (dxp < 0 || dxp >= width_ || sx < 0 || sx >= s.width) continue;
                const uint16_t p = s.pixels[static_cast<size_t>(sy) * s.width + sx];
                if (keyed && p == 0) continue;
                pixels_[static_cast<size_t>(dy) * width_ + dxp] = p;
            }
        }
    }
    void Fill(int x, int y, int w, int h, uint16_t colour) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                Put(x + i, y + j, colour);
    }
    void Frame(int x, int y, int w, int h, uint16_t colour) {
        for (int i = 0; i < w; ++i) {
            Put(x + i, y, colour);
            Put(x + i, y + h - 1, colour);
        }
        for (int j = 0; j < h; ++j) {
            Put(x, y + j, colour);
            Put(x + w - 1, y + j, colour);
        }
    }
    std::vector<uint16_t> Shrunk(int divisor, int& w, int& h) const {
        w = width_ / divisor;
        h = height_ / divisor;
        std::vector<uint16_t> out(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out[static_cast<size_t>(y) * w + x] =
                    pixels_[static_cast<size_t>(y * divisor) * width_ + x * divisor];
        return out;
    }

  private:
    void Put(int x, int y, uint16_t c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_)
            pixels_[static_cast<size_t>(y) * width_ + x] = c;
    }
    int width_, height_;
    std::vector<uint16_t> pixels_;
};

// The mean colour of one row of a sheet (RGB565).
uint16_t MeanColour(const Sheet& s, int row) {
    long r = 0, g = 0, b = 0;
    for (int x = 0; x < s.width; ++x) {
        const uint16_t p = s.pixels[static_cast<size_t>(row) * s.width + x];
        r += p >> 11;
        g += (p >> 5) & 63;
        b += p & 31;
    }
    const long n = std::max(1, s.width);
    return static_cast<uint16_t>(((r / n) << 11) | ((g / n) << 5) | (b / n));
}

std::vector<std::string> ReadMapFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    auto lines = zorvik::maptext::ReadLines(in, kRows);
    if (lines.size() < kRows) throw std::runtime_error(path + " has fewer than 18 lines");
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: levelrender <game-dir> <level> <out.png> [divisor]\n");
        return 2;
    }
    try {
        const std::string dir = argv[1];
        const std::string base = dir + "/map/mapa" + argv[2] + ".map";
        const int divisor = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1;
        const auto tileLines = ReadMapFile(base);
        const auto itemLines = ReadMapFile(base + ".2");
        auto cell = [](const std::vector<std::string>& lines, int col, int row) {
            return static_cast<int>(zorvik::maptext::CellValue(lines[row - 1], col));
        };
        const Sheet tiles = Load(dir + "/data/001.dat", 730, 146);
        const Sheet background = Load(dir + "/data/004.dat", 640, 480);
        const Sheet player = Load(dir + "/data/003.dat", 1944, 1109);
        const Sheet objects = Load(dir + "/data/007.dat", 669, 319);
        const Sheet enemies = Load(dir + "/data/008.dat", 1154, 363);

        Canvas canvas(kCols * kCell, kRows * kCell);
        // The backdrop once, along the bottom of the map as the camera shows it at the ground,
        // and above it the night sky in the mean colour of the backdrop's top row.
        const int backdropTop = kRows * kCell - 480;
        canvas.Fill(0, 0, kCols * kCell, backdropTop, MeanColour(background, 0));
        for (int x = 0; x < kCols * kCell; x += 640)
            canvas.Copy(background, 0, 0, 640, 480, x, backdropTop, false);
        // Pickups and tiles first, then the objects that stand over them.
        for (int row = 1; row <= kRows; ++row) {
            for (int col = 1; col <= kCols; ++col) {
                const int x0 = (col - 1) * kCell, y0 = (row - 1) * kCell;
                const int item = cell(itemLines, col, row);
                const int t = std::abs(cell(tileLines, col, row));
                if (item == 40) canvas.Copy(objects, 18, 86, 63, 130, x0 + 13, y0 + 13, true);
                if (item == 51) canvas.Copy(objects, 18, 196, 63, 240, x0 + 13, y0 + 13, true);
                if (item == 52) canvas.Copy(objects, 18, 241, 63, 285, x0 + 13, y0 + 13, true);
                if (item == 53) canvas.Copy(objects, 20, 285, 42, 319, x0 + 13, y0 + 13, true);
                if (t >= 1 && t <= 20) {
                    const int sx = (t - 1) % 10 * kCell, sy = (t - 1) / 10 * kCell;
                    canvas.Copy(tiles, sx, sy, sx + kCell, sy + kCell, x0, y0, true);
                }
            }
        }
        for (int row = 1; row <= kRows; ++row) {
            for (int col = 1; col <= kCols; ++col) {
                const int x0 = (col - 1) * kCell, y0 = (row - 1) * kCell;
                const int item = cell(itemLines, col, row);
                const int t = cell(tileLines, col, row);
                switch (item) {
                    case 900:
                        canvas.Copy(objects, 524, 198, 584, 243, x0 + 13, y0 + 42, true);
                        break;
                    case 54:
                        canvas.Copy(objects, 520, 0, 572, 68, x0 + 13, y0 + 11, true);
                        break;
                    case 55:
                        canvas.Copy(objects, 573, 0, 625, 68, x0 + 13, y0 + 11, true);
                        break;
                    case 999:
                        canvas.Copy(player, 0, 0, 54, 100, x0 + 9, y0 - 6, true);
                        break;
                    case 998:
                        canvas.Copy(player, 0, 100, 54, 200, x0 - 1, y0 - 6, true);
                        break;
                    case 56:
                        canvas.Copy(enemies, 0, 0, 55, 90, x0 + 12, y0, true);
                        break;
                    case 57:
                        canvas.Copy(enemies, 0, 91, 55, 181, x0 + 12, y0, true);
                        break;
                    case 997:
                        canvas.Frame(x0 + 4, y0 + 4, kCell - 8, kCell - 8, dx::To565(255, 0, 255));
                        break;
                    default:
                        break;
                }
                if (item >= 41 && item <= 50)
                    canvas.Copy(objects, 20, 130, 84, 195, x0, y0 + 25, true);
                if (item >= 20 && item <= 39 && row > 1)  // the stone stands in the cell above
                    canvas.Copy(objects, 0, 0, 31, 30, x0 + 18, y0 - kCell + 58, true);
                if (t == 18 && row > 3) {  // a closed board over its housing
                    const int top = y0 - 3 * kCell;
                    canvas.Copy(objects, 0, 82, 18, 82 + 219, x0 + 26, top + 233 - 219, true);
                    canvas.Copy(objects, 0, 30, 49, 83, x0 + 37, top + 2 * kCell + 30, true);
                }
            }
        }
        int w = 0, h = 0;
        const auto pixels = canvas.Shrunk(divisor, w, h);
        if (!dx::SavePng(argv[3], pixels.data(), w, h)) {
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "levelrender: %s\n", e.what());
        return 1;
    }
}
