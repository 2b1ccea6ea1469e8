// SPDX-License-Identifier: GPL-3.0-or-later
// The game program's --prove and --replay: the report on standard output and its exit status, the
// route written as a replay, and that replay played back by the game to the exit.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <string>

#include "GameHarness.h"
#include "ProverLevels.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

struct Output {
    int status = -1;
    std::string out, err;
};

// Runs the game with `arguments` (already quoted), SDL's dummy drivers and a home of its own.
Output Zorvik(const TempGameDir& home, const std::string& arguments) {
    const std::string out = home.File("out.txt"), err = home.File("err.txt");
    const std::string command = "env -i PATH=/usr/bin:/bin ASAN_OPTIONS=detect_leaks=0 HOME='" +
                                home.Path() + "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" +
                                DistDir() + "/zorvik' " + arguments + " >'" + out + "' 2>'" + err +
                                "'";
    const int raw = std::system(command.c_str());
    Output o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    o.out = FileBytes(out);
    o.err = FileBytes(err);
    return o;
}

TEST(ProveProgramTest, ProveReportsFindingsWritesTheRouteAndReplayPlaysItToTheExit) {
    const ProverLevel level(Stack({{4, "W..........W"},
                                   {1, "W....*.....W"},  // out of reach
                                   {9, "W..........W"},
                                   {1, "W.rP.....E.W"},
                                   {3, "WWWWWWWWWWWW"}}));
    TempGameDir home;
    const std::string route = home.File("route.txt");

    const Output proved = Zorvik(home, "--prove '" + level.Path() + "' --route '" + route + "'");
    EXPECT_EQ(proved.status, 1) << proved.err;  // a finding
    EXPECT_EQ(proved.out.rfind("finish: yes ", 0), 0u) << proved.out;
    EXPECT_NE(proved.out.find("\nroute: 4,15 "), std::string::npos) << proved.out;
    EXPECT_NE(proved.out.find("\nunreachable: star col 6 row 5\n"), std::string::npos);
    EXPECT_NE(proved.out.find(" complete\n"), std::string::npos) << proved.out;
    EXPECT_EQ(proved.out.find("first-route"), std::string::npos) << "only when asked for";
    EXPECT_EQ(proved.err, "");
    const long frames = std::atol(proved.out.c_str() + std::string("finish: yes ").size());

    const Output played = Zorvik(home, "--level '" + level.Path() + "' --replay '" + route + "'");
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_EQ(played.out, "replay: exit reached after " + std::to_string(frames) + " frames\n");

    const std::string standStill = home.File("still.txt");
    home.Write("still.txt", "100 -\n");
    const Output stood =
        Zorvik(home, "--level '" + level.Path() + "' --replay '" + standStill + "'");
    EXPECT_EQ(stood.status, 1);
    EXPECT_EQ(stood.out, "replay: ended without reaching the exit\n");
}

// --first-route tells the quick search's route before the whole report, which stays as it was,
// and writes it beside the route file; the game plays it to the exit.
TEST(ProveProgramTest, TheFirstRouteComesBeforeTheReportAndPlaysToTheExit) {
    const ProverLevel level(Stack({{4, "W..........W"}, {1, "W.rP.....E.W"}, {3, "WWWWWWWWWWWW"}}));
    TempGameDir home;
    const std::string route = home.File("route.txt");
    const Output plain = Zorvik(home, "--prove '" + level.Path() + "'");
    const Output told =
        Zorvik(home, "--prove '" + level.Path() + "' --route '" + route + "' --first-route");
    EXPECT_EQ(told.status, 0) << told.err;
    ASSERT_EQ(told.out.rfind("first-route: ", 0), 0u) << told.out;
    const size_t cells = told.out.find("\nfirst-route-cells: 4,15 ");
    const size_t report = told.out.find("\nfinish: yes ");
    ASSERT_NE(cells, std::string::npos) << told.out;
    ASSERT_NE(report, std::string::npos) << told.out;
    EXPECT_LT(cells, report);
    // The report after it is the plain one, but for the search's time.
    const auto withoutTime = [](std::string text) {
        return text.substr(0, text.rfind(" states, "));
    };
    EXPECT_EQ(withoutTime(told.out.substr(report + 1)), withoutTime(plain.out));

    const long frames = std::atol(told.out.c_str() + std::string("first-route: ").size());
    const Output played =
        Zorvik(home, "--level '" + level.Path() + "' --replay '" + route + ".first'");
    EXPECT_EQ(played.status, 0) << played.err;
    EXPECT_EQ(played.out, "replay: exit reached after " + std::to_string(frames) + " frames\n");
}

TEST(ProveProgramTest, ASetThatCannotBeReadGivesOneLineAndStatusTwo) {
    TempGameDir home;
    const Output o = Zorvik(home, "--prove '" + home.File("missing.map") + "'");
    EXPECT_EQ(o.status, 2);
    EXPECT_EQ(o.out, "");
    ASSERT_FALSE(o.err.empty());
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
}

}  // namespace
}  // namespace zorvik::test
