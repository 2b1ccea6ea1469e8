// SPDX-License-Identifier: GPL-3.0-or-later
// The harness every game test runs in: headless host, clean globals, temporary game folders,
// key scripts on the virtual clock and pictures saved as PNG.
#include "GameHarness.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "Png.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace zorvik::test {

// ---- TempGameDir ----------------------------------------------------------------------------

TempGameDir::TempGameDir() {
    std::string pattern = (fs::temp_directory_path() / "zorvik-game-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary game folder");
    }
    path_ = pattern;
    const fs::path source = DistDir();
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const fs::path relative = fs::relative(entry.path(), source);
        const fs::path target = fs::path(path_) / relative;
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else if (relative == fs::path("data/012.dat")) {
            fs::copy_file(entry.path(), target);
        } else {
            fs::create_symlink(fs::absolute(entry.path()), target);
        }
    }
}

TempGameDir::~TempGameDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempGameDir::File(const std::string& relative) const {
    return (fs::path(path_) / relative).string();
}

bool TempGameDir::Remove(const std::string& relative) {
    return fs::remove(File(relative));
}

void TempGameDir::Write(const std::string& relative, const std::string& contents) {
    const std::string path = File(relative);
    fs::remove(path);  // never write through a link into the build's folder
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << contents;
    if (!out) throw std::runtime_error("cannot write " + path);
}

// ---- GameHarness ----------------------------------------------------------------------------

GameHarness::GameHarness(const std::string& programDir)
    : GameHarness(std::make_unique<dx::HeadlessHost>(programDir.empty() ? DistDir() : programDir)) {
}

GameHarness::GameHarness(std::unique_ptr<dx::HeadlessHost> host) : host_(std::move(host)) {
    dx::SetHost(host_.get());
    ResetGlobals();
    host_->onKeyboardRead = [this](dx::HeadlessHost& reading) {
        ApplyTimedHolds();
        if (onKeyboardRead) onKeyboardRead(reading);
    };
}

GameHarness::~GameHarness() {
    // Buffers and surfaces go while their host still exists.
    ResetGlobals();
    host_->onKeyboardRead = nullptr;
    host_->onFlip = nullptr;
    dx::SetHost(nullptr);
}

bool GameHarness::InitGame() {
    const size_t before = host_->Messages().size();
    InitDirectX();
    const auto& messages = host_->Messages();
    for (size_t i = before; i < messages.size(); ++i) {
        ADD_FAILURE() << "start-up showed a message: " << messages[i];
    }
    return messages.size() == before;
}

void GameHarness::SetFrameRateResults(int16_t stepIntervalMs, int16_t textDelayFrames,
                                      int16_t detail) {
    stepInterval = stepIntervalMs;
    textDelay = textDelayFrames;
    detailLevel = detail;
}

void GameHarness::HoldKeyMs(int dik, double fromMs, double toMs) {
    timedHolds_.push_back({dik, fromMs, toMs});
}

void GameHarness::TapKeyAfterMs(int dik, double afterMs, double durationMs) {
    const double start = host_->NowExactMs() + afterMs;
    HoldKeyMs(dik, start, start + durationMs);
}

void GameHarness::ApplyTimedHolds() {
    const double now = host_->NowExactMs();
    // A key with timed holds is down exactly while one of them covers the clock.
    for (const auto& hold : timedHolds_) {
        const bool down = std::any_of(timedHolds_.begin(), timedHolds_.end(), [&](const auto& h) {
            return h.dik == hold.dik && now >= h.fromMs && now < h.toMs;
        });
        host_->SetKey(hold.dik, down);
    }
}

std::optional<int> GameHarness::RunUntilEnd(const std::function<void()>& body) {
    try {
        body();
    } catch (const dx::ProgramEnded& ended) {
        return ended.status;
    }
    return std::nullopt;
}

int GameHarness::CountMessages(const std::string& text) const {
    const auto& messages = host_->Messages();
    return static_cast<int>(std::count(messages.begin(), messages.end(), text));
}

bool GameHarness::SaveFramePng(const std::string& path) const {
    const auto& screen = host_->Screen();
    if (screen.size() != static_cast<size_t>(dx::kScreenWidth) * dx::kScreenHeight) return false;
    return dx::SavePng(path, screen.data(), dx::kScreenWidth, dx::kScreenHeight);
}

bool GameHarness::SaveSurfacePng(const dx::DirectDrawSurface7* surface, const std::string& path) {
    if (surface == nullptr) return false;
    return dx::SavePng(path, surface->Pixels(), surface->Width(), surface->Height());
}

}  // namespace zorvik::test
