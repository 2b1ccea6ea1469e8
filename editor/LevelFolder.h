// The editor's folders: where its data lies (beside the program, or ../share/zorvik when
// installed) and where the file dialog starts when that folder is installed or read-only.
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

}  // namespace zorvik::editor
