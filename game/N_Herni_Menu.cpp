// The in-game (pause) menu opened with Escape.
#include "N_Herni_Menu.h"

#include "A_deklarace.h"

namespace zorvik {

void RunGameMenu() {}  // not built yet

}  // namespace zorvik
