// SPDX-License-Identifier: GPL-3.0-or-later
// State the platform's own source files share: the primary surface the host shows, whether it was
// drawn on since it was last shown, and how many keyboard reads happened since the last flip.
#pragma once

namespace dx {

class DirectDrawSurface7;

namespace detail {

struct PlatformState {
    DirectDrawSurface7* primary = nullptr;  // the current primary surface, not owned
    bool primaryDirty = false;              // drawn on since it was last presented
    int readsSinceFlip = 0;
    // Bytes written by fills and by copies (blits) since start-up; the benchmarks size their
    // memory floor with them.
    unsigned long long bytesFilled = 0;
    unsigned long long bytesCopied = 0;
};

// Used by Surface.cpp, DirectDraw.cpp, Input.cpp and SetHost (which resets it).
PlatformState& State();

}  // namespace detail
}  // namespace dx
