// SPDX-License-Identifier: GPL-3.0-or-later
// DirectSound and its buffers: WAV files become 8-bit mono buffers that the host's mixer plays.
// Every state change takes the mixer's lock, because the mixer runs on the audio thread.
#include <algorithm>
#include <utility>

#include "DirectX.h"
#include "Host.h"
#include "Mixer.h"
#include "WaveFile.h"

namespace dx {

namespace {

constexpr int32_t kMinFrequency = 100;
constexpr int32_t kMaxFrequency = 100000;

int32_t ClampFrequency(int32_t hz) {
    return std::clamp(hz, kMinFrequency, kMaxFrequency);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DirectSoundBuffer::DirectSoundBuffer(std::vector<uint8_t> samples, int32_t sampleRate,
                                     std::string name)
    : DirectSoundBuffer(std::move(samples), sampleRate, std::move(name),
                        HasHost() ? &CurrentHost().GetMixer() : nullptr) {}

DirectSoundBuffer::DirectSoundBuffer(std::vector<uint8_t> samples, int32_t sampleRate,
                                     std::string name, Mixer* mixer)
    : samples_(std::move(samples)),
      sampleRate_(ClampFrequency(sampleRate)),
      name_(std::move(name)),
      mixer_(mixer),
      frequency_(sampleRate_) {
    if (mixer_) mixer_->Add(this);
}

DirectSoundBuffer::~DirectSoundBuffer() {
    if (mixer_) mixer_->Remove(this);
}

std::unique_lock<std::mutex> DirectSoundBuffer::Guard() const {
    return mixer_ ? std::unique_lock<std::mutex>(mixer_->Lock()) : std::unique_lock<std::mutex>();
}

void DirectSoundBuffer::Play(int32_t flags) {
    auto lock = Guard();
    // A playing buffer keeps its position; only the looping flag of this call counts.
    playing_ = true;
    looping_ = (flags & DSBPLAY_LOOPING) != 0;
    ++playCount_;
}

void DirectSoundBuffer::Stop() {
    auto lock = Guard();
    playing_ = false;  // the position stays, so a later Play resumes from here
    ++stopCount_;
}

void DirectSoundBuffer::SetVolume(int32_t hundredthsOfDb) {
    auto lock = Guard();
    volume_ = std::clamp<int32_t>(hundredthsOfDb, -10000, 0);
}

void DirectSoundBuffer::SetFrequency(int32_t hz) {
    auto lock = Guard();
    frequency_ = hz == 0 ? sampleRate_ : ClampFrequency(hz);
}

bool DirectSoundBuffer::IsPlaying() const {
    auto lock = Guard();
    return playing_;
}

bool DirectSoundBuffer::IsLooping() const {
    auto lock = Guard();
    return looping_;
}

int32_t DirectSoundBuffer::Volume() const {
    auto lock = Guard();
    return volume_;
}

int32_t DirectSoundBuffer::Frequency() const {
    auto lock = Guard();
    return frequency_;
}

double DirectSoundBuffer::Position() const {
    auto lock = Guard();
    return position_;
}

int DirectSoundBuffer::PlayCount() const {
    auto lock = Guard();
    return playCount_;
}

int DirectSoundBuffer::StopCount() const {
    auto lock = Guard();
    return stopCount_;
}

void DirectSound::SetCooperativeLevel(int64_t hwnd, int32_t flags) {
    (void)hwnd;
    (void)flags;  // one program, one output: nothing to arbitrate
}

SoundBufferPtr DirectSound::CreateSoundBufferFromFile(const std::string& path,
                                                      const DSBUFFERDESC& desc,
                                                      const WAVEFORMATEX& format) {
    (void)desc;    // every buffer offers volume and frequency control
    (void)format;  // the file's own format decides
    if (DryRun())
        return std::make_shared<DirectSoundBuffer>(std::vector<uint8_t>(1, 128), 11025,
                                                   FileNameOf(path));
    WaveData wave = LoadWav(path);
    return std::make_shared<DirectSoundBuffer>(std::move(wave.samples), wave.sampleRate,
                                               FileNameOf(path));
}

}  // namespace dx
