// SPDX-License-Identifier: GPL-3.0-or-later
// Where the editor finds the game it starts for test-play and for proving a level.
#pragma once

#include <QString>

namespace zorvik::editor {

// The game beside an editor in editorDir: editorDir/zorvik in the build's game folder (or an
// unpacked copy), otherwise editorDir/../games/zorvik for an editor installed in bin/. When
// neither is an executable file, editorDir/zorvik, so that the message about it names a path.
QString GameProgramFor(const QString& editorDir);

}  // namespace zorvik::editor
