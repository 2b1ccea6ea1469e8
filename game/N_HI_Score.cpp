// The high-score table: its file, the name entry after a game.
#include "N_HI_Score.h"

#include "A_deklarace.h"

namespace zorvik {

void LoadHiScores() {}  // not built yet
void SaveHiScores() {}  // not built yet
void EnterHiScore() {}  // not built yet

}  // namespace zorvik
