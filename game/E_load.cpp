// SPDX-License-Identifier: GPL-3.0-or-later
// Level loading: the intro card, the three map files, and the object tables built from them.
#include "E_load.h"

#include <array>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "A_deklarace.h"
#include "J_PismoEfekt.h"
#include "MapText.h"

namespace zorvik {

namespace {

constexpr int kDikSpace = 57;

// The whole text of one layer file; a file that cannot be read ends the level load with an
// error that names it.
std::string LayerText(const std::string& path) {
    files::ReadResult file = maptext::ReadLayerFile(path);
    switch (file.error) {
        case files::ReadError::kNone:
            return std::move(file.bytes);
        case files::ReadError::kNotRegular:
            throw std::runtime_error("soubor mapy " + path + " neni obycejny soubor");
        case files::ReadError::kTooLarge:
            throw std::runtime_error("soubor mapy " + path + " je prilis velky (vice nez " +
                                     std::to_string(maptext::kMaxFileBytes / 1024) + " KiB)");
        case files::ReadError::kCannotRead:
            throw std::runtime_error("soubor mapy " + path + " nelze precist");
        default:
            throw std::runtime_error("soubor mapy " + path + " nelze otevrit");
    }
}

// The first 18 lines of one layer file's text; a short file ends the level load with an error
// that names the file.
std::vector<std::string_view> LayerLines(std::string_view text, const std::string& name) {
    std::vector<std::string_view> lines = maptext::SplitLines(text, maptext::kRows);
    if (static_cast<int>(lines.size()) < maptext::kRows) {
        throw std::runtime_error("soubor mapy " + name + " je kratsi nez " +
                                 std::to_string(maptext::kRows) + " radku (ma " +
                                 std::to_string(lines.size()) + ")");
    }
    return lines;
}

// A cell's number, which must fit the layer's integer type.
template <typename T>
T CellAs(std::string_view line, int col, int row, const std::string& path) {
    const double value = maptext::CellValue(line, col);
    if (!(value >= static_cast<double>(std::numeric_limits<T>::min()) &&
          value <= static_cast<double>(std::numeric_limits<T>::max()))) {
        throw std::runtime_error("soubor mapy " + path + ": cislo ve sloupci " +
                                 std::to_string(col) + ", radku " + std::to_string(row) +
                                 " je mimo rozsah");
    }
    return static_cast<T>(value);
}

void CreateBoard(int col, int row) {
    const int32_t link = mapItems(col, row);
    // A link number outside the table, or a housing whose gate would stand above the map, is
    // left out; the rest of the level loads.
    if (link < 0 || link >= static_cast<int32_t>(boards.size()) || row < 4) return;
    Board& b = boards[static_cast<size_t>(link)];
    b.column = static_cast<int16_t>(col);
    b.topRow = static_cast<int16_t>(row - 3);
    b.height = kBoardClosedHeight;
    b.closeRequest = kTrue;
    ++boardCount;
}

void CreateStone(int col, int row) {
    if (stoneCount >= static_cast<int16_t>(stones.size()) - 1) return;  // table full
    ++stoneCount;
    Stone& s = stones[static_cast<size_t>(stoneCount)];
    s.column = static_cast<int16_t>(col);
    s.row = static_cast<int16_t>(row - 1);  // the stone sits one row above its marker
    s.offsetX = 35;
    s.offsetY = 58;
    // A new level's stone starts at rest, whatever the record held in an earlier level.
    s.stepX = 0;
    s.stepY = 0;
    s.heading = 0;
    s.rollLeft = 0;
    s.falling = 0;
    s.frame = 0;
    s.frameTick = 0;
    mapTiles(col, row) = static_cast<int16_t>(-mapTiles(col, row));
    mapItems(col, row) = 0;
}

void PlacePlayer(int col, int row, bool facingRight) {
    playerFacing = facingRight ? 2 : 1;
    playerFrame = facingRight ? 0 : 36;
    playerCol = static_cast<int16_t>(col);
    playerRow = static_cast<int16_t>(row);
    playerOffsetX = 35.0;
    playerOffsetY = 40.0;
    playerDrawOffsetX = facingRight ? -25 : -35;
    playerDrawOffsetY = -45;
}

void CreateFlexEnemy(int col, int row, int code) {
    if (flexEnemyCount >= static_cast<int16_t>(flexEnemies.size()) - 1) return;  // table full
    ++flexEnemyCount;
    FlexEnemy& e = flexEnemies[static_cast<size_t>(flexEnemyCount)];
    const bool right = code <= 45;
    e.col = static_cast<int16_t>(col);
    e.row = static_cast<int16_t>(row);
    e.xInCell = 0;
    e.yOffset = 25;
    e.worldX = col * kCell + 18;
    e.frame = 0;
    e.dir = right ? 1 : -1;
    e.tick = 3;
    e.period = static_cast<int16_t>(right ? code - 38 : code - 43);
}

void CreateFigureEnemy(int col, int row, int code) {
    if (figureEnemyCount >= static_cast<int16_t>(figureEnemies.size()) - 1) return;  // full
    ++figureEnemyCount;
    FigureEnemy& e = figureEnemies[static_cast<size_t>(figureEnemyCount)];
    e.col = static_cast<int16_t>(col);
    e.row = static_cast<int16_t>(row);
    e.xInCell = 35;
    e.worldX = static_cast<int16_t>(col * kCell + 35);
    e.yOffset = 0;
    e.dir = code == 56 ? 1 : -1;
    e.frame = 0;
    e.tick = 3;
    e.alive = kTrue;
    // So that a figure meeting the player in its own column keeps a real direction.
    e.lastDir = e.dir;
    e.state = 1;
}

// The checks of one freshly read cell, in this order, each on the values the earlier ones
// left.
void InterpretCell(int col, int row) {
    if (mapTiles(col, row) == 18) CreateBoard(col, row);
    const int32_t stoneCode = mapItems(col, row);
    if (stoneCode >= 20 && stoneCode <= 39) CreateStone(col, row);
    if (mapItems(col, row) == 999) PlacePlayer(col, row, true);
    if (mapItems(col, row) == 998) PlacePlayer(col, row, false);
    if (mapItems(col, row) == 55) {
        signpostCol = static_cast<int16_t>(col);
        signpostRow = static_cast<int16_t>(row);
    }
    int32_t code = mapItems(col, row);
    if (code >= 41 && code <= 45) CreateFlexEnemy(col, row, code);
    code = mapItems(col, row);
    if (code >= 46 && code <= 50) CreateFlexEnemy(col, row, code);
    code = mapItems(col, row);
    if (code == 56) CreateFigureEnemy(col, row, code);
    code = mapItems(col, row);
    if (code == 57) CreateFigureEnemy(col, row, code);
}

}  // namespace

void LoadLevel() {
    if (!testLevelPath.empty() && testLevelNoCard) {
        ReadLevelMap();
        return;
    }
    sound021->Play(0);
    sound021->Stop();
    textSkippable = 0;
    primarySurface->BltColorFill(dx::RECT{0, 0, 640, 480}, 0);

    // The text routine writes its frame count back, so it gets a copy of textDelay.
    int16_t frames = textDelay;
    DrawFlyingText(150, 100, 620, 150, frames, "zLEVEL c" + std::to_string(levelNumber));
    frames = textDelay;
    DrawFlyingText(90, 430, 620, 100, frames, "z...STISKNI MEZERNI-K...");

    do {
        keyboard->GetDeviceStateKeyboard(keyState);
    } while (keyState.key[kDikSpace] == 0);
    sound028->Play(0);

    ReadLevelMap();
}

namespace {

std::array<std::string, 3> LayerPaths(const std::string& tilePath) {
    return {tilePath, tilePath + ".1", tilePath + ".2"};
}

}  // namespace

std::string OpenTestLevelSet(const std::string& tilePath) {
    const std::array<std::string, 3> paths = LayerPaths(tilePath);
    std::array<std::string, 3> texts;
    try {
        for (size_t layer = 0; layer < paths.size(); ++layer) {
            texts[layer] = LayerText(paths[layer]);
            const std::vector<std::string_view> lines = LayerLines(texts[layer], paths[layer]);
            for (int row = 1; row <= maptext::kRows; ++row) {
                for (int col = 1; col <= maptext::kColumns; ++col) {
                    const std::string_view line = lines[static_cast<size_t>(row - 1)];
                    if (layer == 2) {
                        CellAs<int32_t>(line, col, row, paths[layer]);
                    } else {
                        CellAs<int16_t>(line, col, row, paths[layer]);
                    }
                }
            }
        }
    } catch (const std::exception& e) {
        return e.what();
    }
    testLevelPath = tilePath;
    testLevelLayers = std::move(texts);
    return {};
}

void ReadLevelMap() {
    if (!testLevelPath.empty()) {
        // Test-play parses the set as read at start-up.
        ParseLevelMap({testLevelLayers[0], testLevelLayers[1], testLevelLayers[2]},
                      LayerPaths(testLevelPath));
        // The designer asked to start at another cell; the facing stays the level's own.
        if (testStartCol != 0) PlacePlayer(testStartCol, testStartRow, playerFacing != 1);
        return;
    }
    const std::array<std::string, 3> paths =
        LayerPaths(GamePath("/map/mapa" + std::to_string(levelNumber) + ".map"));
    std::array<std::string, 3> texts;
    for (size_t i = 0; i < paths.size(); ++i)
        texts[i] = LayerText(paths[i]);
    ParseLevelMap({texts[0], texts[1], texts[2]}, paths);
}

namespace {
std::vector<std::pair<int, int>> platformCells;
}  // namespace

const std::vector<std::pair<int, int>>& PlatformCells() {
    return platformCells;
}

void ParseLevelMap(const std::array<std::string_view, 3>& layers,
                   const std::array<std::string, 3>& names) {
    stoneCount = 0;
    boardCount = 0;
    flexEnemyCount = 0;
    figureEnemyCount = 0;
    beamCharges = 0;
    // A board record the level does not fill keeps column 0, which no real board has (column 0
    // is the solid frame), so the board code can tell it apart.
    for (Board& b : boards)
        b.column = 0;

    const std::vector<std::string_view> tileLines = LayerLines(layers[0], names[0]);
    const std::vector<std::string_view> solidLines = LayerLines(layers[1], names[1]);
    const std::vector<std::string_view> itemLines = LayerLines(layers[2], names[2]);

    for (int row = 1; row <= maptext::kRows; ++row) {
        const size_t line = static_cast<size_t>(row - 1);
        for (int col = 1; col <= maptext::kColumns; ++col) {
            mapTiles(col, row) = CellAs<int16_t>(tileLines[line], col, row, names[0]);
            mapSolid(col, row) = CellAs<int16_t>(solidLines[line], col, row, names[1]);
            mapItems(col, row) = CellAs<int32_t>(itemLines[line], col, row, names[2]);
            InterpretCell(col, row);
        }
    }

    for (int col = 0; col <= 51; ++col) {
        mapSolid(col, 0) = 1;
        mapSolid(col, 19) = 1;
    }
    for (int row = 0; row <= 19; ++row) {
        mapSolid(0, row) = 1;
        mapSolid(51, row) = 1;
    }

    platformCells.clear();
    for (int row = 0; row < kMapRows; ++row)
        for (int col = 0; col < kMapCols; ++col) {
            const int tile = std::abs(mapTiles(col, row));
            if (tile == 14 || tile == 15) platformCells.emplace_back(col, row);
        }
}

}  // namespace zorvik
