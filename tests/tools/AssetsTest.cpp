// SPDX-License-Identifier: GPL-3.0-or-later
// The generated data files: formats and sizes, loading through the platform layer, the
// high-score table, seamless loops, and a generator that is deterministic and quiet.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "TestPaths.h"
#include "WaveFile.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
    return uint32_t{d[at]} | uint32_t{d[at + 1]} << 8 | uint32_t{d[at + 2]} << 16 |
           uint32_t{d[at + 3]} << 24;
}
uint16_t U16(const std::vector<uint8_t>& d, size_t at) {
    return static_cast<uint16_t>(d[at] | d[at + 1] << 8);
}

struct Picture {
    const char* path;
    int width, height;
    bool keyed;
};
const Picture kPictures[] = {
    {"/data/001.dat", 730, 146, false},  {"/data/002.dat", 804, 658, true},
    {"/data/003.dat", 1944, 1109, true}, {"/data/004.dat", 640, 480, false},
    {"/ 005.dat", 640, 480, false},      {"/data/006.dat", 1638, 251, true},
    {"/data/007.dat", 669, 319, true},   {"/data/008.dat", 1154, 363, true},
    {"/data/009.dat", 360, 209, true},   {"/data/010.dat", 640, 480, true},
    {"/data/011.dat", 640, 480, true},   {"/data/editor-tiles.bmp", 730, 292, false},
};

TEST(GeneratedPictures, AreTwentyFourBitBitmapsOfTheSurfaceSizes) {
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.path);
        const std::string path = zorvik::test::DistDir() + p.path;
        const std::vector<uint8_t> d = ReadBytes(path);
        ASSERT_GE(d.size(), 54u);
        EXPECT_EQ(d[0], 'B');
        EXPECT_EQ(d[1], 'M');
        EXPECT_EQ(static_cast<int>(U32(d, 18)), p.width);
        EXPECT_EQ(static_cast<int>(U32(d, 22)), p.height);
        EXPECT_EQ(U16(d, 28), 24);
        EXPECT_EQ(U32(d, 30), 0u);
        const dx::Bitmap565 b = dx::LoadBmp565Native(path);
        EXPECT_EQ(b.width, p.width);
        EXPECT_EQ(b.height, p.height);
        EXPECT_EQ(dx::LoadBmp565(path, p.width, p.height).size(),
                  static_cast<size_t>(p.width) * static_cast<size_t>(p.height));
        // On keyed sheets only true black may become the transparent colour in 16 bits.
        if (p.keyed) {
            const uint32_t offset = U32(d, 10);
            const size_t stride = (static_cast<size_t>(p.width) * 3 + 3) & ~size_t{3};
            int hidden = 0;
            for (int y = 0; y < p.height; ++y) {
                for (int x = 0; x < p.width; ++x) {
                    const uint8_t* px = d.data() + offset + static_cast<size_t>(y) * stride + x * 3;
                    const bool black = px[0] == 0 && px[1] == 0 && px[2] == 0;
                    const bool keyedAway = px[0] < 8 && px[1] < 4 && px[2] < 8;
                    if (!black && keyedAway) ++hidden;
                }
            }
            EXPECT_EQ(hidden, 0);
        }
    }
}

TEST(GeneratedPictures, ParallaxStripIsSeeThroughAboveTheHillsOnly) {
    const dx::Bitmap565 b = dx::LoadBmp565Native(zorvik::test::DistDir() + "/data/006.dat");
    int topDrawn = 0;
    int bottomHoles = 0;
    for (int x = 0; x < b.width; ++x) {
        topDrawn += b.pixels[static_cast<size_t>(x)] != 0 ? 1 : 0;
        bottomHoles += b.pixels[static_cast<size_t>(b.height - 1) * b.width + x] == 0 ? 1 : 0;
    }
    EXPECT_EQ(topDrawn, 0);
    EXPECT_EQ(bottomHoles, 0);
}

TEST(GeneratedSounds, AreEightBitMonoPcmAtTheGameRateAndAudible) {
    for (int n = 13; n <= 28; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "/data/%03d.dat", n);
        SCOPED_TRACE(name);
        const std::string path = zorvik::test::DistDir() + name;
        const std::vector<uint8_t> d = ReadBytes(path);
        ASSERT_GE(d.size(), 44u);
        EXPECT_EQ(std::string(d.begin(), d.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(d.begin() + 8, d.begin() + 12), "WAVE");
        EXPECT_EQ(U16(d, 20), 1);       // PCM
        EXPECT_EQ(U16(d, 22), 1);       // mono
        EXPECT_EQ(U32(d, 24), 11025u);  // samples per second
        EXPECT_EQ(U32(d, 28), 11025u);  // bytes per second
        EXPECT_EQ(U16(d, 32), 1);       // block align
        EXPECT_EQ(U16(d, 34), 8);       // bits per sample
        const dx::WaveData w = dx::LoadWav(path);
        EXPECT_EQ(w.sampleRate, 11025);
        ASSERT_GT(w.samples.size(), 500u);
        const auto [lo, hi] = std::minmax_element(w.samples.begin(), w.samples.end());
        EXPECT_GT(*hi - *lo, 120) << "too quiet";
    }
}

TEST(GeneratedSounds, LoopsJoinWithoutAClick) {
    for (const char* name : {"/data/021.dat", "/data/026.dat"}) {
        SCOPED_TRACE(name);
        const dx::WaveData w = dx::LoadWav(zorvik::test::DistDir() + name);
        ASSERT_GT(w.samples.size(), 1000u);
        // The step from the last sample back to the first is no larger than the steps
        // inside the loop.
        std::vector<int> steps;
        for (size_t i = 1; i < w.samples.size(); ++i) {
            steps.push_back(std::abs(w.samples[i] - w.samples[i - 1]));
        }
        std::sort(steps.begin(), steps.end());
        const int typical = steps[steps.size() * 9 / 10];
        EXPECT_LE(std::abs(w.samples.front() - w.samples.back()), typical + 1);
    }
}

// The game plays some sounds far from 11025 Hz; at those rates their pitch (estimated from
// zero crossings) must still land in a comfortable range and the loops must not buzz.
TEST(GeneratedSounds, PitchSuitsTheRateTheGamePlaysThemAt) {
    const struct {
        int number;
        double rate;
    } uses[] = {{21, 67000}, {21, 80000}, {25, 30000}, {25, 50000},
                {26, 7000},  {26, 8000},  {16, 40000}, {16, 10000}};
    for (const auto& use : uses) {
        char name[32];
        std::snprintf(name, sizeof name, "/data/%03d.dat", use.number);
        SCOPED_TRACE(std::string(name) + " at " + std::to_string(use.rate));
        const dx::WaveData w = dx::LoadWav(zorvik::test::DistDir() + name);
        int crossings = 0;
        for (size_t i = 1; i < w.samples.size(); ++i) {
            crossings += (w.samples[i - 1] < 128) != (w.samples[i] < 128) ? 1 : 0;
        }
        const double seconds = static_cast<double>(w.samples.size()) / use.rate;
        const double pitch = crossings / 2.0 / seconds;
        EXPECT_GT(pitch, 60.0);
        EXPECT_LT(pitch, 2500.0);
        EXPECT_GT(seconds, 0.08);  // long enough to hear, and a loop slower than a buzz
    }
}

// Reads the high-score file as the game does: ten names of ten codes, ten scores of seven.
TEST(HighScoreFile, HoldsTenValidEntriesBestFirst) {
    std::ifstream in(zorvik::test::DistDir() + "/data/012.dat");
    ASSERT_TRUE(in.good());
    std::vector<int> codes;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t used = 0;
        codes.push_back(std::stoi(line, &used));
        EXPECT_EQ(used, line.size()) << line;
    }
    ASSERT_EQ(codes.size(), 170u);
    for (int i = 0; i < 100; ++i) {
        const int c = codes[static_cast<size_t>(i)] - 123;
        EXPECT_TRUE((c >= 'A' && c <= 'Z') || c == ' ' || c == 'z') << "line " << i + 1;
    }
    long previous = 10000000;
    for (int e = 0; e < 10; ++e) {
        long value = 0;
        for (int k = 0; k < 7; ++k) {
            const int c = codes[static_cast<size_t>(100 + 7 * e + k)] - 123;
            ASSERT_TRUE(c >= '0' && c <= '9') << "score " << e + 1;
            value = value * 10 + (c - '0');
        }
        EXPECT_LE(value, previous) << "score " << e + 1;
        previous = value;
    }
}

class GeneratorRun : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("assetgen-test-" +
                 std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(root_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    int Run(const fs::path& dir) {
        const std::string command =
            std::string("\"") + ZORVIK_ASSETGEN + "\" \"" + dir.string() + "\"";
        return std::system(command.c_str());
    }
    fs::path root_;
};

TEST_F(GeneratorRun, TwoRunsWriteTheSameBytesAsTheBuild) {
    ASSERT_EQ(Run(root_ / "a"), 0);
    ASSERT_EQ(Run(root_ / "b"), 0);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root_ / "a")) {
        if (!entry.is_regular_file()) continue;
        const fs::path rel = fs::relative(entry.path(), root_ / "a");
        SCOPED_TRACE(rel.string());
        ++files;
        const std::vector<uint8_t> a = ReadBytes(entry.path());
        EXPECT_EQ(a, ReadBytes(root_ / "b" / rel));
        if (rel != fs::path("data/012.dat")) {
            EXPECT_EQ(a, ReadBytes(fs::path(zorvik::test::DistDir()) / rel));
        }
    }
    EXPECT_EQ(files, 10 + 1 + 1 + 16 + 1);  // data pictures, " 005.dat", editor, sounds, scores
}

TEST_F(GeneratorRun, RerunLeavesFilesAloneAndNeverReplacesTheScores) {
    const fs::path dir = root_ / "game";
    ASSERT_EQ(Run(dir), 0);
    const fs::path scores = dir / "data" / "012.dat";
    {
        std::ofstream out(scores, std::ios::trunc);
        out << "player's own table\n";
    }
    const auto stamp = fs::last_write_time(dir / "data" / "003.dat");
    fs::last_write_time(dir / "data" / "003.dat", stamp - std::chrono::hours(1));
    ASSERT_EQ(Run(dir), 0);
    EXPECT_EQ(fs::last_write_time(dir / "data" / "003.dat"), stamp - std::chrono::hours(1));
    std::ifstream in(scores);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "player's own table\n");
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        EXPECT_NE(entry.path().extension(), ".tmp") << "leftover temporary file " << entry.path();
    }
}

TEST_F(GeneratorRun, RejectsBadArgumentsWithoutWritingAnything) {
    const std::string program = std::string("\"") + ZORVIK_ASSETGEN + "\"";
    const std::string inRoot = "cd \"" + root_.string() + "\" && ";
    EXPECT_NE(std::system((inRoot + program + " > /dev/null 2>&1").c_str()), 0);
    EXPECT_NE(std::system((inRoot + program + " --fast > /dev/null 2>&1").c_str()), 0);
    EXPECT_EQ(std::system((inRoot + program + " --help > /dev/null 2>&1").c_str()), 0);
    EXPECT_TRUE(fs::is_empty(root_)) << "an option was taken for a folder";
}

}  // namespace
