// The swaying status line: score, beam charges and spare lives.
#include "H_Score_atd.h"

#include "A_deklarace.h"

namespace zorvik {

void DrawStatusLine() {}  // not built yet

}  // namespace zorvik
