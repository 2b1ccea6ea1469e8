// SPDX-License-Identifier: GPL-3.0-or-later
// The zorvik program itself, started with a bare environment as a user's shell would: without
// a display it says so in one line and ends, with a video driver chosen on purpose it plays,
// and a map set it cannot read is refused at once, in Czech.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HostileFiles.h"
#include "TestLevel.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

const std::string kNoDisplay =
    "Zorvik: nenalezen zadny displej (zkontrolujte DISPLAY nebo WAYLAND_DISPLAY)\n";

class ProgramTest : public ::testing::Test {
  protected:
    // A fresh home and session folder (as a login gives; without one the Wayland library adds
    // a line of its own), silent sound, and the given variables: no DISPLAY unless given.
    std::vector<std::string> Environment(const std::vector<std::string>& more = {}) const {
        std::vector<std::string> variables = {
            "PATH=/usr/bin:/bin", "HOME=" + dir_.Path(), "XDG_DATA_HOME=" + dir_.Path() + "/xdg",
            "XDG_RUNTIME_DIR=" + dir_.Path(), "SDL_AUDIODRIVER=dummy",
            // Under the sanitizers, what the system's display and D-Bus libraries keep until
            // exit is not the game's to free; memory errors are still caught.
            "ASAN_OPTIONS=detect_leaks=0"};
        variables.insert(variables.end(), more.begin(), more.end());
        return variables;
    }
    ProgramRun Zorvik(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& more = {}) const {
        std::vector<std::string> command = {DistDir() + "/zorvik"};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunProgram(command, Environment(more), 60);
    }

    TempGameDir dir_;
};

TEST_F(ProgramTest, WithoutADisplayTheGameSaysSoInOneLineAndEndsWithStatusOne) {
    for (const std::vector<std::string>& display :
         {std::vector<std::string>{}, std::vector<std::string>{"DISPLAY=:7391"}}) {
        SCOPED_TRACE(display.empty() ? "no DISPLAY" : display[0]);
        for (const std::vector<std::string>& arguments :
             {std::vector<std::string>{}, std::vector<std::string>{"--window"}}) {
            const ProgramRun run = Zorvik(arguments, display);
            EXPECT_FALSE(run.timedOut) << "the game ran on unseen";
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.standardError, kNoDisplay);
        }
    }
}

TEST_F(ProgramTest, AVideoDriverChosenOnPurposePlaysWithoutADisplay) {
    // The player starts right above the level exit and falls into it.
    TestLevel level;
    level.Ground(5);
    level.items[3][5] = 999;
    level.items[4][5] = 997;
    level.Write(dir_, 1);
    const ProgramRun run = Zorvik({"--level", dir_.File("map/mapa1.map")},
                                  {"SDL_VIDEODRIVER=offscreen", "ZORVIK_HOLD_KEYS=Space"});
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.status, 0) << run.standardError;
}

TEST_F(ProgramTest, AMapSetItCannotReadIsRefusedAtOnceInCzech) {
    const std::string missing = dir_.File("map/none.map");
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {"/dev/zero", "zorvik: soubor mapy /dev/zero neni obycejny soubor\n"},
        {missing, "zorvik: soubor mapy " + missing + " nelze otevrit\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Zorvik({"--level", c.path});
        EXPECT_EQ(run.status, 2) << c.path;
        EXPECT_EQ(run.standardError, c.message);
    }
}

}  // namespace
}  // namespace zorvik::test
