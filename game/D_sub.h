// SPDX-License-Identifier: GPL-3.0-or-later
// The player: action choice and timed step, animation-frame rectangles, gravity, death and
// extra lives.
#pragma once

namespace zorvik {

// Called once per frame by RunLevelLoop: action choice from the latches, then the
// player step when stepInterval milliseconds have passed.
void UpdatePlayerMotion();
// Called once per frame after UpdatePlayerMotion: playerSrcRect of playerFrame.
void UpdatePlayerFrameRect();
// Called once per frame after UpdatePlayerFrameRect: falling and landing.
void ApplyGravity();
// Called when the player falls out of the map or an enemy touches it.
void LoseLife();
// Called by a death, a level exit, the pause menu's restart and the new-game reset: the player
// at rest (not jumping, falling or busy, frame 0, standing) with no key latched.
void StopPlayer();
// Called after each star: one life per 10 000 points, up to six.
void CheckExtraLife();

}  // namespace zorvik
