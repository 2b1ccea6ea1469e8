// SPDX-License-Identifier: GPL-3.0-or-later
// Where the programs find their shipped files (beside the executable, or installed under
// ../share/zorvik) and where a player's own files go when those folders are read-only.
#pragma once

#include <string>

namespace zorvik::paths {

// The folder that holds data/, map/ and " 005.dat" for a program started from exeDir: exeDir
// itself when it has a data/ folder (the build's game folder), otherwise exeDir/../share/zorvik
// when that has one (an installed program), otherwise exeDir.
std::string FindDataDirectory(const std::string& exeDir);

// True for a data folder found through the installed layout: its path ends in share/zorvik.
// The programs never write there, whoever runs them: an upgrade would replace the files and the
// package manager would report them changed.
bool IsInstalledDataDirectory(const std::string& dataDir);

// True when a program whose data lies in dataDir keeps a user's own files in folder beside that
// data: a build's game folder or an unpacked copy that this user may write into. Never for an
// installed data folder, even for root.
bool KeepsUserFilesBesideData(const std::string& dataDir, const std::string& folder);

// True when this process can create a file in dir. Tried for real (a temporary file is made
// and removed), so read-only mounts, ACLs and root all get the right answer.
bool CanWriteIn(const std::string& dir);

// $XDG_DATA_HOME/zorvik, or <home>/.local/share/zorvik when XDG_DATA_HOME is unset, empty or
// not absolute. <home> is $HOME, or when that is unset, empty or not absolute, the home folder
// the password database gives this process's user. Empty when none of them gives an absolute
// folder. Not created here.
std::string UserDataDirectory();

}  // namespace zorvik::paths
