// The game's only window and its start-up event, which runs the whole game.
#include "Form1.h"

#include "A_deklarace.h"
#include "Z_Exit.h"

namespace zorvik {

void Form_Load() { ExitGame(); }  // not built yet

}  // namespace zorvik
