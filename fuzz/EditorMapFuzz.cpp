// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the editor's File > Open parser (ParseMapSet) on the three layer texts of one
// input. A map it opens whose values all save and read back unchanged (0..999 and -99..-10; the
// file format turns -1..-9 into 0) must save to text that opens to the same map.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "MapText.h"
#include "editor/A_deklare.h"
#include "editor/MapFile.h"

namespace {

using zorvik::editor::kLastCol;
using zorvik::editor::kLastRow;
using zorvik::editor::MapLayer;

// The layer's file text as the editor saves it, or nothing when a value would not read back.
std::optional<std::string> SavedText(const MapLayer& layer) {
    std::string text;
    std::vector<long> values(kLastCol);
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            const long value = layer[col][row];
            if (value > -10 && value < 0) return std::nullopt;
            values[static_cast<size_t>(col - 1)] = value;
        }
        const std::optional<std::string> line = zorvik::maptext::FormatLine(values);
        if (!line) return std::nullopt;
        text += *line + "\r\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorvik::editor;
    const auto parts = zorvik::fuzz::SplitLayers(data, size);
    // A missing file never reaches the parser; fewer than three parts stand for it.
    if (parts.size() < 3) return 0;

    static MapLayer tiles;
    static MapLayer solid;
    static MapLayer items;
    if (!ParseMapSet({parts[0], parts[1], parts[2]}, tiles, solid, items)) return 0;

    for (const MapLayer* layer : {&tiles, &solid, &items}) {
        const std::optional<std::string> text = SavedText(*layer);
        if (!text) continue;
        static MapLayer again;
        if (!ParseLayer(*text, again)) std::abort();
        for (int row = 1; row <= kLastRow; ++row) {
            for (int col = 1; col <= kLastCol; ++col) {
                if (again[col][row] != (*layer)[col][row]) {
                    std::fprintf(stderr, "cell (%d, %d) saved as %d reads back as %d\n", col, row,
                                 (*layer)[col][row], again[col][row]);
                    std::abort();
                }
            }
        }
    }
    return 0;
}
