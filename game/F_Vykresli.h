// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of a game frame: background and parallax, camera and tile layer on the canvas,
// the player sprite with pickups and level transitions, and the beam.
#pragma once

namespace zorvik {

struct PlayState;

// Called once per frame by RunLevelLoop, before DrawWorld.
void DrawBackground();
// Called once per frame after DrawBackground: camera, cells, boards, stones, enemies.
void DrawWorld();
// Called once per frame after DrawWorld: range checks, sprite, beam, pickups, exits.
void DrawPlayerAndPickups();
// Called by DrawPlayerAndPickups right after the player sprite: the beam in flight.
void DrawBeam();

// Whether the player in `p` stands on the platform cell (col, row), pressing it.
bool PlayerPressesPlatform(const PlayState& p, int col, int row);

}  // namespace zorvik
