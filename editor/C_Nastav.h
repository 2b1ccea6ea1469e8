// SPDX-License-Identifier: GPL-3.0-or-later
// The palette table: what each of the 32 palette entries paints.
#pragma once

namespace zorvik::editor {

// Writes the fixed tile, solidity and object codes of entries 1..32 into paletteTable.
// Called by InitEditor at start-up.
void FillPaletteTable();

}  // namespace zorvik::editor
