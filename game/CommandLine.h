// The game's command line: --help, --version, --window and --level PATH (test-play of one map
// set). Without arguments the game starts as always.
#pragma once

#include <string>
#include <vector>

namespace zorvik {

struct GameCommandLine {
    enum class Action { Play, Help, Version, Error };
    Action action = Action::Play;
    bool windowed = false;  // --window, and always with --level
    std::string levelPath;  // the tile file of --level; empty for the full game
    std::string error;      // one line, when action is Error
};

// Called by main with the arguments after the program name.
GameCommandLine ParseGameCommandLine(const std::vector<std::string>& args);

// The text --help prints.
std::string GameUsageText();

}  // namespace zorvik
