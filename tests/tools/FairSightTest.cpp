// SPDX-License-Identifier: GPL-3.0-or-later
// Fair sight: the camera shows three rows below the player, so a fall of four rows or more
// ends where the player could not look before stepping off. Such a fall must land safely: not
// in a pit and not on the beat of an enemy. Only edges a player can get to count.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "LevelSource.h"
#include "TestPaths.h"

namespace zorvik::levels {
namespace {

using Grid = std::array<std::array<int, kColumns>, kRows>;

constexpr int kOutOfSight = 4;  // rows: the camera shows three rows below the player
constexpr int kHousing = 18;

// One fall off an edge that lands where the player could not see.
struct UnfairDrop {
    int edgeCol = 0, edgeRow = 0;  // the standing place the player steps off
    int landCol = 0, landRow = 0;  // where the fall ends; for a pit, the bottom row
    int drop = 0;                  // rows fallen
    std::string why;
    bool operator==(const UnfairDrop&) const = default;
};

// The stretch of one row an enemy moves along.
struct Beat {
    int row = 0, first = 0, last = 0;
    std::string what;
};

// Solidity with the game's frame: everything outside the 50 x 18 cells is wall.
int SolidAt(const Grid& solid, int col, int row) {
    if (col < 1 || col > kColumns || row < 1 || row > kRows) return 1;
    return solid[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)];
}

// As the enemies test it: ground below and no wall in the cell itself.
bool Walkable(const Grid& solid, int col, int row) {
    return SolidAt(solid, col, row + 1) != 0 && SolidAt(solid, col, row) != 1;
}

// Crawlers and figures stay in their own row and turn where the next cell is a wall or has no
// ground: each walks the walkable run around the cell it starts in.
std::vector<Beat> EnemyBeats(const Grid& solid, const Grid& items) {
    std::vector<Beat> beats;
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 1; col <= kColumns; ++col) {
            const int item = items[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)];
            const bool crawler = item >= 41 && item <= 50;
            if (!crawler && item != 56 && item != 57) continue;
            Beat beat{row, col, col, ""};
            while (Walkable(solid, beat.first - 1, row))
                --beat.first;
            while (Walkable(solid, beat.last + 1, row))
                ++beat.last;
            beat.what = std::string(crawler ? "crawler" : "figure") + " starting at col " +
                        std::to_string(col) + " (walks cols " + std::to_string(beat.first) + "-" +
                        std::to_string(beat.last) + ")";
            beats.push_back(beat);
        }
    }
    return beats;
}

size_t Index(int col, int row) {
    return static_cast<size_t>((row - 1) * kColumns + col - 1);
}

bool StandingPlace(const Grid& solid, int col, int row) {
    return SolidAt(solid, col, row) != 1 && SolidAt(solid, col, row + 1) != 0;
}

// The standing places a player may get to from the start, generously: a jump reaches any place
// up to two rows higher within three columns, through walls too, and a fall or a jump down any
// place lower within three columns and one more per row fallen. Roofs no jump comes near stay
// out of it.
std::vector<bool> ReachablePlaces(const Grid& solid, const Grid& items) {
    std::vector<bool> reached(static_cast<size_t>(kColumns * kRows), false);
    std::vector<std::pair<int, int>> open;
    for (int row = 1; row <= kRows; ++row)
        for (int col = 1; col <= kColumns; ++col) {
            const int item = items[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)];
            if (item != 998 && item != 999) continue;
            int stand = row;  // the start falls to the ground below it
            while (stand < kRows && !StandingPlace(solid, col, stand))
                ++stand;
            reached[Index(col, stand)] = true;
            open.emplace_back(col, stand);
        }
    while (!open.empty()) {
        const auto [col, row] = open.back();
        open.pop_back();
        for (int to = std::max(1, row - 2); to < kRows; ++to) {
            const int reach = 3 + std::max(0, to - row);
            for (int c = std::max(1, col - reach); c <= std::min(kColumns, col + reach); ++c) {
                if (reached[Index(c, to)] || !StandingPlace(solid, c, to)) continue;
                reached[Index(c, to)] = true;
                open.emplace_back(c, to);
            }
        }
    }
    return reached;
}

// Every step or jump off a reachable edge into a free column, fallen straight down from the
// edge's height (the arc of a jump rises first, so it lands no higher).
std::vector<UnfairDrop> UnfairDropsIn(const Grid& solid, const Grid& items) {
    const std::vector<Beat> beats = EnemyBeats(solid, items);
    const std::vector<bool> reachable = ReachablePlaces(solid, items);
    std::vector<UnfairDrop> found;
    for (int row = 1; row < kRows; ++row) {
        for (int col = 1; col <= kColumns; ++col) {
            if (!StandingPlace(solid, col, row)) continue;
            // A step off lands in the next column, a jump off up to three columns on.
            for (const int next : {col - 1, col + 1, col - 2, col + 2, col - 3, col + 3}) {
                const int way = next < col ? -1 : 1;
                bool clear = true;  // nothing solid between the edge and the column at its height
                for (int c = col + way; c != next + way; c += way)
                    clear = clear && SolidAt(solid, c, row) == 0;
                if (!clear) continue;
                int land = row;
                while (land < kRows && SolidAt(solid, next, land + 1) == 0)
                    ++land;
                // Reaching the bottom row costs a life: no floor above it is a pit.
                const bool pit = land == kRows;
                const int drop = land - row;
                if (drop < kOutOfSight || !reachable[Index(col, row)]) continue;
                if (pit) {
                    found.push_back({col, row, next, land, drop, "pit, no floor below"});
                    continue;
                }
                for (const Beat& beat : beats) {
                    if (beat.row == land && beat.first <= next && next <= beat.last) {
                        found.push_back(
                            {col, row, next, land, drop, "on the beat of a " + beat.what});
                    }
                }
            }
        }
    }
    return found;
}

// A board's gate stands solid over the three cells above its housing while shut, and is free
// while open: a drop unfair either way is reported once.
std::vector<UnfairDrop> UnfairDrops(const LevelLayers& layers) {
    Grid shut = layers.solid;
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 1; col <= kColumns; ++col) {
            const size_t c = static_cast<size_t>(col - 1);
            if (layers.tiles[static_cast<size_t>(row - 1)][c] != kHousing) continue;
            for (int up = 1; up <= 3 && row - up >= 1; ++up)
                shut[static_cast<size_t>(row - up - 1)][c] = 1;
        }
    }
    std::vector<UnfairDrop> all = UnfairDropsIn(shut, layers.items);
    for (const UnfairDrop& d : UnfairDropsIn(layers.solid, layers.items))
        if (std::find(all.begin(), all.end(), d) == all.end()) all.push_back(d);
    return all;
}

std::string Describe(const UnfairDrop& d) {
    return "edge col " + std::to_string(d.edgeCol) + " row " + std::to_string(d.edgeRow) +
           " -> landing col " + std::to_string(d.landCol) + " row " + std::to_string(d.landRow) +
           " (drop " + std::to_string(d.drop) + "): " + d.why;
}

// A level of empty rows with the given rows replaced (row number -> its first cells).
LevelLayers Layers(const std::vector<std::pair<int, std::string>>& rows) {
    std::vector<std::string> map(kRows, std::string(kColumns, '.'));
    for (const auto& [row, start] : rows)
        map[static_cast<size_t>(row - 1)].replace(0, start.size(), start);
    std::string text = "name: test\n[map]\n";
    for (const auto& line : map)
        text += line + "\n";
    const CompiledLevel level = CompileLevelSource(text);
    EXPECT_TRUE(level.errors.empty()) << level.errors.front();
    return level.layers;
}

// A ledge in rows 9-10 over a floor in row 14 where a crawler runs between two walls; a block
// hangs two rows above the crawler's row, and a roof in row 3 that no jump reaches hangs over its
// end.
TEST(FairSight, ReportsALongDropOntoAnEnemyOrIntoAPitAndNotAShortOne) {
    const std::string floor(kColumns, '#');
    auto level = [&](const std::string& row13, const std::string& row14) {
        return Layers({{3, "............##"},
                       {9, "PrE"},
                       {10, "###"},
                       {12, "...........#"},
                       {13, row13},
                       {14, row14}});
    };
    // Off the ledge the fall lands four rows down, on the crawler's run (a step off at col 3
    // lands in col 4, a jump further on); off the block at col 12 it lands two rows down on the
    // same run, which one sees coming; off the roof it would land there too, but nobody gets onto
    // the roof.
    const auto onlyFromTheLedge = [](const std::vector<UnfairDrop>& drops, const char* enemy) {
        EXPECT_FALSE(drops.empty());
        for (const UnfairDrop& d : drops) {
            EXPECT_EQ(d.edgeRow, 9) << Describe(d);
            EXPECT_NE(d.why.find(enemy), std::string::npos) << Describe(d);
        }
    };
    const auto crawler = UnfairDrops(level("..#..>.........#", floor));
    onlyFromTheLedge(crawler, "crawler");
    const UnfairDrop stepOff{3,  9, 4,
                             13, 4, "on the beat of a crawler starting at col 6 (walks cols 4-15)"};
    EXPECT_NE(std::find(crawler.begin(), crawler.end(), stepOff), crawler.end());
    onlyFromTheLedge(UnfairDrops(level("..#.......{.....#", floor)), "figure");
    EXPECT_TRUE(UnfairDrops(level("..#.............#", floor)).empty());

    std::string holed = floor;
    holed[3] = '.';  // col 4 has no floor: the same step falls to the bottom of the map
    const auto pits = UnfairDrops(level("..#.............#", holed));
    const UnfairDrop ledgePit{3, 9, 4, kRows, kRows - 9, "pit, no floor below"};
    EXPECT_NE(std::find(pits.begin(), pits.end(), ledgePit), pits.end());
}

// Every violation of every shipped level is listed in one message.
TEST(FairSight, ShippedLevelsHideNoDangerBelowALongDrop) {
    namespace fs = std::filesystem;
    const fs::path sources = fs::path(test::SourceDir()) / "levels";
    std::ostringstream report;
    int violations = 0, levelsRead = 0;
    for (int n = 1; fs::exists(sources / ("level" + std::to_string(n) + ".txt")); ++n) {
        const auto level =
            CompileLevelSource(test::FileBytes(sources / ("level" + std::to_string(n) + ".txt")));
        ASSERT_TRUE(level.errors.empty()) << "level " << n << ": " << level.errors.front();
        for (const UnfairDrop& d : UnfairDrops(level.layers)) {
            report << "\n  level " << n << ": " << Describe(d);
            ++violations;
        }
        ++levelsRead;
    }
    EXPECT_GE(levelsRead, 8);
    EXPECT_EQ(violations, 0) << violations << " long drops land on danger:" << report.str();
}

}  // namespace
}  // namespace zorvik::levels
