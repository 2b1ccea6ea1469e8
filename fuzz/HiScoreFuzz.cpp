// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the high-score parser (ParseHiScores) on any file text. Every entry it gives is
// either kept whole (a name of at most ten characters and a seven-character score) or empty,
// all ten are kept when it reports the whole file valid, and the table it gives formats to a
// text that parses back to it.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "A_deklarace.h"
#include "N_HI_Score.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorvik;
    const bool complete =
        ParseHiScores(std::string_view(reinterpret_cast<const char*>(data), size));
    std::array<bool, 11> kept{};
    for (int i = 1; i <= 10; ++i) {
        const bool filled = hiScoreNames[i].size() <= 10 && hiScoreValues[i].size() == 7;
        const bool empty = hiScoreNames[i].empty() && hiScoreValues[i].empty();
        if (!filled && !empty) {
            std::fprintf(stderr, "entry %d has a name of %zu and a score of %zu characters\n", i,
                         hiScoreNames[i].size(), hiScoreValues[i].size());
            std::abort();
        }
        kept[static_cast<size_t>(i)] = filled;
        if (complete && !filled) std::abort();
    }

    const auto names = hiScoreNames;
    const auto values = hiScoreValues;
    if (!ParseHiScores(FormatHiScores())) std::abort();
    for (int i = 1; i <= 10; ++i) {
        // Empty entries come back as seven zeros; a parsed name holds no "z", the padding.
        if (hiScoreValues[i] != (kept[static_cast<size_t>(i)] ? values[i] : "0000000")) {
            std::abort();
        }
        if (hiScoreNames[i] != names[i]) std::abort();
    }
    return 0;
}
