// SPDX-License-Identifier: GPL-3.0-or-later
// Compiles the readable level source into the three map layers and checks it against the
// game's limits, so that every shipped level loads and plays as designed.
#include "LevelSource.h"

#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "LevelRules.h"
#include "MapText.h"

namespace zorvik::levels {
namespace {

struct TileLegend {
    char ch;
    int tile;
    int solid;
};

// Tile characters; solidity as the editor's palette gives it for each tile.
constexpr TileLegend kTiles[] = {
    {'#', 1, 1},  {'%', 2, 1},  {'&', 3, 1},  {'~', 4, 0},  {'"', 5, 0},
    {'\'', 6, 0}, {'X', 7, 1},  {':', 8, 0},  {'W', 9, 1},  {';', 10, 0},
    {',', 11, 0}, {'M', 12, 1}, {'N', 13, 1}, {'_', 14, 1}, {'H', 16, 1},
    {'J', 17, 1}, {'B', 18, 1}, {'I', 19, 0}, {'f', 20, 0},
};

struct ItemLegend {
    char ch;
    int item;
};

constexpr ItemLegend kItems[] = {
    {'*', 40}, {'+', 51}, {'$', 52},  {'b', 53},  {'s', 54},  {'r', 55},
    {'}', 56}, {'{', 57}, {'G', 900}, {'E', 997}, {'Q', 998}, {'P', 999},
};

constexpr char kFlexRight = '>';
constexpr char kFlexLeft = '<';
constexpr char kStone = 'o';
constexpr int kPlatform = 14;
constexpr int kHousing = 18;

std::optional<TileLegend> FindTile(char ch) {
    for (const auto& t : kTiles)
        if (t.ch == ch) return t;
    return std::nullopt;
}

std::optional<int> FindItem(char ch) {
    for (const auto& i : kItems)
        if (i.ch == ch) return i.item;
    return std::nullopt;
}

bool IsEmpty(char ch) {
    return ch == '.' || ch == ' ' || ch == '|';
}

std::string Where(int row, int col) {
    return "row " + std::to_string(row) + ", column " + std::to_string(col);
}

}  // namespace

char TileChar(int tile) {
    for (const auto& t : kTiles)
        if (t.tile == tile) return t.ch;
    return 0;
}

CompiledLevel CompileLevelSource(const std::string& text) {
    CompiledLevel level;
    std::vector<std::string> mapLines, extraLines;
    std::vector<std::string>* section = nullptr;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("name:", 0) == 0) {
            level.name = line.substr(line.find_first_not_of(' ', 5));
        } else if (line == "[map]") {
            section = &mapLines;
        } else if (line == "[extra]") {
            section = &extraLines;
        } else if (section && static_cast<int>(section->size()) < kRows) {
            section->push_back(line);  // a section's 18 rows are data, even a row of '#'
        } else if (line.empty() || line[0] == '#') {
            continue;
        } else {
            level.errors.push_back("line " + std::to_string(lineNo) + ": text outside a section");
        }
    }
    auto& errors = level.errors;
    if (mapLines.size() != kRows) {
        errors.push_back("the map needs 18 lines, it has " + std::to_string(mapLines.size()));
    }
    if (!extraLines.empty() && extraLines.size() != kRows) {
        errors.push_back("the extra grid needs 18 lines, it has " +
                         std::to_string(extraLines.size()));
    }
    auto cellAt = [](const std::vector<std::string>& lines, int row, int col) -> char {
        if (row < 1 || row > static_cast<int>(lines.size())) return '.';
        const std::string& l = lines[row - 1];
        return col >= 1 && col <= static_cast<int>(l.size()) ? l[col - 1] : '.';
    };
    for (int row = 1; row <= static_cast<int>(mapLines.size()) && row <= kRows; ++row) {
        if (mapLines[row - 1].size() != kColumns) {
            errors.push_back("map row " + std::to_string(row) + " has " +
                             std::to_string(mapLines[row - 1].size()) + " cells, not 50");
        }
    }

    auto& L = level.layers;
    int starts = 0, ends = 0, redSignposts = 0, stones = 0, flex = 0, figures = 0, platforms = 0;
    std::map<int, std::string> housingsByLink;
    std::vector<std::pair<int, std::string>> platformLinks;
    for (int row = 1; row <= kRows; ++row) {
        for (int col = 1; col <= kColumns; ++col) {
            const char ch = cellAt(mapLines, row, col);
            const char extra = cellAt(extraLines, row, col);
            const bool hasDigit = extra >= '0' && extra <= '9';
            int& tile = L.tiles[row - 1][col - 1];
            int& solid = L.solid[row - 1][col - 1];
            int& item = L.items[row - 1][col - 1];
            bool digitUsed = false;
            if (IsEmpty(ch)) {
                // nothing
            } else if (auto t = FindTile(ch)) {
                tile = t->tile;
                solid = t->solid;
                if (tile == kPlatform || tile == kHousing) {
                    if (!hasDigit) {
                        errors.push_back(Where(row, col) +
                                         ": platform or housing without a link "
                                         "number in the extra grid");
                    } else {
                        item = extra - '0';
                        digitUsed = true;
                    }
                    if (tile == kPlatform) {
                        ++platforms;
                        platformLinks.emplace_back(item, Where(row, col));
                    } else {
                        if (housingsByLink.count(item)) {
                            errors.push_back(Where(row, col) + ": board " + std::to_string(item) +
                                             " is numbered twice");
                        }
                        housingsByLink[item] = Where(row, col);
                        if (row < 4) errors.push_back(Where(row, col) + ": housing above row 4");
                        // The gate becomes solid over these cells: only sky or a
                        // passable decoration tile may stand there.
                        for (int up = 1; up <= 3 && row - up >= 1; ++up) {
                            const char gate = cellAt(mapLines, row - up, col);
                            const auto gateTile = FindTile(gate);
                            if (!IsEmpty(gate) && !(gateTile && gateTile->solid == 0)) {
                                errors.push_back(Where(row - up, col) +
                                                 ": a board's gate cell must be empty or "
                                                 "passable decoration");
                            }
                        }
                    }
                }
            } else if (ch == kFlexRight || ch == kFlexLeft) {
                int speed = 1;
                if (hasDigit) {
                    speed = extra - '0';
                    digitUsed = true;
                }
                if (speed < 1 || speed > 5) {
                    errors.push_back(Where(row, col) + ": enemy speed must be 1..5");
                }
                item = (ch == kFlexRight ? 40 : 45) + speed;
                ++flex;
            } else if (ch == kStone) {
                ++stones;
                const char below = cellAt(mapLines, row + 1, col);
                const auto ground = FindTile(below);
                if (row == kRows || !ground || !ground->solid || ground->tile == kPlatform ||
                    ground->tile == kHousing) {
                    errors.push_back(Where(row, col) +
                                     ": a stone must start on solid ground of a plain tile");
                }
            } else if (auto i = FindItem(ch)) {
                item = *i;
                if (item == 998 || item == 999) ++starts;
                if (item == 900 || item == 997) ++ends;
                if (item == 55) ++redSignposts;
                if (item == 56 || item == 57) ++figures;
            } else {
                errors.push_back(Where(row, col) + ": unknown character '" + std::string(1, ch) +
                                 "'");
            }
            if (hasDigit && !digitUsed) {
                errors.push_back(Where(row, col) + ": digit in the extra grid has no use here");
            }
        }
    }
    // Stones mark the cell they rest on; done after the grid so the ground cell is read.
    for (int row = 1; row < kRows; ++row) {
        for (int col = 1; col <= kColumns; ++col) {
            if (cellAt(mapLines, row, col) == kStone) L.items[row][col - 1] = 20;
        }
    }

    if (starts != 1) errors.push_back("a level needs exactly one player start (P or Q)");
    if (ends != 1)
        errors.push_back("a level needs exactly one way out: an exit (E) or the goal (G)");
    if (redSignposts != 1) errors.push_back("a level needs exactly one red signpost (r)");
    auto limit = [&](int count, const char* what) {
        if (count > 10) errors.push_back(std::string("more than ten ") + what);
    };
    limit(stones, "stones");
    limit(flex, "flexible enemies");
    limit(figures, "figure enemies");
    limit(platforms, "platforms");
    limit(static_cast<int>(housingsByLink.size()), "board housings");
    const int boardCount = static_cast<int>(housingsByLink.size());
    for (int n = 1; n <= boardCount; ++n) {
        if (!housingsByLink.count(n)) {
            errors.push_back("boards must be numbered 1.." + std::to_string(boardCount) +
                             " without gaps; board " + std::to_string(n) + " is missing");
        }
    }
    for (const auto& [link, where] : platformLinks) {
        if (!housingsByLink.count(link) || link == 0) {
            errors.push_back(where + ": platform linked to board " + std::to_string(link) +
                             ", which the level does not have");
        }
    }
    // The layout rules the editor checks too (a housing every platform leads to, gate cells,
    // an exit or goal...); run on a level that passed the checks above, so that no fault is
    // reported twice.
    if (errors.empty()) {
        for (const auto& finding :
             levelrules::CheckLevel(Flatten(L.tiles), Flatten(L.solid), Flatten(L.items))) {
            errors.push_back(levelrules::FindingText(finding));
        }
    }
    return level;
}

levelrules::Layer Flatten(const std::array<std::array<int, kColumns>, kRows>& grid) {
    levelrules::Layer layer;
    layer.reserve(static_cast<size_t>(kColumns * kRows));
    for (const auto& row : grid)
        layer.insert(layer.end(), row.begin(), row.end());
    return layer;
}

std::array<std::string, 3> MapFileTexts(const LevelLayers& layers) {
    std::array<std::string, 3> texts;
    const std::array<const std::array<std::array<int, kColumns>, kRows>*, 3> grids = {
        &layers.tiles, &layers.solid, &layers.items};
    for (size_t g = 0; g < 3; ++g) {
        for (const auto& row : *grids[g]) {
            for (int value : row)
                texts[g] += maptext::FormatCell(value).value_or("000");
            texts[g] += "\r\n";
        }
    }
    return texts;
}

}  // namespace zorvik::levels
