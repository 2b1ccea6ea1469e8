// Drawing of a game frame: background and parallax, camera and tile layer on the canvas,
// the player sprite with pickups and level transitions, and the beam.
#include "F_Vykresli.h"

#include "A_deklarace.h"

namespace zorvik {

void DrawBackground() {}  // not built yet
void DrawWorld() {}  // not built yet
void DrawPlayerAndPickups() {}  // not built yet

}  // namespace zorvik
