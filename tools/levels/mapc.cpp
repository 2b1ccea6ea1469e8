// mapc: compiles the level sources levels/levelN.txt into the shipped map files
// map/mapaN.map, .map.1 and .map.2, refusing any level that breaks the game's limits.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "LevelSource.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mapc <levels-dir> <map-dir>\n");
        return 2;
    }
    const fs::path sources = argv[1];
    const fs::path maps = argv[2];
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
