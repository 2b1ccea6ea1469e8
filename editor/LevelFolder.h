// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's folders: where its data lies (beside the program, or ../share/zorvik when
// installed), where the file dialog starts when that folder is installed or read-only, and
// where test-play writes its temporary map sets.
#pragma once

#include <QString>

namespace zorvik::editor {

// The folder holding data/ and map/ for the running editor.
QString ProgramDataFolder();

// Called whenever the file dialog is prepared: programDir when it is a build's or an unpacked
// copy's folder this user can write into, otherwise (always when installed, even for root)
// $XDG_DATA_HOME/zorvik/levels (default ~/.local/share/zorvik/levels), created on demand. When
// no such folder can be made: the home folder for an installed editor, otherwise programDir.
QString DefaultLevelFolder(const QString& programDir);

// Called by test-play for the folder its temporary map sets go in: $TMPDIR when it names a
// folder this user can write in, otherwise /tmp, never anywhere else.
QString TemporaryFolder();

}  // namespace zorvik::editor
