// SPDX-License-Identifier: GPL-3.0-or-later
// assetgen: writes the game's pictures and sounds into a game folder ("assetgen <dir>"), PNG
// contact sheets of every picture ("assetgen --contact-sheets <dir>"), or the desktop icons in
// the hicolor theme's layout ("assetgen --icons <dir>": <dir>/<n>x<n>/apps/<name>.png), the
// same icons as C++ arrays the programs put on their windows ("assetgen --window-icons <file>"),
// or the initial high-score table alone ("assetgen --hiscore-table <file>").
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Assets.h"
#include "DesktopIds.h"
#include "Png.h"

namespace {

int WriteGameData(const std::filesystem::path& dist) {
    std::error_code ec;
    std::filesystem::create_directories(dist / "data", ec);
    if (ec) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", (dist / "data").c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::string error;
    for (const assetgen::NamedPicture& p : assetgen::MakePictureFiles()) {
        if (!assetgen::WriteIfChanged((dist / p.path).string(), assetgen::EncodeBmp(p.image),
                                      error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
    }
    for (const assetgen::OutputFile& f : assetgen::MakeSoundFiles()) {
        if (!assetgen::WriteIfChanged((dist / f.path).string(), f.bytes, error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
    }
    // The high-score table belongs to the players once it exists: never replace it.
    const std::filesystem::path scores = dist / "data" / "012.dat";
    if (!std::filesystem::exists(scores, ec)) {
        const std::string text = assetgen::InitialHiScoreText();
        if (!assetgen::WriteIfChanged(scores.string(), {text.begin(), text.end()}, error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

int WriteContactSheets(const std::filesystem::path& docs) {
    std::error_code ec;
    std::filesystem::create_directories(docs, ec);
    std::vector<assetgen::NamedPicture> pictures = assetgen::MakePictureFiles();
    pictures.push_back({"", "sample-screen", assetgen::MakeScenePreview(pictures)});
    pictures.push_back({"", "sample-text", assetgen::MakeTextPreview(pictures)});
    for (const assetgen::NamedPicture& p : pictures) {
        const std::string path = (docs / (p.sheetName + ".png")).string();
        if (!dx::SavePngRgb(path, p.image.rgb.data(), p.image.width, p.image.height)) {
            std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

int WriteIcons(const std::filesystem::path& dir) {
    const struct {
        const char* name;
        bool editor;
    } icons[] = {{zorvik::desktop::kGameId, false}, {zorvik::desktop::kEditorId, true}};
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        std::error_code ec;
        std::filesystem::create_directories(dir / folder / "apps", ec);
        for (const auto& icon : icons) {
            const std::string path = (dir / folder / "apps" / icon.name).string() + ".png";
            const std::vector<uint8_t> rgba = assetgen::MakeIconRgba(icon.editor, size);
            if (!dx::SavePngRgba(path, rgba.data(), size, size)) {
                std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}

// The game's and the editor's window icons as one C++ header, rewritten only when it changes so
// the programs are not rebuilt for nothing.
int WriteWindowIcons(const std::string& path) {
    constexpr int kSize = 64;
    std::string text =
        "// Made by assetgen --window-icons: the window icons of the game and the editor,\n"
        "// 64 x 64 pixels of RGBA bytes with straight alpha, row by row from the top.\n"
        "#pragma once\n\n"
        "inline constexpr int kWindowIconSize = " +
        std::to_string(kSize) + ";\n";
    for (const bool editor : {false, true}) {
        text += std::string("inline constexpr unsigned char ") +
                (editor ? "kEditorWindowIcon" : "kGameWindowIcon") + "[] = {";
        const std::vector<uint8_t> rgba = assetgen::MakeIconRgba(editor, kSize);
        for (size_t i = 0; i < rgba.size(); ++i) {
            text += (i % 16 == 0 ? "\n    " : " ") + std::to_string(rgba[i]) + ",";
        }
        text += "\n};\n";
    }
    std::string error;
    if (!assetgen::WriteIfChanged(path, {text.begin(), text.end()}, error)) {
        std::fprintf(stderr, "assetgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    // A folder is never taken from something that looks like an option (e.g. "--help").
    if (argc == 2 && !first.empty() && first[0] != '-') return WriteGameData(first);
    if (argc == 3 && first == "--contact-sheets") return WriteContactSheets(argv[2]);
    if (argc == 3 && first == "--icons") return WriteIcons(argv[2]);
    if (argc == 3 && first == "--window-icons") return WriteWindowIcons(argv[2]);
    if (argc == 3 && first == "--hiscore-table") {
        // The table a package ships, written afresh (the game folder's own may hold scores).
        const std::string text = assetgen::InitialHiScoreText();
        std::string error;
        if (!assetgen::WriteIfChanged(argv[2], {text.begin(), text.end()}, error)) {
            std::fprintf(stderr, "assetgen: %s\n", error.c_str());
            return 1;
        }
        return 0;
    }
    const bool help = argc == 2 && (first == "--help" || first == "-h");
    std::fprintf(help ? stdout : stderr,
                 "usage: assetgen <game folder>\n"
                 "       assetgen --contact-sheets <folder for PNG files>\n"
                 "       assetgen --icons <folder for the hicolor icon sizes>\n"
                 "       assetgen --window-icons <C++ header>\n"
                 "       assetgen --hiscore-table <file>\n");
    return help ? 0 : 2;
}
