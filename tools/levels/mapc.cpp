// SPDX-License-Identifier: GPL-3.0-or-later
// mapc: compiles the level sources levels/levelN.txt into the shipped map files
// map/mapaN.map, .map.1 and .map.2, refusing any level that breaks the game's limits.
// With --stats it writes nothing and prints how each level uses its map instead. With --prove it
// also plays every level it writes with the prover and refuses one that is not proven clean
// (finishable, searched to its end, no dead end, every pickup reachable).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "LevelMeasures.h"
#include "LevelSource.h"
#include "ProveCommand.h"

namespace fs = std::filesystem;

namespace {

// One row of the --stats table, as Markdown.
void PrintStats(int n, const zorvik::levels::CompiledLevel& level) {
    using zorvik::levels::Flatten;
    const auto m =
        zorvik::levelrules::MeasureLevel(Flatten(level.layers.tiles), Flatten(level.layers.items));
    std::printf("| %d | %s | %.1f %% (%d of %d) | %d | %d | %d | %d |\n", n, level.name.c_str(),
                m.UpperShare(), m.usedInUpperRows, m.usedCells, m.highestStarRow, m.stars,
                m.bonuses, m.bigBonuses);
}

}  // namespace

// Proves the level just written; prints the prover's report under the level's name and says
// whether it passed.
bool ProveWritten(const fs::path& tiles, double seconds) {
    zorvik::ProveOptions options;
    options.seconds = seconds;
    zorvik::ProveResult result;
    try {
        result = zorvik::ProveLevel(tiles.string(), options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", tiles.c_str(), e.what());
        return false;
    }
    const std::string report = zorvik::FormatProveReport(result);
    for (size_t at = 0; at < report.size();) {
        const size_t end = report.find('\n', at);
        const std::string line = report.substr(at, end - at);
        if (line.rfind("route:", 0) != 0) std::printf("  %s\n", line.c_str());
        at = end == std::string::npos ? report.size() : end + 1;
    }
    return zorvik::ProveStatus(result) == 0;
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const bool stats = args.size() == 2 && args[0] == "--stats";
    const bool prove = !args.empty() && args[0] == "--prove";
    double seconds = 60.0;
    if (prove && args.size() == 5 && args[1] == "--seconds") {
        seconds = std::atof(args[2].c_str());
        args.erase(args.begin() + 1, args.begin() + 3);
    }
    if (prove) args.erase(args.begin());
    if (args.size() != 2 || seconds <= 0) {
        std::fprintf(stderr,
                     "usage: mapc <levels-dir> <map-dir>\n"
                     "       mapc --prove [--seconds N] <levels-dir> <map-dir>\n"
                     "       mapc --stats <levels-dir>\n");
        return 2;
    }
    const fs::path sources = stats ? args[1] : args[0];
    const fs::path maps = stats ? fs::path() : fs::path(args[1]);
    if (stats) {
        std::printf(
            "| Level | Name | Used cells in rows 1-10 | Highest star row | Stars | 500 | "
            "2500 |\n|---|---|---|---|---|---|---|\n");
    }
    int failures = 0;
    for (int n = 1;; ++n) {
        const fs::path source = sources / ("level" + std::to_string(n) + ".txt");
        if (!fs::exists(source)) break;
        std::ifstream in(source, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        const auto level = zorvik::levels::CompileLevelSource(text.str());
        if (!level.errors.empty()) {
            for (const auto& e : level.errors) {
                std::fprintf(stderr, "%s: %s\n", source.c_str(), e.c_str());
            }
            ++failures;
            continue;
        }
        if (stats) {
            PrintStats(n, level);
            continue;
        }
        const auto texts = zorvik::levels::MapFileTexts(level.layers);
        const std::string base = "mapa" + std::to_string(n) + ".map";
        // A level to be proven is written under a name of its own first and takes its place only
        // when proven clean, so a refused level leaves the previous map files as they were.
        const std::string written = prove ? "." + base + ".proving" : base;
        const char* suffixes[3] = {"", ".1", ".2"};
        bool ok = true;
        for (int i = 0; i < 3; ++i) {
            const fs::path target = maps / (written + suffixes[i]);
            std::error_code ec;
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out << texts[i];
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", target.c_str());
                ok = false;
            }
        }
        std::printf("%s -> %s (%s)\n", source.filename().c_str(), base.c_str(), level.name.c_str());
        std::fflush(stdout);
        if (prove) {
            ok = ok && ProveWritten(maps / written, seconds);
            for (int i = 0; i < 3; ++i) {
                std::error_code ec;
                if (ok) {
                    fs::rename(maps / (written + suffixes[i]), maps / (base + suffixes[i]), ec);
                    if (ec) std::fprintf(stderr, "cannot write %s\n", (maps / base).c_str());
                    ok = ok && !ec;
                } else {
                    fs::remove(maps / (written + suffixes[i]), ec);
                }
            }
            if (!ok) {
                std::fprintf(stderr, "%s: not proven clean; %s left as it was\n", source.c_str(),
                             base.c_str());
            }
        }
        if (!ok) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
