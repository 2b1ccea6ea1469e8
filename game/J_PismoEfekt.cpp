// The bitmap text effect: every character flies in from the bottom edge to its place.
#include "J_PismoEfekt.h"

#include "A_deklarace.h"

namespace zorvik {

void DrawFlyingText(int16_t, int16_t, int16_t, int16_t, int16_t& frames, const std::string&) {
    if (frames < 1) frames = 1;  // not built yet
}

}  // namespace zorvik
