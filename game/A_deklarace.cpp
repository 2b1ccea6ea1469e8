// SPDX-License-Identifier: GPL-3.0-or-later
// The one instance of the game's shared state and its reset to program-start values.
#include "A_deklarace.h"

namespace zorvik {

GameState state;

void ResetGlobals() {
    state = GameState{};
}

std::string GamePath(const std::string& relative) {
    return dx::ProgramDirectory() + relative;
}

}  // namespace zorvik
