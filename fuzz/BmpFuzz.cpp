// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the BMP decoder at its own size and scaled to a small surface. Anything but a
// PlatformError for an unreadable file is a finding.
#include <cstdlib>

#include "BmpFile.h"
#include "DirectX.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const dx::Bitmap565 native = dx::DecodeBmp565Native(data, size, "fuzz.bmp");
        if (native.width <= 0 || native.height <= 0 ||
            native.pixels.size() != static_cast<size_t>(native.width) * native.height) {
            std::abort();
        }
    } catch (const dx::PlatformError&) {
    }
    try {
        const auto scaled = dx::DecodeBmp565(data, size, 37, 23, "fuzz.bmp");
        if (scaled.size() != 37u * 23u) std::abort();
    } catch (const dx::PlatformError&) {
    }
    return 0;
}
