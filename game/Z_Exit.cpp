// Shutdown: the desktop and the cursor come back and the program ends.
#include "Z_Exit.h"

#include "A_deklarace.h"

namespace zorvik {

void ExitGame() { dx::EndProgram(0); }  // not built yet

}  // namespace zorvik
