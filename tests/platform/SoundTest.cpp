// SPDX-License-Identifier: GPL-3.0-or-later
// Sound buffers as the game hears them: rendered mixer output for gain, rate, looping, Play on a
// playing buffer, Stop and resume, the rewind at the end of a one-shot play; and WAV decoding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "DirectX.h"
#include "HeadlessHost.h"
#include "Host.h"
#include "Mixer.h"
#include "WaveFile.h"

namespace dx {
namespace {

constexpr int kRate = 44100;

// The 16-bit value an 8-bit unsigned sample contributes at full volume.
int Level(uint8_t sample) {
    return (sample - 128) * 256;
}

// Distinct sample values 1, 2, 3, ... so the output shows which sample was played.
std::vector<uint8_t> Ramp(size_t count) {
    std::vector<uint8_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = static_cast<uint8_t>(1 + i);
    return samples;
}

std::vector<int16_t> Render(Mixer& mixer, int count) {
    std::vector<int16_t> out(static_cast<size_t>(count));
    mixer.Render(out.data(), count);
    return out;
}

// Output samples rendered until the buffer stops, rendering one at a time (-1: still playing).
int SamplesUntilStopped(Mixer& mixer, const DirectSoundBuffer& buffer, int limit) {
    int16_t sample = 0;
    for (int n = 1; n <= limit; ++n) {
        mixer.Render(&sample, 1);
        if (!buffer.IsPlaying()) return n;
    }
    return -1;
}

TEST(SoundBuffer, VolumeIsAttenuationInHundredthsOfADecibel) {
    Mixer mixer(kRate);
    DirectSoundBuffer buffer(std::vector<uint8_t>(1000, 255), kRate, "loud", &mixer);
    buffer.Play(DSBPLAY_LOOPING);
    const int full = Level(255);
    for (int32_t volume : {0, -600, -2000, -4000, -10000}) {
        buffer.SetVolume(volume);
        const auto out = Render(mixer, 8);
        const double expected = full * std::pow(10.0, volume / 2000.0);
        for (int16_t s : out)
            EXPECT_NEAR(s, expected, 0.5) << "volume " << volume;
    }
    EXPECT_EQ(Render(mixer, 1)[0], 0);  // -100 dB is silence
    buffer.SetVolume(500);              // no amplification
    EXPECT_EQ(buffer.Volume(), 0);
    EXPECT_EQ(Render(mixer, 1)[0], full);
    buffer.SetVolume(-20000);
    EXPECT_EQ(buffer.Volume(), -10000);
}

TEST(SoundBuffer, FrequencyIsThePlaybackRate) {
    Mixer mixer(kRate);
    const auto samples = Ramp(100);
    DirectSoundBuffer buffer(samples, kRate, "ramp", &mixer);

    // At the output rate every sample is played once.
    buffer.Play(0);
    EXPECT_EQ(SamplesUntilStopped(mixer, buffer, 1000), 100);

    // At twice the rate the sample takes half as many output samples, skipping every other one.
    buffer.SetFrequency(2 * kRate);
    buffer.Play(0);
    const auto fast = Render(mixer, 50);
    for (size_t i = 0; i < fast.size(); ++i)
        EXPECT_EQ(fast[i], Level(samples[2 * i])) << i;
    EXPECT_FALSE(buffer.IsPlaying());

    // At half the rate each sample lasts two output samples.
    buffer.SetFrequency(kRate / 2);
    buffer.Play(0);
    const auto slow = Render(mixer, 6);
    EXPECT_EQ(slow, (std::vector<int16_t>{
                        static_cast<int16_t>(Level(1)), static_cast<int16_t>(Level(1)),
                        static_cast<int16_t>(Level(2)), static_cast<int16_t>(Level(2)),
                        static_cast<int16_t>(Level(3)), static_cast<int16_t>(Level(3))}));
    EXPECT_EQ(SamplesUntilStopped(mixer, buffer, 1000), 200 - 6);
}

TEST(SoundBuffer, An11025HzSampleAt67000HzPlaysAboutSixTimesFaster) {
    Mixer mixer(kRate);
    DirectSoundBuffer buffer(std::vector<uint8_t>(11025, 200), 11025, "one second", &mixer);
    EXPECT_EQ(buffer.Frequency(), 11025);
    buffer.Play(0);
    EXPECT_EQ(SamplesUntilStopped(mixer, buffer, 100000), kRate);  // one second as recorded
    buffer.SetFrequency(67000);
    buffer.Play(0);
    const int n = SamplesUntilStopped(mixer, buffer, 100000);
    EXPECT_NEAR(n, 11025.0 * kRate / 67000.0, 1.0);
}

TEST(SoundBuffer, FrequencyIsKeptInDirectSoundsRange) {
    DirectSoundBuffer buffer(Ramp(10), 11025, "x", nullptr);
    buffer.SetFrequency(1);
    EXPECT_EQ(buffer.Frequency(), 100);
    buffer.SetFrequency(500000);
    EXPECT_EQ(buffer.Frequency(), 100000);
    buffer.SetFrequency(0);  // the sample's own rate
    EXPECT_EQ(buffer.Frequency(), 11025);
}

TEST(SoundBuffer, LoopsWithoutAGapAtTheLoopPoint) {
    Mixer mixer(kRate);
    const auto samples = Ramp(10);
    DirectSoundBuffer buffer(samples, kRate, "loop", &mixer);
    buffer.Play(DSBPLAY_LOOPING);
    const auto out = Render(mixer, 35);
    for (size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i], Level(samples[i % 10])) << i;
    EXPECT_TRUE(buffer.IsPlaying());

    // A step that does not divide the length carries its fraction across the loop point.
    buffer.Stop();
    DirectSoundBuffer odd(samples, kRate * 3 / 4, "odd", &mixer);
    odd.Play(DSBPLAY_LOOPING);
    const auto out2 = Render(mixer, 40);
    for (size_t i = 0; i < out2.size(); ++i) {
        const auto index = static_cast<size_t>(std::fmod(static_cast<double>(i) * 0.75, 10.0));
        EXPECT_EQ(out2[i], Level(samples[index])) << i;
    }
}

TEST(SoundBuffer, PlayOnAPlayingBufferContinuesAndTheLatestFlagsWin) {
    Mixer mixer(kRate);
    const auto samples = Ramp(100);
    DirectSoundBuffer buffer(samples, kRate, "ramp", &mixer);
    buffer.Play(0);
    Render(mixer, 30);
    buffer.Play(0);
    EXPECT_EQ(Render(mixer, 1)[0], Level(samples[30]));
    EXPECT_EQ(buffer.PlayCount(), 2);

    // Play(0) on a looping buffer lets it end at the end of the sample.
    buffer.Play(DSBPLAY_LOOPING);
    EXPECT_TRUE(buffer.IsLooping());
    Render(mixer, 150);  // wrapped once
    EXPECT_TRUE(buffer.IsPlaying());
    buffer.Play(0);
    EXPECT_FALSE(buffer.IsLooping());
    EXPECT_EQ(SamplesUntilStopped(mixer, buffer, 1000), 100 - 81);

    // And a looping Play turns a one-shot play into a loop.
    buffer.Play(0);
    Render(mixer, 90);
    buffer.Play(DSBPLAY_LOOPING);
    Render(mixer, 20);
    EXPECT_TRUE(buffer.IsPlaying());
    EXPECT_DOUBLE_EQ(buffer.Position(), 10.0);
}

TEST(SoundBuffer, StopKeepsThePositionAndPlayResumesThere) {
    Mixer mixer(kRate);
    const auto samples = Ramp(100);
    DirectSoundBuffer buffer(samples, kRate, "ramp", &mixer);
    buffer.Play(DSBPLAY_LOOPING);
    Render(mixer, 40);
    buffer.Stop();
    EXPECT_FALSE(buffer.IsPlaying());
    EXPECT_EQ(buffer.StopCount(), 1);
    for (int16_t s : Render(mixer, 20))
        EXPECT_EQ(s, 0);
    EXPECT_DOUBLE_EQ(buffer.Position(), 40.0);
    buffer.Play(0);
    EXPECT_EQ(Render(mixer, 1)[0], Level(samples[40]));

    // Stop on a stopped buffer changes nothing but the count.
    buffer.Stop();
    buffer.Stop();
    EXPECT_DOUBLE_EQ(buffer.Position(), 41.0);
    EXPECT_EQ(buffer.StopCount(), 3);
}

TEST(SoundBuffer, TheEndOfAOneShotPlayStopsAndRewinds) {
    Mixer mixer(kRate);
    const auto samples = Ramp(20);
    DirectSoundBuffer buffer(samples, kRate, "ramp", &mixer);
    buffer.Play(0);
    const auto out = Render(mixer, 30);
    for (size_t i = 0; i < 20; ++i)
        EXPECT_EQ(out[i], Level(samples[i]));
    for (size_t i = 20; i < 30; ++i)
        EXPECT_EQ(out[i], 0) << "silent after the end";
    EXPECT_FALSE(buffer.IsPlaying());
    EXPECT_DOUBLE_EQ(buffer.Position(), 0.0);
    buffer.Play(0);
    EXPECT_EQ(Render(mixer, 1)[0], Level(samples[0]));
}

TEST(SoundBuffer, BuffersAreSummedAndTheSumIsClamped) {
    Mixer mixer(kRate);
    DirectSoundBuffer a(std::vector<uint8_t>(50, 138), kRate, "a", &mixer);  // +2560
    DirectSoundBuffer b(std::vector<uint8_t>(50, 148), kRate, "b", &mixer);  // +5120
    a.Play(0);
    b.Play(0);
    EXPECT_EQ(Render(mixer, 1)[0], 2560 + 5120);
    b.SetVolume(-2000);
    EXPECT_EQ(Render(mixer, 1)[0], 2560 + 512);

    DirectSoundBuffer high1(std::vector<uint8_t>(50, 255), kRate, "h1", &mixer);
    DirectSoundBuffer high2(std::vector<uint8_t>(50, 255), kRate, "h2", &mixer);
    DirectSoundBuffer low1(std::vector<uint8_t>(50, 0), kRate, "l1", &mixer);
    DirectSoundBuffer low2(std::vector<uint8_t>(50, 0), kRate, "l2", &mixer);
    a.Stop();
    b.Stop();
    high1.Play(0);
    high2.Play(0);
    EXPECT_EQ(Render(mixer, 1)[0], 32767);
    high1.Stop();
    high2.Stop();
    low1.Play(0);
    low2.Play(0);
    EXPECT_EQ(Render(mixer, 1)[0], -32768);
}

TEST(SoundBuffer, BuffersAndMixerMayGoInEitherOrder) {
    auto mixer = std::make_unique<Mixer>(kRate);
    auto early = std::make_unique<DirectSoundBuffer>(Ramp(10), kRate, "early", mixer.get());
    DirectSoundBuffer late(Ramp(10), kRate, "late", mixer.get());
    early->Play(DSBPLAY_LOOPING);
    early.reset();  // leaves the mixer
    EXPECT_EQ(Render(*mixer, 4), std::vector<int16_t>(4, 0));
    mixer.reset();  // the remaining buffer still answers, unmixed
    late.Play(0);
    late.SetVolume(-100);
    late.Stop();
    EXPECT_EQ(late.PlayCount(), 1);

    DirectSoundBuffer empty({}, kRate, "empty", nullptr);
    Mixer other(kRate);
    DirectSoundBuffer emptyMixed({}, kRate, "empty", &other);
    emptyMixed.Play(DSBPLAY_LOOPING);
    EXPECT_EQ(Render(other, 4), std::vector<int16_t>(4, 0));
    EXPECT_FALSE(emptyMixed.IsPlaying());
}

// ---- WAV files --------------------------------------------------------------------------

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}
void PutId(std::vector<uint8_t>& v, const char* id) {
    for (int i = 0; i < 4; ++i)
        v.push_back(static_cast<uint8_t>(id[i]));
}

struct WavSpec {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 11025;
    uint16_t bits = 8;
    bool extraChunkFirst = false;
};

std::vector<uint8_t> MakeWav(const WavSpec& wav, const std::vector<uint8_t>& pcm,
                             uint32_t dataSizeField) {
    std::vector<uint8_t> v;
    PutId(v, "RIFF");
    Put32(v, 0);  // patched below
    PutId(v, "WAVE");
    if (wav.extraChunkFirst) {
        PutId(v, "LIST");
        Put32(v, 3);  // odd size: one pad byte follows
        v.insert(v.end(), {'a', 'b', 'c', 0});
    }
    PutId(v, "fmt ");
    Put32(v, 16);
    Put16(v, wav.tag);
    Put16(v, wav.channels);
    Put32(v, wav.rate);
    Put32(v, wav.rate * wav.channels * wav.bits / 8u);
    Put16(v, static_cast<uint32_t>(wav.channels * wav.bits / 8));
    Put16(v, wav.bits);
    PutId(v, "data");
    Put32(v, dataSizeField);
    v.insert(v.end(), pcm.begin(), pcm.end());
    const auto riffSize = static_cast<uint32_t>(v.size() - 8);
    for (int i = 0; i < 4; ++i)
        v[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(riffSize >> (8 * i));
    return v;
}

std::vector<uint8_t> MakeWav(const WavSpec& wav, const std::vector<uint8_t>& pcm) {
    return MakeWav(wav, pcm, static_cast<uint32_t>(pcm.size()));
}

WaveData Decode(const std::vector<uint8_t>& bytes) {
    return DecodeWav(bytes.data(), bytes.size(), "test.wav");
}

std::vector<uint8_t> Pcm16(std::initializer_list<int> values) {
    std::vector<uint8_t> v;
    for (int x : values)
        Put16(v, static_cast<uint32_t>(x) & 0xFFFF);
    return v;
}

TEST(WaveFile, DecodesPcmToEightBitMono) {
    const WaveData mono8 = Decode(MakeWav({}, {0, 128, 255, 7}));
    EXPECT_EQ(mono8.sampleRate, 11025);
    EXPECT_EQ(mono8.samples, (std::vector<uint8_t>{0, 128, 255, 7}));

    WavSpec s16;
    s16.bits = 16;
    s16.rate = 22050;
    const WaveData mono16 = Decode(MakeWav(s16, Pcm16({-32768, 0, 32767, -1, 256})));
    EXPECT_EQ(mono16.sampleRate, 22050);
    EXPECT_EQ(mono16.samples, (std::vector<uint8_t>{0, 128, 255, 127, 129}));

    WavSpec st8;
    st8.channels = 2;
    EXPECT_EQ(Decode(MakeWav(st8, {0, 0, 255, 255, 100, 200})).samples,
              (std::vector<uint8_t>{0, 255, 150}));

    WavSpec st16 = st8;
    st16.bits = 16;
    EXPECT_EQ(Decode(MakeWav(st16, Pcm16({-32768, 32767, 1024, 1024}))).samples,
              (std::vector<uint8_t>{128, 132}));
}

TEST(WaveFile, SkipsOtherChunksAndKeepsWhatATruncatedDataChunkHolds) {
    WavSpec wav;
    wav.extraChunkFirst = true;
    EXPECT_EQ(Decode(MakeWav(wav, {10, 20, 30})).samples, (std::vector<uint8_t>{10, 20, 30}));

    // The data chunk claims more than the file holds: the samples present are kept, and a
    // partial last frame is dropped.
    EXPECT_EQ(Decode(MakeWav({}, {1, 2, 3}, 1000)).samples, (std::vector<uint8_t>{1, 2, 3}));
    WavSpec s16;
    s16.bits = 16;
    EXPECT_EQ(Decode(MakeWav(s16, {0, 0x80, 0x00}, 0xFFFFFFFF)).samples, (std::vector<uint8_t>{0}));
    EXPECT_TRUE(Decode(MakeWav({}, {})).samples.empty());
}

void ExpectRejected(const std::vector<uint8_t>& bytes, const char* why) {
    try {
        Decode(bytes);
        ADD_FAILURE() << "accepted: " << why;
    } catch (const PlatformError& e) {
        EXPECT_NE(std::string(e.what()).find("test.wav"), std::string::npos) << e.what();
    }
}

TEST(WaveFile, RejectsFilesItCannotPlayNamingTheFile) {
    ExpectRejected({}, "empty");
    ExpectRejected({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}, "not WAVE");
    const auto good = MakeWav({}, {1, 2, 3});
    auto rifx = good;
    rifx[3] = 'X';
    ExpectRejected(rifx, "big-endian RIFX");
    ExpectRejected(std::vector<uint8_t>(good.begin(), good.begin() + 30), "cut in the format");
    ExpectRejected(std::vector<uint8_t>(good.begin(), good.begin() + 36), "no data chunk");
    auto noFormat = good;
    noFormat[12] = 'x';  // the format chunk becomes an unknown one
    ExpectRejected(noFormat, "no format chunk");
    WavSpec f;
    f.tag = 3;  // IEEE float
    ExpectRejected(MakeWav(f, {0, 0, 0, 0}), "float samples");
    WavSpec b24;
    b24.bits = 24;
    ExpectRejected(MakeWav(b24, {0, 0, 0}), "24-bit");
    WavSpec c0;
    c0.channels = 0;
    ExpectRejected(MakeWav(c0, {1}), "no channels");
    WavSpec c6;
    c6.channels = 6;
    ExpectRejected(MakeWav(c6, {1, 2, 3, 4, 5, 6}), "six channels");
    WavSpec r0;
    r0.rate = 0;
    ExpectRejected(MakeWav(r0, {1}), "rate 0");
}

TEST(WaveFile, NeverReadsPastTheEndOfDamagedData) {
    WavSpec wav;
    wav.bits = 16;
    wav.channels = 2;
    wav.extraChunkFirst = true;
    const auto good = MakeWav(wav, Pcm16({1, 2, 3, 4, 5, 6}));
    // Every prefix, read from a buffer of exactly that size (the sanitizer build catches any
    // read beyond it).
    for (size_t n = 0; n <= good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        try {
            const WaveData wave = Decode(cut);
            EXPECT_LE(wave.samples.size(), 3u);
        } catch (const PlatformError&) {
        }
    }
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        auto damaged = good;
        for (int k = 0; k < 4; ++k) {
            damaged[12 + rng() % (damaged.size() - 12)] = static_cast<uint8_t>(rng());
        }
        try {
            Decode(damaged);
        } catch (const PlatformError&) {
        }
    }
}

TEST(WaveFile, LoadWavNamesAMissingOrBadFile) {
    const auto dir = std::filesystem::temp_directory_path() / "zorvik-sound-test";
    std::filesystem::create_directories(dir);
    const std::string missing = (dir / "missing.wav").string();
    try {
        LoadWav(missing);
        ADD_FAILURE() << "missing file accepted";
    } catch (const PlatformError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
    const std::string bad = (dir / "bad.wav").string();
    std::ofstream(bad) << "not a sound";
    try {
        LoadWav(bad);
        ADD_FAILURE() << "bad file accepted";
    } catch (const PlatformError& e) {
        EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
    }
    std::filesystem::remove_all(dir);
}

TEST(DirectSound, BuffersFromFilesPlayThroughTheHostsMixer) {
    const auto dir = std::filesystem::temp_directory_path() / "zorvik-sound-host-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "beep.wav").string();
    {
        const auto bytes = MakeWav({}, {200, 60, 255});
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    HeadlessHost host(dir.string());
    SetHost(&host);
    DirectSound sound;
    sound.SetCooperativeLevel(kGameWindow, DSSCL_PRIORITY);
    SoundBufferPtr buffer = sound.CreateSoundBufferFromFile(
        path, DSBUFFERDESC{DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY}, WAVEFORMATEX{});
    EXPECT_EQ(buffer->Name(), "beep.wav");
    EXPECT_EQ(buffer->Frequency(), 11025);
    EXPECT_EQ(buffer->Samples(), (std::vector<uint8_t>{200, 60, 255}));
    buffer->SetFrequency(kRate);
    buffer->Play(0);
    EXPECT_EQ(
        Render(host.GetMixer(), 4),
        (std::vector<int16_t>{static_cast<int16_t>(Level(200)), static_cast<int16_t>(Level(60)),
                              static_cast<int16_t>(Level(255)), 0}));
    EXPECT_THROW(sound.CreateSoundBufferFromFile((dir / "none.wav").string(), {}, {}),
                 PlatformError);
    SetHost(nullptr);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace dx
