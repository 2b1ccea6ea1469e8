// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a map set held in memory: the editor's File > Open without the disk.
#pragma once

#include <array>
#include <string_view>

#include "A_deklare.h"

namespace zorvik::editor {

// Fills one layer from a layer file's text: at least 18 lines, every cell a whole number that
// fits 16 bits. Returns false, with `into` partly written, when the text is not such a file.
bool ParseLayer(std::string_view text, MapLayer& into);

// Parses the tile, solidity and object texts into three scratch layers; the caller takes them
// over only when all three parse (the return value), so a failed open never leaves a mix of
// two maps.
bool ParseMapSet(const std::array<std::string_view, 3>& layers, MapLayer& tiles, MapLayer& solid,
                 MapLayer& items);

}  // namespace zorvik::editor
