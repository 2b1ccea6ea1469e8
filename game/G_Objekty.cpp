// Moving objects: boards (gates over board housings) and stones.
#include "G_Objekty.h"

#include "A_deklarace.h"

namespace zorvik {

void UpdateBoards() {}  // not built yet
void UpdateStones() {}  // not built yet

}  // namespace zorvik
