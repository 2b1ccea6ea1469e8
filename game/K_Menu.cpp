// The title menu with its intro wipe, the story, the high-score view and the credits.
#include "K_Menu.h"

#include "A_deklarace.h"

namespace zorvik {

void RunTitleMenu() {}  // not built yet
void PlayTitleIntro() {}  // not built yet

}  // namespace zorvik
