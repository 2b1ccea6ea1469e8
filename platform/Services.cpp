// SPDX-License-Identifier: GPL-3.0-or-later
// The installed host and the Windows services built on it: clock, cursor, message box, program
// directory, random numbers, message pump and ending the program.
#include <cstdlib>
#include <iostream>

#include "DirectX.h"
#include "Host.h"
#include "PlatformState.h"

namespace dx {

namespace {
Host* installedHost = nullptr;
detail::PlatformState platformState;
}  // namespace

namespace detail {
PlatformState& State() {
    return platformState;
}
}  // namespace detail

void SetHost(Host* host) {
    installedHost = host;
    // A new host starts a new run: nothing is pending to be shown and no read has happened yet.
    auto& state = detail::State();
    state.primaryDirty = state.primary != nullptr;
    state.readsSinceFlip = 0;
}

Host& CurrentHost() {
    if (installedHost == nullptr) throw PlatformError("No platform host is installed");
    return *installedHost;
}

bool HasHost() {
    return installedHost != nullptr;
}

void SetDryRun(bool on) {
    detail::dryRun = on;
}

uint32_t timeGetTime() {
    return CurrentHost().NowMs();
}

void ShowCursor(bool show) {
    CurrentHost().ShowCursor(show);
}

void MessageBox(const std::string& text) {
    std::cerr << text << std::endl;
    CurrentHost().ShowMessage(text);
}

std::string ProgramDirectory() {
    return CurrentHost().ProgramDirectory();
}

double Rnd() {
    return CurrentHost().Random();
}

void DoEvents() {
    CurrentHost().PumpEvents();
}

uint32_t FocusLossCount() {
    return CurrentHost().FocusLossCount();
}

void EndProgram(int status) {
    CurrentHost().EndProgram(status);
    std::abort();  // unreachable: a host's EndProgram exits or throws
}

}  // namespace dx
