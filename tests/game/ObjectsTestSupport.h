// SPDX-License-Identifier: GPL-3.0-or-later
// A small world for the tests of boards, stones, enemies, the beam and the status line: the
// canvas, back buffer and sheets as plain surfaces (the sheets filled with a position pattern
// so a drawn piece can be traced to its source rectangle), the sound buffers those parts play,
// and an empty map with its solid frame.
#pragma once

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "A_deklarace.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "GameHarness.h"
#include "Png.h"
#include "TestLevel.h"
#include "TestPaths.h"

namespace zorvik::test {

// A pattern pixel that is never 0 (0 is the colour key) and differs between neighbours.
inline uint16_t PatternPixel(int x, int y) {
    return static_cast<uint16_t>(1 + (x * 37 + y * 101) % 65000);
}

inline dx::SurfacePtr PatternSurface(int width, int height) {
    auto surface = std::make_shared<dx::DirectDrawSurface7>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            surface->Pixels()[static_cast<size_t>(y) * width + x] = PatternPixel(x, y);
        }
    }
    surface->SetColorKey(dx::DDCKEY_SRCBLT, dx::DDCOLORKEY{0, 0});
    return surface;
}

inline dx::SoundBufferPtr TestSound(const std::string& name) {
    return std::make_shared<dx::DirectSoundBuffer>(std::vector<uint8_t>(2000, 128), 11025, name);
}

// True when the w x h block of `target` at (x, y) is exactly the block of `source` at
// (sx, sy): the piece was drawn there from that source rectangle.
inline bool BlockMatches(const dx::DirectDrawSurface7& target, int x, int y,
                         const dx::DirectDrawSurface7& source, int sx, int sy, int w, int h) {
    if (x < 0 || y < 0 || x + w > target.Width() || y + h > target.Height()) return false;
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (target.Pixel(x + i, y + j) != source.Pixel(sx + i, sy + j)) return false;
        }
    }
    return true;
}

// Rows that are wholly 0 are skipped with one comparison, so a sparse picture counts fast.
inline int CountNonZero(const dx::DirectDrawSurface7& surface) {
    const size_t width = static_cast<size_t>(surface.Width());
    const std::vector<uint16_t> emptyRow(width, 0);
    int n = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        const uint16_t* row = surface.Pixels() + static_cast<size_t>(y) * width;
        if (std::memcmp(row, emptyRow.data(), width * sizeof(uint16_t)) == 0) continue;
        n += static_cast<int>(width - static_cast<size_t>(std::count(row, row + width, 0)));
    }
    return n;
}

inline void ClearSurface(dx::DirectDrawSurface7& surface) {
    std::fill(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height(), 0);
}

// ---- stones ---------------------------------------------------------------------------------

inline bool StoneAtRest(const Stone& s) {
    return s.stepX == 0 && s.stepY == 0 && s.rollLeft == 0 && s.falling == 0;
}

// The stone in use whose cell is (col, row), other than `except`; nullptr when there is none.
inline const Stone* StoneIn(int col, int row, const Stone* except = nullptr) {
    for (int a = 1; a <= stoneCount; ++a) {
        const Stone& s = stones[static_cast<size_t>(a)];
        if (&s != except && s.column == col && s.row == row) return &s;
    }
    return nullptr;
}

// "two stones in cell (c, r)" for the first cell two stones in use share; empty when none do.
inline std::string SharedStoneCell() {
    for (int a = 1; a <= stoneCount; ++a) {
        const Stone& s = stones[static_cast<size_t>(a)];
        if (StoneIn(s.column, s.row, &s) != nullptr) {
            return "two stones in cell (" + std::to_string(s.column) + ", " +
                   std::to_string(s.row) + ")";
        }
    }
    return "";
}

// Where a tile code in columns fromCol..toCol, rows fromRow..toRow disagrees with the stones:
// it must be negative exactly where a stone that is not falling lies in the cell above.
// Empty when all agree.
inline std::string MarkFault(int fromCol, int toCol, int fromRow, int toRow) {
    for (int c = fromCol; c <= toCol; ++c) {
        for (int r = fromRow; r <= toRow; ++r) {
            if (mapTiles(c, r) == 0) continue;  // code 0 cannot carry a mark
            const Stone* above = StoneIn(c, r - 1);
            const bool stoneAbove = above != nullptr && above->falling == 0;
            if ((mapTiles(c, r) < 0) != stoneAbove) {
                return "the mark of (" + std::to_string(c) + ", " + std::to_string(r) + ") is " +
                       std::to_string(mapTiles(c, r)) +
                       (stoneAbove ? " under a stone" : " with no stone above");
            }
        }
    }
    return "";
}

class ObjectsTest : public GameTest {
  protected:
    void SetUp() override {
        tileCanvas = std::make_shared<dx::DirectDrawSurface7>(804, 658);
        tileCanvas->SetColorKey(dx::DDCKEY_SRCBLT, dx::DDCOLORKEY{0, 0});
        backBuffer = std::make_shared<dx::DirectDrawSurface7>(640, 480);
        backBuffer->SetForeColor(dx::RGB(255, 0, 255));
        objectSheet = PatternSurface(669, 319);
        enemySheet = PatternSurface(1154, 363);
        tileSheet = PatternSurface(730, 146);
        sound014 = TestSound("014");
        sound016 = TestSound("016");
        sound020 = TestSound("020");
        sound022 = TestSound("022");
        sound024 = TestSound("024");
        sound025 = TestSound("025");
        sound026 = TestSound("026");
        sound027 = TestSound("027");
        for (size_t i = 1; i <= 10; ++i)
            sounds015[i] = TestSound("015");
        // The solid frame the loader puts round every map.
        for (int c = 0; c <= 51; ++c)
            mapSolid(c, 0) = mapSolid(c, 19) = 1;
        for (int r = 0; r <= 19; ++r)
            mapSolid(0, r) = mapSolid(51, r) = 1;
    }

    // Solid ground in `row` over the given columns.
    static void Floor(int row, int fromCol, int toCol) {
        for (int c = fromCol; c <= toCol; ++c)
            mapSolid(c, row) = 1;
    }
};

// A level written as level 1 into a temporary game folder, loaded through the intro card and
// played by the real frame loop with the generated data files.
class LevelRun {
  public:
    explicit LevelRun(const TestLevel& level) {
        level.Write(dir_, 1);
        game_ = std::make_unique<GameHarness>(dir_.Path());
        EXPECT_TRUE(game_->InitGame());
        game_->SetFrameRateResults();
        levelNumber = 1;
        game_->Press(kSpace);  // answers the intro card
        LoadLevel();
        game_->Release(kSpace);
    }
    GameHarness& Game() { return *game_; }
    // Runs frames until `frame` returns true after a flip (or `maxFrames` have passed); it
    // sees the picture just shown and the one shown before it.
    using FrameCheck = std::function<bool(const uint16_t* screen, const uint16_t* previous)>;
    void Run(const FrameCheck& frame, long maxFrames = 3000) {
        std::vector<uint16_t> previous(640 * 480, 0);
        const long start = game_->Host().Frames();
        game_->Host().onFlip = [&](dx::HeadlessHost& host, const uint16_t* screen) {
            if (frame(screen, previous.data()) || host.Frames() - start >= maxFrames) {
                levelWon = kTrue;  // ends the loop after this frame
            }
            previous.assign(screen, screen + 640 * 480);
        };
        RunLevelLoop();
        game_->Host().onFlip = nullptr;
        levelWon = 0;
    }

    static constexpr int kSpace = 57, kLeftShift = 42, kUp = 200, kLeft = 203, kRight = 205;

  private:
    TempGameDir dir_;
    std::unique_ptr<GameHarness> game_;
};

// Where a scenario's picture goes: the build folder in ordinary runs, docs/ of the source tree
// when the disabled DocPictures tests are run on purpose.
inline std::string PicturePath(bool forDocs, const std::string& name) {
    if (forDocs) return SourceDir() + "/docs/" + name;
    return (std::filesystem::path(DistDir()).parent_path() / name).string();
}

}  // namespace zorvik::test
