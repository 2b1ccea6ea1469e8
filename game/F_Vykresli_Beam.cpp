// The beam part of the drawing module: the bolt the player fires with Shift.
#include "A_deklarace.h"
#include "F_Vykresli.h"

namespace zorvik {

void DrawBeam() {}  // not built yet

}  // namespace zorvik
