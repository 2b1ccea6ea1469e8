// Reading the game's options; the first problem found is the one reported.
#include "CommandLine.h"

namespace zorvik {

GameCommandLine ParseGameCommandLine(const std::vector<std::string>& args) {
    GameCommandLine result;
    const auto fail = [&result](const std::string& text) {
        result.action = GameCommandLine::Action::Error;
        result.error = text;
        return result;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            result.action = GameCommandLine::Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = GameCommandLine::Action::Version;
            return result;
        }
        if (arg == "--window") {
            result.windowed = true;
        } else if (arg == "--level" || arg.rfind("--level=", 0) == 0) {
            std::string path;
            if (arg == "--level") {
                if (i + 1 == args.size()) return fail("option '--level' needs a map file");
                path = args[++i];
            } else {
                path = arg.substr(8);
            }
            if (path.empty()) return fail("option '--level' needs a map file");
            result.levelPath = path;
            result.windowed = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return fail("unknown option '" + arg + "'");
        } else {
            return fail("unexpected argument '" + arg + "'");
        }
    }
    return result;
}

std::string GameUsageText() {
    return "Usage: zorvik [--window] [--level MAP]\n"
           "A platform game: steer the bottle through the levels to the goal.\n"
           "\n"
           "  --window      play in a window instead of full screen (Alt+Enter or F11 switch)\n"
           "  --level MAP   play one level in a window: MAP is the tile file, MAP.1 and MAP.2\n"
           "                lie beside it; the game ends when the level is left or lost\n"
           "  --help        show this help and exit\n"
           "  --version     show the version and exit\n";
}

}  // namespace zorvik
