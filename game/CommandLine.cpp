// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the game's options; the first problem found is the one reported.
#include "CommandLine.h"

#include <charconv>

namespace zorvik {

namespace {

// A whole decimal number in [low, high], or nothing.
bool ReadNumber(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

}  // namespace

GameCommandLine ParseGameCommandLine(const std::vector<std::string>& args) {
    GameCommandLine result;
    bool levelOnly = false;  // an option that needs --level was given
    bool proveOnly = false;  // an option that needs --prove was given
    const auto fail = [&result](const std::string& text) {
        result.action = GameCommandLine::Action::Error;
        result.error = text;
        return result;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "--name VALUE" or "--name=VALUE"; false (and an error) when the value is missing.
        std::string value;
        const auto takeValue = [&](const std::string& name) {
            if (arg == name) {
                if (i + 1 == args.size()) return false;
                value = args[++i];
            } else {
                value = arg.substr(name.size() + 1);
            }
            return !value.empty();
        };
        const auto is = [&arg](const std::string& name) {
            return arg == name || arg.rfind(name + "=", 0) == 0;
        };
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
        } else if (is("--level")) {
            if (!takeValue("--level")) return fail("volba '--level' potrebuje soubor mapy");
            result.levelPath = value;
            result.windowed = true;
        } else if (is("--prove")) {
            if (!takeValue("--prove")) return fail("volba '--prove' potrebuje soubor mapy");
            result.levelPath = value;
            result.action = GameCommandLine::Action::Prove;
        } else if (arg == "--no-card") {
            result.noCard = true;
            levelOnly = true;
        } else if (is("--start")) {
            const size_t comma = takeValue("--start") ? value.find(',') : std::string::npos;
            if (comma == std::string::npos ||
                !ReadNumber(value.substr(0, comma), 1, 50, result.startCol) ||
                !ReadNumber(value.substr(comma + 1), 1, 18, result.startRow)) {
                return fail("volba '--start' potrebuje pole SLOUPEC,RADEK (1..50,1..18)");
            }
            levelOnly = true;
        } else if (is("--replay")) {
            if (!takeValue("--replay")) return fail("volba '--replay' potrebuje soubor");
            result.replayPath = value;
            levelOnly = true;
        } else if (is("--route")) {
            if (!takeValue("--route")) return fail("volba '--route' potrebuje soubor");
            result.routePath = value;
            proveOnly = true;
        } else if (is("--seconds")) {
            if (!takeValue("--seconds") || !ReadNumber(value, 1, 86400, result.proveSeconds)) {
                return fail("volba '--seconds' potrebuje pocet sekund 1..86400");
            }
            proveOnly = true;
        } else if (arg == "--first-route") {
            result.firstRoute = true;
            proveOnly = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return fail("neznama volba '" + arg + "'");
        } else {
            return fail("nadbytecny argument '" + arg + "'");
        }
    }
    const bool proving = result.action == GameCommandLine::Action::Prove;
    if (proving && (result.windowed || levelOnly)) {
        return fail(
            "volba '--prove' nejde spojit s '--level', '--window', '--start', "
            "'--no-card' ani '--replay'");
    }
    if (levelOnly && result.levelPath.empty()) {
        return fail("volby '--start', '--no-card' a '--replay' patri k '--level'");
    }
    if (proveOnly && !proving)
        return fail("volby '--route', '--seconds' a '--first-route' patri k '--prove'");
    return result;
}

std::string GameUsageText() {
    return "Pouziti: zorvik [--window]\n"
           "        zorvik --level MAPA [--start SLOUPEC,RADEK] [--no-card] [--replay SOUBOR]\n"
           "        zorvik --prove MAPA [--route SOUBOR] [--seconds N] [--first-route]\n"
           "Plosinovka: provedte lahev urovnemi az k bylince.\n"
           "\n"
           "  --window          hra v okne misto cele obrazovky (prepina Alt+Enter nebo F11)\n"
           "  --level MAPA      zahraje jeden level v okne: MAPA je soubor dlazdic, MAPA.1 a\n"
           "                    MAPA.2 lezi vedle nej; hra skonci, kdyz se level opusti nebo\n"
           "                    prohraje\n"
           "  --start S,R       (s --level) zacne na poli: sloupec 1..50, radek 1..18\n"
           "  --no-card         (s --level) bez uvodni karty levelu\n"
           "  --replay SOUBOR   (s --level) zahraje klavesy ze zaznamu (radky \"<kroky> "
           "<klavesy>\")\n"
           "                    v pevnem kroku 60 Hz a vypise, zda dosel k vychodu\n"
           "  --prove MAPA      prohleda level bez okna: da se dokoncit? slepe ulicky,\n"
           "                    nedosazitelne hvezdy a naboje; vystup po radcich\n"
           "  --route SOUBOR    (s --prove) zapise nalezenou cestu jako zaznam\n"
           "  --seconds N       (s --prove) casovy limit hledani v sekundach\n"
           "  --first-route     (s --prove) vypise prvni nalezenou cestu hned, pred celym\n"
           "                    hledanim (a zapise ji do SOUBOR.first)\n"
           "  -h, --help        vypise tuto napovedu a skonci\n"
           "  --version         vypise verzi a skonci\n"
           "\n"
           "Navratovy kod --prove: 0 level je prukazne pruchozi bez nalezu, 1 neco nalezeno\n"
           "nebo vycerpan limit, 2 chybny prikaz nebo necitelna mapa.\n";
}

}  // namespace zorvik
