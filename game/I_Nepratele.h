// SPDX-License-Identifier: GPL-3.0-or-later
// The enemies: flexible (crawling) and figure (walking) enemies.
#pragma once

namespace zorvik {

// Called by DrawWorld after UpdateStones.
void UpdateFlexEnemies();
// Called by DrawWorld after UpdateFlexEnemies.
void UpdateFigureEnemies();

}  // namespace zorvik
