// SPDX-License-Identifier: GPL-3.0-or-later
// A map set on disk: the tile file, ".1" (solidity) and ".2" (objects) beside it. Reading takes
// a set over only when all three files read completely; writing replaces all three or none.
#pragma once

#include <QByteArray>
#include <QString>

#include "MapDocument.h"

namespace zorvik::editor {

// Reads the set into the document as one step (Open); the map then belongs to `path`. False,
// with the map unchanged, when a file is missing, unreadable or not a map layer.
bool ReadMapSet(const QByteArray& path, MapDocument& document);

// What a save did: written, or why not (one Czech sentence for the designer).
struct WriteResult {
    bool written = false;
    QString cause;
};

// Writes the three layers to the set at `path`. Not written, and no file replaced, when a value
// does not fit in three characters, a file or its folder is read-only or missing, or writing
// fails (a full disk); the cause says which, naming the cell or the file.
WriteResult WriteMapSet(const QString& path);

}  // namespace zorvik::editor
