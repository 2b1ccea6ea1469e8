// The enemies: flexible (crawling) and figure (walking) enemies.
#include "I_Nepratele.h"

#include "A_deklarace.h"

namespace zorvik {

void UpdateFlexEnemies() {}  // not built yet
void UpdateFigureEnemies() {}  // not built yet

}  // namespace zorvik
