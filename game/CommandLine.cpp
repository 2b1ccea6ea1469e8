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
                if (i + 1 == args.size()) return fail("volba '--level' potrebuje soubor mapy");
                path = args[++i];
            } else {
                path = arg.substr(8);
            }
            if (path.empty()) return fail("volba '--level' potrebuje soubor mapy");
            result.levelPath = path;
            result.windowed = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return fail("neznama volba '" + arg + "'");
        } else {
            return fail("nadbytecny argument '" + arg + "'");
        }
    }
    return result;
}

std::string GameUsageText() {
    return "Pouziti: zorvik [--window] [--level MAPA]\n"
           "Plosinovka: provedte lahev urovnemi az k bylince.\n"
           "\n"
           "  --window       hra v okne misto cele obrazovky (prepina Alt+Enter nebo F11)\n"
           "  --level MAPA   zahraje jeden level v okne: MAPA je soubor dlazdic, MAPA.1 a\n"
           "                 MAPA.2 lezi vedle nej; hra skonci, kdyz se level opusti nebo\n"
           "                 prohraje\n"
           "  -h, --help     vypise tuto napovedu a skonci\n"
           "  --version      vypise verzi a skonci\n";
}

}  // namespace zorvik
