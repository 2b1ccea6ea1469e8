// SPDX-License-Identifier: GPL-3.0-or-later
// The game's pictures and sounds, made in code: one maker per data file, and the writer that
// lays them out in the game folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Raster.h"

namespace assetgen {

// Pictures (sizes are the game's surface sizes). Called by MakePictureFiles.
Image MakeTileSheet();            // data/001.dat, 730 x 146, tiles 1..20
Image MakeCanvas();               // data/002.dat, 804 x 658
Image MakePlayerSheet();          // data/003.dat, 1944 x 1109
Image MakeBackground();           // data/004.dat, 640 x 480
Image MakeLowDetailBackground();  // " 005.dat", 640 x 480
Image MakeParallaxStrip();        // data/006.dat, 1638 x 251
Image MakeObjectSheet();          // data/007.dat, 669 x 319
Image MakeEnemySheet();           // data/008.dat, 1154 x 363
Image MakeFontSheet();            // data/009.dat, 360 x 209
Image MakeTitlePicture();         // data/010.dat, 640 x 480
Image MakeVictoryPicture();       // data/011.dat, 640 x 480
Image MakeEditorSheet();          // data/editor-tiles.bmp, 730 x 292

// Sound number n (13..28) as 8-bit mono PCM samples at 11025 Hz. Called by MakeSoundFiles.
std::vector<uint8_t> MakeSoundSamples(int n);
// A RIFF/WAVE file holding 8-bit mono samples at 11025 Hz.
std::vector<uint8_t> EncodeWav(const std::vector<uint8_t>& samples);

// The initial high-score table file: 170 lines of character codes + 123.
std::string InitialHiScoreText();

// One generated file: its path relative to the game folder and its bytes.
struct OutputFile {
    std::string path;
    std::vector<uint8_t> bytes;
};
// A named picture for the contact sheets, with the path of the file it is written to.
struct NamedPicture {
    std::string path;
    std::string sheetName;
    Image image;
};

// Every picture file, in table order, with " 005.dat" and the editor sheet.
std::vector<NamedPicture> MakePictureFiles();
// A sample game screen built from the pictures, for the contact sheets.
Image MakeScenePreview(const std::vector<NamedPicture>& pictures);
// The title picture with menu-like lines of the font laid out as the game places them.
Image MakeTextPreview(const std::vector<NamedPicture>& pictures);

// A desktop icon of size x size pixels as straight-alpha RGBA: the game's (bottle and night
// sky) or the editor's (bottle on squared paper with a pencil).
std::vector<uint8_t> MakeIconRgba(bool editor, int size);

// Every sound file 013..028.
std::vector<OutputFile> MakeSoundFiles();

// Writes bytes to path through a temporary file and a rename, only when the file does not
// already hold exactly these bytes. Returns false (with a message in `error`) on failure.
bool WriteIfChanged(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace assetgen
