// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged game folders: every data file missing in turn, truncated or garbage pictures and
// sounds, FIFOs, links to /dev/zero and oversized files in their place, the low-detail
// background missing, a level whose map files are damaged mid-game. Each
// ends with the start-up message (or a report naming the file) and the desktop given back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "E_load.h"
#include "Form1.h"
#include "GameHarness.h"
#include "HostileFiles.h"
#include "L_Vitezstvi.h"
#include "M_Test_FPS.h"
#include "MenuScript.h"
#include "N_HI_Score.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

const std::string kSurfacesMessage = "Nepodařilo se nahrát SURFACES";
const std::string kSoundsMessage = "Nepodařilo se nahrat zvukové vzorky";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the game's start-up on a damaged folder and checks the clean end: exactly the one
// message, a non-zero status, the display mode and the cursor given back, no frame shown.
void ExpectCleanFailedStart(TempGameDir& dir, const std::string& message, const std::string& what) {
    GameHarness game(dir.Path());
    // A start-up that misses the damage runs on into the title menu, which the time limit ends.
    game.Host().SetTimeLimitMs(20000);
    std::optional<int> status;
    try {
        status = GameHarness::RunUntilEnd([] { Form_Load(); });
    } catch (const dx::HeadlessTimeout&) {
        FAIL() << what << ": the game started without a message";
    }
    ASSERT_TRUE(status.has_value()) << what;
    EXPECT_NE(*status, 0) << what;
    EXPECT_EQ(game.Host().Messages(), std::vector<std::string>{message}) << what;
    EXPECT_FALSE(game.Host().DisplayModeSet()) << what;
    EXPECT_TRUE(game.Host().CursorShown()) << what;
    EXPECT_EQ(game.Host().Frames(), 0) << what;
}

TEST(Fault, EachMissingDataFileEndsTheStartWithItsMessage) {
    // 007.dat and 022.dat have deeper tests of their own in the start-up tests; 012.dat (the
    // high scores) may be missing; 011.dat (the victory picture) is read only at the victory.
    const char* const pictures[] = {"001", "002", "003", "004", "006", "008", "009", "010"};
    const char* const sounds[] = {"013", "014", "015", "016", "017", "018", "019", "020",
                                  "021", "023", "024", "025", "026", "027", "028"};
    for (const char* number : pictures) {
        TempGameDir dir;
        const std::string file = std::string("data/") + number + ".dat";
        ASSERT_TRUE(dir.Remove(file)) << file;
        ExpectCleanFailedStart(dir, kSurfacesMessage, file);
    }
    for (const char* number : sounds) {
        TempGameDir dir;
        const std::string file = std::string("data/") + number + ".dat";
        ASSERT_TRUE(dir.Remove(file)) << file;
        ExpectCleanFailedStart(dir, kSoundsMessage, file);
    }
}

TEST(Fault, TruncatedOrGarbagePicturesEndTheStartWithTheSurfacesMessage) {
    const std::string original = ReadFile(DistDir() + "/data/009.dat");
    ASSERT_GT(original.size(), 1000u);
    struct Damage {
        const char* file;
        std::string contents;
    };
    std::string hugeHeader = original.substr(0, 54);
    hugeHeader[18] = hugeHeader[19] = hugeHeader[20] = '\x7f';  // width near 2^31
    const std::vector<Damage> damages = {
        {"data/009.dat", original.substr(0, original.size() / 2)},  // cut in its pixels
        {"data/009.dat", original.substr(0, 30)},                   // cut in its header
        {"data/001.dat", ""},                                       // empty
        {"data/004.dat", std::string(4096, '\xA5')},                // garbage
        {"data/010.dat", hugeHeader},                               // absurd size
    };
    for (const Damage& d : damages) {
        TempGameDir dir;
        dir.Write(d.file, d.contents);
        ExpectCleanFailedStart(
            dir, kSurfacesMessage,
            std::string(d.file) + " of " + std::to_string(d.contents.size()) + " bytes");
    }
}

TEST(Fault, TruncatedOrGarbageSoundsEndTheStartWithTheSoundsMessage) {
    const std::string original = ReadFile(DistDir() + "/data/013.dat");
    ASSERT_GT(original.size(), 100u);
    struct Damage {
        const char* file;
        std::string contents;
    };
    std::string noFormat = original;
    noFormat.replace(12, 4, "junk");  // the format chunk renamed away
    const std::vector<Damage> damages = {
        {"data/013.dat", original.substr(0, 20)},  // cut in its header
        {"data/019.dat", ""},                      // empty
        {"data/028.dat", std::string(2000, '\x5A')},
        {"data/021.dat", noFormat},
    };
    for (const Damage& d : damages) {
        TempGameDir dir;
        dir.Write(d.file, d.contents);
        ExpectCleanFailedStart(
            dir, kSoundsMessage,
            std::string(d.file) + " of " + std::to_string(d.contents.size()) + " bytes");
    }
}

// The header of a 32-bit BMP of width x height pixels, its pixels left to follow.
std::string BmpHeader(int32_t width, int32_t height) {
    std::string header(54, '\0');
    const auto put = [&header](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            header[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
    };
    const uint32_t pixelBytes = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4;
    header[0] = 'B';
    header[1] = 'M';
    put(2, 54 + pixelBytes, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<uint32_t>(width), 4);
    put(22, static_cast<uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 32, 2);
    put(34, pixelBytes, 4);
    return header;
}

TEST(Fault, SpecialOrOversizedPicturesAndSoundsEndTheStartWithoutWaiting) {
    struct Damage {
        const char* file;
        const char* kind;  // "fifo", "zero" (a link to /dev/zero) or "huge"
        const std::string* message;
    };
    const Damage damages[] = {
        {"data/003.dat", "fifo", &kSurfacesMessage},
        {"data/006.dat", "zero", &kSurfacesMessage},
        // 4200 x 4200 pixels of 32 bits are 67 MiB, more than a picture may hold; a sound of
        // 17 MiB is more than a sound may.
        {"data/004.dat", "huge", &kSurfacesMessage},
        {"data/025.dat", "fifo", &kSoundsMessage},
        {"data/019.dat", "zero", &kSoundsMessage},
        {"data/027.dat", "huge", &kSoundsMessage},
    };
    for (const Damage& d : damages) {
        const std::string what = std::string(d.file) + " as " + d.kind;
        TempGameDir dir;
        const std::string path = dir.File(d.file);
        ASSERT_TRUE(dir.Remove(d.file)) << what;
        const std::string kind = d.kind;
        if (kind == "fifo") {
            MakeFifo(path);
        } else if (kind == "zero") {
            std::filesystem::create_symlink("/dev/zero", path);
        } else if (d.message == &kSurfacesMessage) {
            MakeSparseFile(path, 54 + off_t{4200} * 4200 * 4, BmpHeader(4200, 4200));
        } else {
            MakeSparseFile(path, off_t{17} << 20, ReadFile(DistDir() + "/data/027.dat"));
        }
        EXPECT_TRUE(FinishesWithin(20, path, [&] {
            ExpectCleanFailedStart(dir, *d.message, what);
        })) << what;
    }
}

TEST(Fault, ASoundCutInItsSamplesStillPlaysWhatIsThere) {
    const std::string original = ReadFile(DistDir() + "/data/013.dat");
    TempGameDir dir;
    dir.Write("data/013.dat", original.substr(0, original.size() / 2));
    GameHarness game(dir.Path());
    EXPECT_TRUE(game.InitGame());
    EXPECT_FALSE(StartupFailed());
}

// A host whose display manages 30 frames a second, so the frame-rate test picks low detail.
class SlowHost : public dx::HeadlessHost {
  public:
    using dx::HeadlessHost::HeadlessHost;
    void WaitForFrame() override {
        dx::HeadlessHost::WaitForFrame();
        AdvanceMs(1000.0 / 60.0);
    }
};

TEST(Fault, MissingLowDetailBackgroundIsReportedWithItsName) {
    TempGameDir dir;
    ASSERT_TRUE(dir.Remove(" 005.dat"));
    GameHarness game(std::make_unique<SlowHost>(dir.Path()));
    ASSERT_TRUE(game.InitGame());
    // Only a slow display needs the file; the error names it so main can report it and give
    // the desktop back.
    try {
        MeasureFrameRate();
        FAIL() << "a missing low-detail background was not reported";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find(" 005.dat"), std::string::npos) << e.what();
    }
}

TEST(Fault, DamagedMapOfTheNextLevelIsReportedWithItsNameAndTheLoadedLevelStays) {
    TempGameDir dir;
    GameHarness game(dir.Path());
    ASSERT_TRUE(game.InitGame());
    // A level the game has loaded ...
    std::string row(150, '0');
    std::string layer;
    for (int r = 1; r <= 18; ++r)
        layer += row + "\r\n";
    dir.Write("map/mapa7.map", layer);
    dir.Write("map/mapa7.map.1", layer);
    dir.Write("map/mapa7.map.2", layer);
    levelNumber = 7;
    ASSERT_NO_THROW(ReadLevelMap());
    // ... then a next level with a cell that holds binary garbage, another cut short.
    std::string garbage = layer;
    garbage.replace(3 * 152 + 9, 3, "\x01\xff\x80");
    dir.Write("map/mapa8.map", layer);
    dir.Write("map/mapa8.map.1", garbage);
    dir.Write("map/mapa8.map.2", layer.substr(0, 152 * 16 + 20));  // 17 lines
    levelNumber = 8;
    try {
        ReadLevelMap();
        // Garbage in a cell reads as 0, like any text that is not a number; the short file
        // must still be reported.
        FAIL() << "a short map file was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("mapa8.map.2"), std::string::npos) << e.what();
    }
    for (int col = 0; col <= 51; ++col)
        EXPECT_EQ(mapSolid(col, 0), 1);
}

TEST(Fault, DamagedVictoryPictureStillLetsTheWinnerIntoTheTable) {
    for (const bool missing : {true, false}) {
        TempGameDir dir;
        if (missing) {
            ASSERT_TRUE(dir.Remove("data/011.dat"));
        } else {
            dir.Write("data/011.dat", "BM garbage");
        }
        GameHarness game(dir.Path());
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        game.Host().SetTimeLimitMs(120 * 1000.0);
        for (int i = 1; i <= 10; ++i) {
            hiScoreNames[i] = "";
            hiScoreValues[i] = "0000000";
        }
        ASSERT_TRUE(SaveHiScores());  // an empty table on disk, which the entry goes into
        score = 4200;
        KeyScript keys{game};
        keys.Tap(dik::kSpace).Tap(dik::kS).Tap(dik::kEnter);
        ShowVictoryScreen();
        EXPECT_TRUE(keys.Finished());
        EXPECT_EQ(hiScoreValues[1], "0004200") << (missing ? "missing" : "garbage");
        EXPECT_EQ(hiScoreNames[1], "S");
        EXPECT_TRUE(game.Host().Messages().empty());
    }
}

}  // namespace
}  // namespace zorvik::test
