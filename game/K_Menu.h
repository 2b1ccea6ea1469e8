// SPDX-License-Identifier: GPL-3.0-or-later
// The title menu with its intro wipe, the story, the high-score view and the credits.
#pragma once

namespace zorvik {

// Called by Form_Load before every game; returns when a new game starts.
void RunTitleMenu();
// Called by RunTitleMenu on its first entry in a run: the bottom-up wipe.
void PlayTitleIntro();
// Called by the title menu and the pause menu after drawing their four items: polls the
// keyboard until Up, Down, Enter or Space is down. Up and Down move `selected` within 1..4 and
// play sound028 (false: redraw and ask again); Enter or Space returns true, the item chosen.
// There is no wait for release, so a held arrow keeps moving, paced by the redraw.
bool PollMenuKeys(int& selected);

}  // namespace zorvik
