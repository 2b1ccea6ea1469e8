// SPDX-License-Identifier: GPL-3.0-or-later
// The fast blit paths (vector keyed rows, whole-row copies, byte fills, reused snapshot buffers)
// against a plain pixel-by-pixel model of the same blits, on random surfaces, rectangles and
// colour keys, including keys that reach outside 0..65535 or are empty.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "DirectX.h"

namespace dx {
namespace {

struct Model {
    int width;
    int height;
    std::vector<uint16_t> pixels;
};

Model Snapshot(const DirectDrawSurface7& s) {
    return {s.Width(), s.Height(),
            std::vector<uint16_t>(s.Pixels(), s.Pixels() + s.Width() * s.Height())};
}

// BltFast as a loop over single pixels, reading the source before anything is written.
void ModelBltFast(Model& to, int x, int y, const Model& from, const RECT& r, bool keyed,
                  const DDCOLORKEY& key) {
    const Model source = from;
    for (int j = 0; j < r.bottom - r.top; ++j) {
        for (int i = 0; i < r.right - r.left; ++i) {
            const uint16_t v = source.pixels[(r.top + j) * source.width + r.left + i];
            if (keyed && v >= key.low && v <= key.high) continue;
            to.pixels[(y + j) * to.width + x + i] = v;
        }
    }
}

SurfacePtr RandomSurface(std::mt19937& rng, int width, int height) {
    auto s = std::make_shared<DirectDrawSurface7>(width, height);
    std::uniform_int_distribution<int> value(0, 65535);
    std::uniform_int_distribution<int> small(0, 3);
    for (int i = 0; i < width * height; ++i) {
        // Many pixels near the key values used below, so that keyed pixels are common.
        s->Pixels()[i] = static_cast<uint16_t>(small(rng) == 0 ? value(rng) : small(rng) * 0x0821);
    }
    return s;
}

TEST(BlitKernel, KeyedAndOpaqueCopiesMatchThePixelModel) {
    std::mt19937 rng(12345);
    const DDCOLORKEY keys[] = {{0, 0},     {0x0821, 0x0821}, {0, 0x1042},
                               {-5, 0},    {0xF000, 70000},  {5, 4},
                               {-100, -1}, {65535, 65535},   {0x0821, 0x1863}};
    for (int trial = 0; trial < 400; ++trial) {
        const bool sameSurface = trial % 5 == 0;
        auto target = RandomSurface(rng, 97, 61);
        auto source = sameSurface ? target : RandomSurface(rng, 83, 57);
        const DDCOLORKEY key = keys[trial % std::size(keys)];
        const bool withKeyFlag = trial % 3 != 0;
        if (trial % 7 != 0) source->SetColorKey(DDCKEY_SRCBLT, key);

        std::uniform_int_distribution<int> wDist(1, std::min(source->Width(), target->Width()));
        std::uniform_int_distribution<int> hDist(1, std::min(source->Height(), target->Height()));
        const int w = trial % 11 == 0 ? std::min(source->Width(), target->Width()) : wDist(rng);
        const int h = hDist(rng);
        const int sx = std::uniform_int_distribution<int>(0, source->Width() - w)(rng);
        const int sy = std::uniform_int_distribution<int>(0, source->Height() - h)(rng);
        const int x = std::uniform_int_distribution<int>(0, target->Width() - w)(rng);
        const int y = std::uniform_int_distribution<int>(0, target->Height() - h)(rng);
        const RECT r{sx, sy, sx + w, sy + h};

        Model expected = Snapshot(*target);
        ModelBltFast(expected, x, y, Snapshot(*source), r, withKeyFlag && source->HasColorKey(),
                     source->ColorKey());
        const int32_t flags = withKeyFlag ? DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT : DDBLTFAST_WAIT;
        ASSERT_EQ(target->BltFast(x, y, source.get(), r, flags), DD_OK);
        ASSERT_EQ(Snapshot(*target).pixels, expected.pixels)
            << "trial " << trial << " key " << key.low << ".." << key.high << " rect " << w << " x "
            << h;
    }
}

TEST(BlitKernel, WholeWidthCopiesAndFillsMatchThePixelModel) {
    std::mt19937 rng(777);
    auto target = RandomSurface(rng, 64, 40);
    auto source = RandomSurface(rng, 64, 40);
    Model expected = Snapshot(*target);
    ModelBltFast(expected, 0, 5, Snapshot(*source), RECT{0, 10, 64, 30}, false, {});
    ASSERT_EQ(target->BltFast(0, 5, source.get(), RECT{0, 10, 64, 30}, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Snapshot(*target).pixels, expected.pixels);

    // Fills: bytes alike (a byte fill) and unlike, whole rows and part rows of odd widths.
    for (const int32_t colour : {0, 0xFFFF, 0x4242, 0x1234, 0x1F0000 + 0xF800, -1}) {
        for (const RECT r : {RECT{0, 0, 64, 40}, RECT{3, 2, 60, 39}, RECT{17, 5, 18, 6},
                             RECT{0, 7, 64, 8}, RECT{1, 1, 34, 20}}) {
            Model want = Snapshot(*target);
            for (int yy = r.top; yy < r.bottom; ++yy) {
                for (int xx = r.left; xx < r.right; ++xx)
                    want.pixels[yy * 64 + xx] = static_cast<uint16_t>(colour & 0xFFFF);
            }
            ASSERT_EQ(target->BltColorFill(r, colour), DD_OK);
            ASSERT_EQ(Snapshot(*target).pixels, want.pixels) << colour;
            // Scribble so the next fill has something to overwrite.
            ASSERT_EQ(target->BltFast(0, 0, source.get(), RECT{0, 0, 64, 40}, DDBLTFAST_WAIT),
                      DD_OK);
        }
    }
}

}  // namespace
}  // namespace dx
