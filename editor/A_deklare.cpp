// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's state, defined once, with its program-start values.
#include "A_deklare.h"

#include <cstring>

namespace zorvik::editor {

MapLayer mapTiles{};
MapLayer mapSolid{};
MapLayer mapItems{};
std::array<PaletteEntry, kPaletteEntries + 1> paletteTable{};
int16_t paletteTop = 0;
int16_t paletteLast = 31;
int16_t selectedEntry = 1;
int16_t viewScroll = 0;
int16_t linkMode = kTrue;
int16_t speedMode = kTrue;
LabelRect labelRect{};

void ResetEditorState() {
    std::memset(mapTiles, 0, sizeof mapTiles);
    std::memset(mapSolid, 0, sizeof mapSolid);
    std::memset(mapItems, 0, sizeof mapItems);
    paletteTable.fill(PaletteEntry{});
    paletteTop = 0;
    paletteLast = 31;
    selectedEntry = 1;
    viewScroll = 0;
    linkMode = kTrue;
    speedMode = kTrue;
    labelRect = LabelRect{};
}

}  // namespace zorvik::editor
