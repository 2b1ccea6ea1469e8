// SPDX-License-Identifier: GPL-3.0-or-later
// A sample game screen composed from the generated pictures with the game's own placement
// rules, so that the contact sheets show how tiles, sprites and the status line read together.
#include "Assets.h"

namespace assetgen {

namespace {

// Copies a rectangle, leaving out black pixels as the game's colour-keyed copies do.
void PasteKeyed(Image& dst, const Image& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const Col c = src.Get(sx + x, sy + y);
            if (c.r + c.g + c.b > 0) dst.Set(dx + x, dy + y, c);
        }
    }
}

}  // namespace

Image MakeScenePreview(const std::vector<NamedPicture>& pictures) {
    auto find = [&](const std::string& name) -> const Image& {
        for (const NamedPicture& p : pictures) {
            if (p.sheetName == name) return p.image;
        }
        return pictures.front().image;
    };
    const Image& tiles = find("001-tiles");
    const Image& player = find("003-player");
    const Image& objects = find("007-objects");
    const Image& figure = find("008-figure-enemy");
    Image screen = find("004-background");
    PasteKeyed(screen, find("006-parallax"), 300, 0, 640, 251, 0, 229);

    const int scrollX = 30;
    const int scrollY = 50;
    auto cellX = [&](int c) { return c * 73 - scrollX; };
    auto cellY = [&](int r) { return r * 73 - scrollY; };
    auto tile = [&](int t, int c, int r) {
        screen.Paste(tiles, 73 * ((t - 1) % 10), 73 * ((t - 1) / 10), 73, 73, cellX(c), cellY(r));
    };
    // Background decoration, then the ground.
    const int deco[4] = {4, 5, 6, 10};
    for (int c = 0; c < 4; ++c) {
        for (int r = 2; r <= 4; ++r)
            tile(r == 3 ? deco[c] : 4, 5 + c, r);
    }
    for (int c = 0; c < 9; ++c) {
        if (c == 4) {
            tile(18, c, 5);
        } else {
            tile(c == 7 ? 14 : 1, c, 5);
        }
        tile(2, c, 6);
    }
    tile(3, 0, 4);
    tile(3, 0, 3);
    tile(9, 8, 4);
    // Stars, refill, signposts, herb.
    PasteKeyed(screen, objects, 46 * 2 + 18, 86, 45, 44, cellX(2) + 13, cellY(3) + 13);
    PasteKeyed(screen, objects, 46 * 5 + 18, 196, 45, 44, cellX(3) + 13, cellY(3) + 13);
    PasteKeyed(screen, objects, 46 * 7 + 18, 241, 45, 44, cellX(6) + 13, cellY(1) + 13);
    PasteKeyed(screen, objects, 23 * 4 + 20, 285, 22, 34, cellX(7) + 13, cellY(2) + 13);
    PasteKeyed(screen, objects, 573, 0, 52, 68, cellX(1) + 13, cellY(4) + 11);
    PasteKeyed(screen, objects, 524, 198, 60, 45, cellX(7) + 13, cellY(4) + 42);
    // Board at column 4: gear and bar half up.
    PasteKeyed(screen, objects, 49 * 2, 30, 49, 53, cellX(4) + 37, cellY(4) + 30);
    const int height = 120;
    PasteKeyed(screen, objects, 0, 82, 18, height, cellX(4) + 26, cellY(2) + 233 - height);
    // Stone resting on the platform, enemies, the player.
    PasteKeyed(screen, objects, 31 * 3, 0, 31, 30, cellX(7) + 35 - 17, cellY(4) + 58);
    PasteKeyed(screen, objects, 65 * 3 + 20, 130, 64, 65, cellX(5) + 10, cellY(4) + 25);
    PasteKeyed(screen, figure, 61 * 4, 181, 61, 91, cellX(6) + 35 - 8, cellY(4));
    const int px = cellX(3) + 35;
    const int py = cellY(4) + 40;
    PasteKeyed(screen, player, 0, 0, 54, 100, px - 1 - 25, py - 1 - 45);
    // Status line at rest.
    for (int i = 1; i <= 5; ++i)
        PasteKeyed(screen, objects, 13 * i + 296, 33, 12, 29, 10 * i + 5, 3);
    const int digits[6] = {0, 0, 1, 2, 5, 0};
    for (int i = 1; i <= 6; ++i) {
        PasteKeyed(screen, objects, 14 * digits[i - 1] + 373, 33, 12, 30, 11 * i + 70, 3);
    }
    for (int i = 1; i <= 5; ++i)
        PasteKeyed(screen, objects, 16 * i + 293, 63, 16, 23, 12 * i + 180, 6);
    PasteKeyed(screen, objects, 398, 63, 16, 23, 260, 6);
    for (int i = 1; i <= 5; ++i) {
        PasteKeyed(screen, objects, i <= 4 ? 442 : 457, 63, 12, 23, 13 * i + 280, 7);
    }
    PasteKeyed(screen, objects, 420, 63, 16, 23, 358, 6);
    for (int i = 1; i <= 4; ++i)
        PasteKeyed(screen, objects, 15 * i + 519, 70, 15, 24, 12 * i + 420, 6);
    for (int i = 1; i <= 2; ++i)
        PasteKeyed(screen, objects, 595, 70, 20, 35, 16 * i + 490, 2);
    return screen;
}

namespace {

// Lays out one line of game text with the font sheet as the game's text routine places landed
// characters: 20 pixels a character, marks after their letter, "c" / "z" switching colours.
void DrawGameText(Image& screen, const Image& font, const std::string& text, int x, int y) {
    int style = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == 'c' || c == 'z') {
            style = c == 'c' ? 1 : 0;
            continue;
        }
        x += 20;
        if (c == ' ') continue;
        int sx = 0;
        int sy = 0;
        int w = 25;
        int dx = 0;
        int dy = 0;
        if (c >= 'A' && c <= 'Z') {
            sx = 27 * ((c - 'A') % 13);
            sy = 33 * ((c - 'A') / 13);
        } else if (c >= '1' && c <= '9') {
            sx = 27 * (c - '1');
            sy = 66;
        } else if (c == '0') {
            sx = 27 * 9;
            sy = 66;
        } else {
            w = 12;
            sy = 66;
            sx = c == ',' ? 297 : c == '.' ? 309 : c == '?' ? 324 : 336;
            dx = c == ',' ? 3 : c == '?' || c == '!' ? 7 : 0;
            dy = c == ',' || c == '.' ? 5 : -2;
        }
        PasteKeyed(screen, font, sx, sy + 99 * style, w, 31, x + dx, y + dy);
        if (i + 1 < text.size() && (text[i + 1] == '-' || text[i + 1] == '*')) {
            PasteKeyed(screen, font, text[i + 1] == '-' ? 270 : 282, 74 + 99 * style, 12, 13, x + 8,
                       y - 6);
            ++i;
        }
    }
}

}  // namespace

Image MakeTextPreview(const std::vector<NamedPicture>& pictures) {
    const Image* font = nullptr;
    Image screen(640, 480);
    for (const NamedPicture& p : pictures) {
        if (p.sheetName == "009-font") font = &p.image;
        if (p.sheetName == "010-title") screen = p.image;
    }
    if (font == nullptr) return screen;
    for (int y = 145; y < 480; ++y) {
        for (int x = 190; x < 640; ++x)
            screen.Set(x, y, Col{});
    }
    DrawGameText(screen, *font, "cNOVA- HRA", 200, 170);
    DrawGameText(screen, *font, "zNEJLEPS*I- HRA*C*I", 200, 210);
    DrawGameText(screen, *font, "zTVU-RCI", 200, 250);
    DrawGameText(screen, *font, "zUKONC*ENI- HRY", 200, 290);
    DrawGameText(screen, *font, "zLEVEL c1", 200, 350);
    DrawGameText(screen, *font, "zAHOJ, JAK SE MA-S?", 190, 390);
    DrawGameText(screen, *font, "c1234567890.!", 190, 430);
    return screen;
}

}  // namespace assetgen
