// SPDX-License-Identifier: GPL-3.0-or-later
// The game's command line: --help, --version, --window, --level PATH (test-play of one map set,
// with --start, --no-card and --replay) and --prove PATH (the level prover, with --route,
// --seconds and --first-route). Without arguments the game starts as always.
#pragma once

#include <string>
#include <vector>

namespace zorvik {

struct GameCommandLine {
    enum class Action { Play, Prove, Help, Version, Error };
    Action action = Action::Play;
    bool windowed = false;  // --window, and always with --level
    std::string levelPath;  // the tile file of --level or --prove; empty for the full game
    bool noCard = false;    // --no-card: test-play without the level's intro card
    int startCol = 0;       // --start COL,ROW (1-based map cell); 0 for the level's own start
    int startRow = 0;
    std::string replayPath;   // --replay FILE: play these keys instead of the keyboard's
    std::string routePath;    // --route FILE: where the prover writes the route it found
    int proveSeconds = 0;     // --seconds N: the prover's time budget; 0 for its default
    bool firstRoute = false;  // --first-route: the prover tells its first route at once
    std::string error;        // one line, when action is Error
};

// Called by main with the arguments after the program name.
GameCommandLine ParseGameCommandLine(const std::vector<std::string>& args);

// The text --help prints.
std::string GameUsageText();

}  // namespace zorvik
