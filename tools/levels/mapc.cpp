// mapc: compiles the level sources levels/levelN.txt into the shipped map files
// map/mapaN.map, .map.1 and .map.2, refusing any level that breaks the game's limits.
// With --stats it writes nothing and prints how each level uses its map instead.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "LevelMeasures.h"
#include "LevelSource.h"

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

int main(int argc, char** argv) {
    const bool stats = argc == 3 && std::strcmp(argv[1], "--stats") == 0;
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: mapc <levels-dir> <map-dir>\n"
                     "       mapc --stats <levels-dir>\n");
        return 2;
    }
    const fs::path sources = stats ? argv[2] : argv[1];
    const fs::path maps = stats ? fs::path() : fs::path(argv[2]);
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
        const char* suffixes[3] = {"", ".1", ".2"};
        for (int i = 0; i < 3; ++i) {
            const fs::path target = maps / (base + suffixes[i]);
            std::error_code ec;
            fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out << texts[i];
            if (!out) {
                std::fprintf(stderr, "cannot write %s\n", target.c_str());
                ++failures;
            }
        }
        std::printf("%s -> %s (%s)\n", source.filename().c_str(), base.c_str(), level.name.c_str());
    }
    return failures == 0 ? 0 : 1;
}
