// SPDX-License-Identifier: GPL-3.0-or-later
// A map set on disk: the tile file, ".1" (solidity) and ".2" (objects) beside it. Reading takes
// a set over only when all three files read completely; writing replaces all three or none.
#pragma once

#include <QString>

#include "MapDocument.h"

namespace zorvik::editor {

// Reads the set into the document as one step (Open); the map then belongs to `path`. False,
// with the map unchanged, when a file is missing, unreadable or not a map layer.
bool ReadMapSet(const QString& path, MapDocument& document);

// Writes the three layers to the set at `path`. False when a value does not fit in three
// characters, a file or its folder is read-only, or writing fails; no file is replaced then.
bool WriteMapSet(const QString& path);

}  // namespace zorvik::editor
