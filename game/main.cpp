// SPDX-License-Identifier: GPL-3.0-or-later
// The zorvik program: reads its options, installs the SDL host and runs Form_Load. Closing the
// window or a SIGINT/SIGTERM ends the game through ExitGame; a fatal error gives the desktop
// back, is shown in a message box and on standard error, and ends the program with status 1.
// A bad option or an unreadable --level set ends it with status 2 before a window opens.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "CommandLine.h"
#include "E_load.h"
#include "Form1.h"
#include "Host.h"
#include "ProveCommand.h"
#include "Replay.h"
#include "ReplayCommand.h"
#include "SdlHost.h"
#include "Z_Exit.h"

namespace {

int Fail(const std::string& what) {
    try {
        zorvik::RestoreDesktop();
    } catch (...) {
        // The report below matters more than a desktop that could not be restored.
    }
    const std::string text = "Zorvik: " + what;
    if (dx::HasHost()) {
        try {
            dx::MessageBox(text);  // also written to standard error
            return 1;
        } catch (...) {
            // No box could be shown; standard error still gets the text.
        }
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const zorvik::GameCommandLine options =
        zorvik::ParseGameCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (options.action) {
        case zorvik::GameCommandLine::Action::Help:
            std::fputs(zorvik::GameUsageText().c_str(), stdout);
            return 0;
        case zorvik::GameCommandLine::Action::Version:
            std::printf("zorvik %s\n", ZORVIK_VERSION);
            return 0;
        case zorvik::GameCommandLine::Action::Error:
            std::fprintf(stderr, "zorvik: %s (napoveda: --help)\n", options.error.c_str());
            return 2;
        case zorvik::GameCommandLine::Action::Prove:
            return zorvik::RunProveCommand(options.levelPath, options.routePath,
                                           options.proveSeconds, options.firstRoute, stdout,
                                           stderr);
        case zorvik::GameCommandLine::Action::Play:
            break;
    }
    zorvik::Replay replay;
    if (!options.levelPath.empty()) {
        const std::string problem = zorvik::OpenTestLevelSet(options.levelPath);
        if (!problem.empty()) {
            std::fprintf(stderr, "zorvik: %s\n", problem.c_str());
            return 2;
        }
        zorvik::testLevelNoCard = options.noCard;
        zorvik::testStartCol = static_cast<int16_t>(options.startCol);
        zorvik::testStartRow = static_cast<int16_t>(options.startRow);
        if (!options.replayPath.empty()) {
            try {
                replay = zorvik::LoadReplay(options.replayPath);
            } catch (const zorvik::ReplayError& e) {
                std::fprintf(stderr, "zorvik: %s\n", e.what());
                return 2;
            }
        }
    }

    std::unique_ptr<dx::Host> host;
    int status = 0;
    try {
        host = dx::CreateSdlHost(argv[0], options.windowed);
        dx::SetHost(host.get());
        host->onQuitRequest = [] { zorvik::ExitGame(); };
        if (!options.replayPath.empty()) {
            status = zorvik::RunReplay(*host, replay, stdout);
        } else {
            zorvik::Form_Load();
        }
    } catch (const std::exception& e) {
        status = Fail(e.what());
    } catch (...) {
        status = Fail("unknown error");
    }
    // Sound buffers and surfaces go before the host that mixes and shows them.
    zorvik::ResetGlobals();
    return status;
}
