// DirectX start-up: display, keyboard, sound, every surface and sound buffer from the data
// files, and the new-game reset.
#include "B_inicializuj.h"

#include "A_deklarace.h"

namespace zorvik {

void InitDirectX() {}  // not built yet
void LoadSurfaces() {}  // not built yet
void LoadSounds() {}  // not built yet
void ResetNewGame() {}  // not built yet

}  // namespace zorvik
