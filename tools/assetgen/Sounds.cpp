// SPDX-License-Identifier: GPL-3.0-or-later
// The game's sounds, synthesised at 11025 Hz. Each is shaped for the rate the game plays it at:
// the rolling loop (67000 / 80000 Hz) and the platform click (30000 / 50000 Hz) are made low and
// long so that the speed-up brings them into range, the board motor (7000 / 8000 Hz) a little
// high; both loops consist of whole periods only, so they repeat without a seam.
#include <algorithm>
#include <cmath>
#include <vector>

#include "Assets.h"

namespace assetgen {

namespace {

constexpr double kRate = 11025;

using Wave = std::vector<double>;

Wave Silence(double seconds) {
    return Wave(static_cast<size_t>(seconds * kRate), 0.0);
}

double Env(double t, double attack, double decay) {
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// Adds a tone whose pitch glides from f0 to f1 (exponentially), with harmonics weights.
void AddTone(Wave& w, double start, double length, double f0, double f1, double amp, double attack,
             double decay, const std::vector<double>& harmonics = {1}) {
    double phase = 0;
    const size_t s0 = static_cast<size_t>(start * kRate);
    const size_t n = static_cast<size_t>(length * kRate);
    for (size_t i = 0; i < n && s0 + i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double f = f0 * std::pow(f1 / f0, t / length);
        phase += 2 * kPi * f / kRate;
        double v = 0;
        for (size_t h = 0; h < harmonics.size(); ++h)
            v += harmonics[h] * std::sin(phase * static_cast<double>(h + 1));
        const double release = std::min(1.0, (length - t) / 0.012);  // no click at the end
        w[s0 + i] += amp * Env(t, attack, decay) * release * v;
    }
}

// Adds noise through a one-pole low-pass whose cut-off glides from c0 to c1 (Hz).
void AddNoise(Wave& w, double start, double length, double c0, double c1, double amp, double attack,
              double decay, uint64_t seed) {
    Rng rng(seed);
    double y = 0;
    const size_t s0 = static_cast<size_t>(start * kRate);
    const size_t n = static_cast<size_t>(length * kRate);
    for (size_t i = 0; i < n && s0 + i < w.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double cut = c0 + (c1 - c0) * t / length;
        const double k = 1 - std::exp(-2 * kPi * cut / kRate);
        y += k * ((rng.Next() * 2 - 1) - y);
        w[s0 + i] += amp * Env(t, attack, decay) * y * 2.5;
    }
}

// A loop of `length` samples made of sinusoids with whole numbers of cycles, so it is periodic.
void AddPeriodic(Wave& w, int cycles, double amp, double phase, int modCycles = 0,
                 double modDepth = 0) {
    const double n = static_cast<double>(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        const double t = static_cast<double>(i) / n;
        const double mod =
            modCycles > 0 ? 1 - modDepth * (0.5 + 0.5 * std::cos(2 * kPi * modCycles * t)) : 1;
        w[i] += amp * mod * std::sin(2 * kPi * cycles * t + phase);
    }
}

// Band of periodic noise: many whole-cycle sinusoids with random phases between lo and hi cycles.
void AddPeriodicNoise(Wave& w, int lo, int hi, double amp, uint64_t seed) {
    Rng rng(seed);
    const double count = hi - lo + 1;
    for (int c = lo; c <= hi; ++c) {
        const double a = amp / std::sqrt(count) * (0.5 + rng.Next());
        AddPeriodic(w, c, a, rng.Next() * 2 * kPi);
    }
}

void FadeEnds(Wave& w, double inSeconds, double outSeconds) {
    const size_t in = static_cast<size_t>(inSeconds * kRate);
    const size_t out = static_cast<size_t>(outSeconds * kRate);
    for (size_t i = 0; i < in && i < w.size(); ++i)
        w[i] *= static_cast<double>(i) / static_cast<double>(in);
    for (size_t i = 0; i < out && i < w.size(); ++i)
        w[w.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(out);
}

std::vector<uint8_t> ToBytes(Wave w, double peak) {
    double m = 1e-9;
    for (double v : w)
        m = std::max(m, std::fabs(v));
    std::vector<uint8_t> out(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        const double v = w[i] / m * peak;
        out[i] =
            static_cast<uint8_t>(std::clamp(static_cast<int>(std::lround(128 + 127 * v)), 0, 255));
    }
    return out;
}

double Note(int semitonesFromA4) {
    return 440 * std::pow(2.0, semitonesFromA4 / 12.0);
}

}  // namespace

std::vector<uint8_t> MakeSoundSamples(int n) {
    const std::vector<double> bell = {1, 0, 0.35, 0, 0.15};
    const std::vector<double> brass = {1, 0.6, 0.45, 0.3, 0.2, 0.1};
    Wave w;
    switch (n) {
        case 13: {  // beam refill: a rising sparkle
            w = Silence(0.5);
            const int notes[4] = {3, 7, 10, 15};
            for (int i = 0; i < 4; ++i) {
                AddTone(w, 0.06 * i, 0.3, Note(notes[i] + 12), Note(notes[i] + 12), 0.5, 0.005,
                        0.08, bell);
            }
            AddNoise(w, 0.0, 0.45, 3000, 4000, 0.08, 0.02, 0.12, 13);
            break;
        }
        case 14: {  // beam without charge: a dry fizzle
            w = Silence(0.3);
            AddNoise(w, 0, 0.3, 2500, 400, 0.7, 0.005, 0.09, 14);
            AddTone(w, 0, 0.25, 160, 90, 0.4, 0.005, 0.08, {1, 0.5, 0.3});
            break;
        }
        case 15: {  // crawling enemy: a wet squelch
            w = Silence(0.25);
            AddNoise(w, 0, 0.25, 900, 250, 0.6, 0.02, 0.06, 15);
            AddTone(w, 0, 0.2, 140, 220, 0.5, 0.02, 0.05, {1, 0.4});
            break;
        }
        case 16: {  // landing: a low thump (played faster for the bottle, slower for stones)
            w = Silence(0.55);
            AddTone(w, 0, 0.55, 95, 38, 0.9, 0.004, 0.12, {1, 0.3});
            AddNoise(w, 0, 0.08, 1200, 300, 0.5, 0.001, 0.015, 16);
            break;
        }
        case 17: {  // level exit: a magic upward glissando with chimes
            w = Silence(1.0);
            AddTone(w, 0, 0.9, 300, 1200, 0.4, 0.05, 0.5, {1, 0.3, 0.2});
            const int notes[5] = {0, 4, 7, 12, 16};
            for (int i = 0; i < 5; ++i)
                AddTone(w, 0.12 * i, 0.5, Note(notes[i] + 3), Note(notes[i] + 3), 0.35, 0.005, 0.15,
                        bell);
            break;
        }
        case 18: {  // victory fanfare
            w = Silence(3.4);
            struct Step {
                double at, len;
                int note;
            };
            const Step tune[] = {{0.0, 0.18, -9}, {0.18, 0.18, -9}, {0.36, 0.18, -9},
                                 {0.54, 0.5, -5}, {1.04, 0.25, -2}, {1.29, 0.25, -5},
                                 {1.54, 1.5, 3}};
            for (const Step& s : tune) {
                AddTone(w, s.at, s.len + 0.1, Note(s.note), Note(s.note), 0.45, 0.01,
                        std::min(s.len * 1.5, 0.9), brass);
                AddTone(w, s.at, s.len + 0.1, Note(s.note - 12), Note(s.note - 12), 0.2, 0.01,
                        std::min(s.len * 1.5, 0.9), {1, 0.5});
            }
            AddTone(w, 1.54, 1.8, Note(-2), Note(-2), 0.25, 0.02, 0.5, brass);
            AddTone(w, 1.54, 1.8, Note(-5), Note(-5), 0.2, 0.02, 0.5, brass);
            break;
        }
        case 19: {  // star: a bright chime
            w = Silence(0.4);
            AddTone(w, 0, 0.4, Note(19), Note(19), 0.6, 0.002, 0.1, bell);
            AddTone(w, 0.05, 0.35, Note(26), Note(26), 0.4, 0.002, 0.08, bell);
            break;
        }
        case 20: {  // stone pushed: a grinding rumble
            w = Silence(0.5);
            AddNoise(w, 0, 0.5, 500, 200, 0.8, 0.03, 0.2, 20);
            AddTone(w, 0, 0.5, 70, 55, 0.4, 0.03, 0.2, {1, 0.6, 0.4});
            break;
        }
        case 21: {                // rolling loop, played 6 to 7 times faster: a soft glassy rattle
            w = Wave(8820, 0.0);  // 0.8 s: whole cycles of every component below
            AddPeriodicNoise(w, 20, 60, 0.8, 21);
            AddPeriodic(w, 24, 0.35, 0.0, 8, 0.8);
            AddPeriodic(w, 36, 0.2, 1.0, 8, 0.8);
            AddPeriodic(w, 130, 0.08, 2.0, 16, 1.0);  // small clinks
            break;
        }
        case 22: {  // beam shot: a descending zap
            w = Silence(0.35);
            AddTone(w, 0, 0.35, 1900, 260, 0.7, 0.003, 0.12, {1, 0, 0.33, 0, 0.2});
            AddNoise(w, 0, 0.1, 5000, 2000, 0.15, 0.001, 0.03, 22);
            break;
        }
        case 23: {  // extra life: a happy jingle
            w = Silence(0.8);
            const int notes[5] = {-2, 3, 7, 10, 15};
            for (int i = 0; i < 5; ++i) {
                AddTone(w, 0.09 * i, 0.35, Note(notes[i] + 12), Note(notes[i] + 12), 0.45, 0.005,
                        0.12, {1, 0.3, 0.2});
            }
            break;
        }
        case 24: {  // beam hits an enemy: a crackling burst
            w = Silence(0.5);
            AddNoise(w, 0, 0.5, 3000, 300, 0.8, 0.002, 0.12, 24);
            AddTone(w, 0, 0.4, 400, 60, 0.5, 0.002, 0.1, {1, 0.5, 0.3});
            break;
        }
        case 25: {  // platform click, played 3 to 4.5 times faster: a mechanical clack
            w = Silence(0.4);
            AddNoise(w, 0, 0.05, 1500, 800, 0.7, 0.001, 0.01, 25);
            AddTone(w, 0.01, 0.35, 120, 90, 0.7, 0.002, 0.07, {1, 0.7, 0.3, 0.2});
            AddNoise(w, 0.12, 0.06, 1200, 600, 0.35, 0.001, 0.012, 26);
            break;
        }
        case 26: {  // board motor loop, played a little slower: a grinding hum with gear ticks
            w = Wave(11025, 0.0);  // one second: 110 Hz hum, 12 ticks
            for (int h = 1; h <= 8; ++h)
                AddPeriodic(w, 110 * h, 0.5 / h, h * 0.7);
            AddPeriodic(w, 55, 0.2, 0.3);
            AddPeriodicNoise(w, 300, 420, 0.25, 27);
            {
                Wave ticks(w.size(), 0.0);
                AddPeriodicNoise(ticks, 800, 1000, 1.0, 28);
                for (size_t i = 0; i < w.size(); ++i) {
                    const double t = std::fmod(
                        static_cast<double>(i) * 12.0 / static_cast<double>(w.size()), 1.0);
                    w[i] += 0.5 * ticks[i] * (t < 0.01 ? t / 0.01 : std::exp(-(t - 0.01) * 25));
                }
            }
            break;
        }
        case 27: {  // death: breaking glass and a falling tone
            w = Silence(1.1);
            AddNoise(w, 0, 0.6, 6000, 2500, 0.5, 0.001, 0.15, 27);
            for (int i = 0; i < 6; ++i) {
                AddTone(w, 0.03 * i, 0.4, 2000 + 450 * i, 1900 + 430 * i, 0.15, 0.001, 0.07, {1});
            }
            AddTone(w, 0.15, 0.95, 500, 90, 0.5, 0.01, 0.4, {1, 0.5, 0.25});
            break;
        }
        case 28: {  // menu blip
            w = Silence(0.09);
            AddTone(w, 0, 0.09, 880, 1320, 0.8, 0.002, 0.04, {1, 0.2});
            break;
        }
        default:
            return {};
    }
    const bool loop = n == 21 || n == 26;
    if (!loop) FadeEnds(w, 0.002, n == 18 ? 0.3 : 0.01);
    return ToBytes(w, 0.92);
}

std::vector<uint8_t> EncodeWav(const std::vector<uint8_t>& samples) {
    const uint32_t size = static_cast<uint32_t>(samples.size());
    const uint32_t padded = size + (size & 1);  // chunks are padded to even length
    std::vector<uint8_t> out(44 + padded, 128);
    size_t at = 0;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out[at++] = static_cast<uint8_t>(v >> (8 * i));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i)
            out[at++] = static_cast<uint8_t>(t[i]);
    };
    tag("RIFF");
    put(36 + padded, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);      // PCM
    put(1, 2);      // mono
    put(11025, 4);  // samples per second
    put(11025, 4);  // bytes per second
    put(1, 2);      // block align
    put(8, 2);      // bits per sample
    tag("data");
    put(size, 4);
    std::copy(samples.begin(), samples.end(), out.begin() + 44);
    return out;
}

}  // namespace assetgen
