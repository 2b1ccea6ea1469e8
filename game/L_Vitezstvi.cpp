// The end-of-game screens: victory and game over.
#include "L_Vitezstvi.h"

#include "A_deklarace.h"

namespace zorvik {

void ShowVictoryScreen() {}  // not built yet
void ShowGameOverScreen() {}  // not built yet

}  // namespace zorvik
