// SPDX-License-Identifier: GPL-3.0-or-later
// The swaying status line: score, beam charges and spare lives.
#pragma once

namespace zorvik {

// Called once per frame by RunLevelLoop after DrawPlayerAndPickups.
void DrawStatusLine();

}  // namespace zorvik
