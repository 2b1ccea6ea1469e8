// SPDX-License-Identifier: GPL-3.0-or-later
// The headless host: virtual 60 Hz clock, scripted keyboard, recorded messages and program end,
// flip hook and a virtual-time limit. Nothing here depends on real time, so runs repeat exactly.
#include "HeadlessHost.h"

#include <algorithm>
#include <cmath>

#include "DirectX.h"
#include "Png.h"

namespace dx {

HeadlessHost::HeadlessHost(std::string programDirectory, uint32_t seed)
    : programDirectory_(std::move(programDirectory)),
      rng_(seed),
      screen_(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0) {}

HeadlessHost::~HeadlessHost() {
    if (HasHost() && &CurrentHost() == this) SetHost(nullptr);
}

void HeadlessHost::SetKey(int dik, bool down) {
    if (dik >= 0 && dik < 256) keys_[dik] = down;
}

bool HeadlessHost::KeyDown(int dik) const {
    if (dik < 0 || dik >= 256) return false;
    if (keys_[dik]) return true;
    for (const Hold& hold : holds_) {
        if (hold.dik == dik && frames_ >= hold.from && frames_ < hold.to) return true;
    }
    return false;
}

void HeadlessHost::HoldKeyDuringFrames(int dik, long fromFrame, long toFrame) {
    if (dik >= 0 && dik < 256 && fromFrame < toFrame) holds_.push_back({dik, fromFrame, toFrame});
}

void HeadlessHost::AdvanceMs(double ms) {
    if (!(ms > 0.0)) return;  // the clock never runs backwards
    advancedMs_ += ms;
    UpdateClock();
    RenderMixer();
    CheckTimeLimit();
}

void HeadlessHost::UpdateClock() {
    clockReadsWithoutProgress_ = 0;
    nowMs_ = advancedMs_ + static_cast<double>(frames_) * 1000.0 / 60.0;
}

void HeadlessHost::RenderMixer() {
    const long long rate = mixer_.OutputRate();
    const long long target =
        frames_ * rate / 60 +
        static_cast<long long>(std::floor(advancedMs_ * static_cast<double>(rate) / 1000.0));
    while (mixedSamples_ < target) {
        const long long chunk = std::min<long long>(target - mixedSamples_, 4096);
        mixScratch_.resize(static_cast<size_t>(chunk));
        mixer_.Render(mixScratch_.data(), static_cast<int>(chunk));
        mixedSamples_ += chunk;
    }
}

void HeadlessHost::CheckTimeLimit() {
    if (nowMs_ > timeLimitMs_) {
        throw HeadlessTimeout("Headless run passed its limit of " + std::to_string(timeLimitMs_) +
                              " ms of virtual time (at frame " + std::to_string(frames_) + ")");
    }
}

void HeadlessHost::Present(const uint16_t* pixels) {
    screen_.assign(pixels, pixels + static_cast<size_t>(kScreenWidth) * kScreenHeight);
}

void HeadlessHost::WaitForFrame() {
    ++frames_;
    UpdateClock();
    RenderMixer();
    CheckTimeLimit();
    if (onFlip) onFlip(*this, screen_.data());
}

uint32_t HeadlessHost::NowMs() {
    if (++clockReadsWithoutProgress_ > kFreeClockReads) AdvanceMs(kPollCostMs);
    return static_cast<uint32_t>(static_cast<uint64_t>(std::floor(nowMs_)));
}

void HeadlessHost::ReadKeyboard(uint8_t keys[256], int readsSinceFlip) {
    ++keyboardReads_;
    if (readsSinceFlip > kFreeReadsPerFlip) AdvanceMs(kPollCostMs);
    if (onKeyboardRead) onKeyboardRead(*this);
    for (int dik = 0; dik < 256; ++dik)
        keys[dik] = KeyDown(dik) ? 0x80 : 0;
}

void HeadlessHost::ShowMessage(const std::string& text) {
    messages_.push_back(text);
}

void HeadlessHost::EndProgram(int status) {
    ended_ = true;
    endStatus_ = status;
    throw ProgramEnded{status};
}

double HeadlessHost::Random() {
    // 53 random bits from two draws, taken in a fixed order so every run gives the same numbers.
    const uint64_t high = rng_() >> 5;
    const uint64_t low = rng_() >> 6;
    return static_cast<double>(high * 67108864ull + low) / 9007199254740992.0;
}

bool HeadlessHost::SaveScreenPng(const std::string& path) const {
    return SavePng(path, screen_.data(), kScreenWidth, kScreenHeight);
}

}  // namespace dx
