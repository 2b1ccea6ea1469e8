// Level loading: the intro card, the three map files, and the object tables built from them.
#include "E_load.h"

#include "A_deklarace.h"

namespace zorvik {

void LoadLevel() {}  // not built yet
void ReadLevelMap() {}  // not built yet

}  // namespace zorvik
