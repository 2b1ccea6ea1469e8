// The player: action choice and timed step, animation-frame rectangles, gravity, death and
// extra lives.
#include "D_sub.h"

#include "A_deklarace.h"

namespace zorvik {

void UpdatePlayerMotion() {}  // not built yet
void UpdatePlayerFrameRect() {}  // not built yet
void ApplyGravity() {}  // not built yet
void LoseLife() {}  // not built yet
void CheckExtraLife() {}  // not built yet

}  // namespace zorvik
