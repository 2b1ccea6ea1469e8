// SPDX-License-Identifier: GPL-3.0-or-later
// The list of generated files, the initial high-score table and the quiet, safe file writer.
#include <cstdio>
#include <fstream>
#include <iterator>

#include "Assets.h"

namespace assetgen {

std::vector<NamedPicture> MakePictureFiles() {
    std::vector<NamedPicture> list;
    list.push_back({"data/001.dat", "001-tiles", MakeTileSheet()});
    list.push_back({"data/002.dat", "002-canvas", MakeCanvas()});
    list.push_back({"data/003.dat", "003-player", MakePlayerSheet()});
    list.push_back({"data/004.dat", "004-background", MakeBackground()});
    list.push_back({" 005.dat", "005-background-low-detail", MakeLowDetailBackground()});
    list.push_back({"data/006.dat", "006-parallax", MakeParallaxStrip()});
    list.push_back({"data/007.dat", "007-objects", MakeObjectSheet()});
    list.push_back({"data/008.dat", "008-figure-enemy", MakeEnemySheet()});
    list.push_back({"data/009.dat", "009-font", MakeFontSheet()});
    list.push_back({"data/010.dat", "010-title", MakeTitlePicture()});
    list.push_back({"data/011.dat", "011-victory", MakeVictoryPicture()});
    list.push_back({"data/editor-tiles.bmp", "editor-tiles", MakeEditorSheet()});
    return list;
}

std::vector<OutputFile> MakeSoundFiles() {
    std::vector<OutputFile> list;
    for (int n = 13; n <= 28; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "data/%03d.dat", n);
        list.push_back({name, EncodeWav(MakeSoundSamples(n))});
    }
    return list;
}

std::string InitialHiScoreText() {
    // Ten invented players with modest scores, best first.
    const char* names[10] = {"ZORVIK",  "CARODEJ", "BYLINKA", "FLASKA", "LEKTVAR",
                             "SKRITEK", "HVEZDA",  "KAMEN",   "PRKNO",  "OHNIVEC"};
    const int scores[10] = {20000, 15000, 12000, 10000, 8000, 6000, 5000, 4000, 3000, 2000};
    std::string text;
    auto put = [&](char c) { text += std::to_string(static_cast<unsigned char>(c) + 123) + "\n"; };
    for (const char* name : names) {
        std::string padded = name;
        padded.resize(10, 'z');
        for (char c : padded)
            put(c);
    }
    for (int score : scores) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%07d", score);
        for (int i = 0; i < 7; ++i)
            put(digits[i]);
    }
    return text;
}

bool WriteIfChanged(const std::string& path, const std::vector<uint8_t>& bytes,
                    std::string& error) {
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            const std::vector<uint8_t> old((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
            if (old == bytes) return true;
        }
    }
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = "cannot create " + temporary;
            return false;
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            error = "cannot write " + temporary;
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        error = "cannot rename " + temporary + " to " + path;
        return false;
    }
    return true;
}

}  // namespace assetgen
