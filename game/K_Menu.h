// The title menu with its intro wipe, the story, the high-score view and the credits.
#pragma once

namespace zorvik {

// Called by Form_Load before every game; returns when a new game starts.
void RunTitleMenu();
// Called by RunTitleMenu on its first entry in a run: the bottom-up wipe.
void PlayTitleIntro();

}  // namespace zorvik
