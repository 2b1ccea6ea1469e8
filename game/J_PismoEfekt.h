// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap text effect: every character flies in from the bottom edge to its place.
#pragma once

#include <cstdint>
#include <string>

namespace zorvik {

// Called by every text screen (level intro, menus, end screens, name entry). Blocks, flipping
// once per step, until the whole text lies in place on the screen and in backdropSurface, or
// until Escape is pressed while textSkippable is set. x, y: text cursor (the first character
// lands at x + 20); right: margin beyond which a character moves to the next line; left: x of
// every new line; frames: flight time in frames, raised to 1 when below 1 (written back).
void DrawFlyingText(int16_t x, int16_t y, int16_t right, int16_t left, int16_t& frames,
                    const std::string& text);

}  // namespace zorvik
