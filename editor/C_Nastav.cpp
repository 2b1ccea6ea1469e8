// SPDX-License-Identifier: GPL-3.0-or-later
// The palette table's constants: tiles 1..14, 16..18, then the objects.
#include "C_Nastav.h"

#include <cstddef>

#include "A_deklare.h"

namespace zorvik::editor {

namespace {

void Set(int entry, int16_t tile, int16_t solid, int16_t item) {
    paletteTable[static_cast<size_t>(entry)] = PaletteEntry{tile, solid, item};
}

}  // namespace

void FillPaletteTable() {
    Set(1, 1, 1, 0);
    Set(2, 2, 1, 0);
    Set(3, 3, 1, 0);
    Set(4, 4, 0, 0);
    Set(5, 5, 0, 0);
    Set(6, 6, 0, 0);
    Set(7, 7, 1, 0);
    Set(8, 8, 0, 0);
    Set(9, 9, 1, 0);
    Set(10, 10, 0, 0);
    Set(11, 11, 0, 0);
    Set(12, 12, 1, 0);
    Set(13, 13, 1, 0);
    Set(14, 14, 1, 0);  // platform
    Set(15, 16, 1, 0);  // tile 15 is the pressed platform, which only the game writes
    Set(16, 17, 1, 0);
    Set(17, 18, 1, 0);   // board housing
    Set(18, 0, 0, 54);   // signpost
    Set(19, 0, 0, 55);   // red signpost
    Set(20, 0, 0, 40);   // star worth 100
    Set(21, 0, 0, 51);   // star worth 500
    Set(22, 0, 0, 52);   // star worth 2500
    Set(23, 0, 0, 53);   // beam refill
    Set(24, 0, 0, 20);   // stone: painted without touching tile and solidity
    Set(25, 0, 0, 46);   // flexible enemy, leftwards, speed 1
    Set(26, 0, 0, 41);   // flexible enemy, rightwards, speed 1
    Set(27, 0, 0, 57);   // figure enemy, leftwards
    Set(28, 0, 0, 56);   // figure enemy, rightwards
    Set(29, 0, 0, 998);  // player start facing left
    Set(30, 0, 0, 999);  // player start facing right
    Set(31, 0, 0, 997);  // level exit
    Set(32, 0, 0, 900);  // final goal
}

}  // namespace zorvik::editor
