// Where the programs find their shipped files (beside the executable, or installed under
// ../share/zorvik) and where a player's own files go when those folders are read-only.
#pragma once

#include <string>

namespace zorvik::paths {

// The folder that holds data/, map/ and " 005.dat" for a program started from exeDir: exeDir
// itself when it has a data/ folder (the build's game folder), otherwise exeDir/../share/zorvik
// when that has one (an installed program), otherwise exeDir.
std::string FindDataDirectory(const std::string& exeDir);

// True when this process can create a file in dir. Tried for real (a temporary file is made
// and removed), so read-only mounts, ACLs and root all get the right answer.
bool CanWriteIn(const std::string& dir);

// $XDG_DATA_HOME/zorvik, or $HOME/.local/share/zorvik when XDG_DATA_HOME is unset, empty or
// not absolute; empty when neither gives an absolute folder. Not created here.
std::string UserDataDirectory();

}  // namespace zorvik::paths
