// SPDX-License-Identifier: GPL-3.0-or-later
// The game's only window and its start-up event, which runs the whole game.
#pragma once

namespace zorvik {

// Runs the start-up (cursor, DirectX, frame-rate test) and then the endless cycle of title
// menu, level, end screen. Does not return; the program ends in ExitGame. With testLevelPath
// set it plays that one level instead and ends when the level is won, lost or left.
[[noreturn]] void Form_Load();

}  // namespace zorvik
