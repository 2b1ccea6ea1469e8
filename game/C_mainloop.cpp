// The per-frame loop of one level: keyboard, key latches, pause menu, player, drawing, flip.
#include "C_mainloop.h"

#include "A_deklarace.h"

namespace zorvik {

void RunLevelLoop() {}  // not built yet

}  // namespace zorvik
