// SPDX-License-Identifier: GPL-3.0-or-later
// Shared helper of the map fuzz targets: cutting one fuzz input into the three layers of a map
// set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zorvik::fuzz {

// The three layers of a map set in one input, separated by a line "=====" (with its line end).
// Fewer than three parts leave the later layers out, as missing files would.
inline std::vector<std::string_view> SplitLayers(const uint8_t* data, size_t size) {
    constexpr std::string_view kSeparator = "=====\n";
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts;
    while (parts.size() < 2) {
        const size_t at = rest.find(kSeparator);
        if (at == std::string_view::npos) break;
        parts.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kSeparator.size());
    }
    parts.push_back(rest);
    return parts;
}

}  // namespace zorvik::fuzz
