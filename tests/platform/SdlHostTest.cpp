// The SDL host on SDL's dummy video and audio drivers: it opens, shows and reads, paces flips on
// its own 60 Hz clock, plays buffers from the audio thread and turns SIGTERM into the game's
// quit request; a pad plugged in and pulled out while it runs reads as keys.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "DirectX.h"
#include "Host.h"
#include "Mixer.h"
#include "SdlHost.h"
#include "SdlVirtualPad.h"

namespace dx {
namespace {

class SdlHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("ZORVIK_WINDOWED");
        // SDL ignores pads while no window of the program has the focus, as on the dummy
        // driver; this hint lets the virtual pad through.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        host_ = CreateSdlHost("/nowhere/zorvik");
        SetHost(host_.get());
    }
    void TearDown() override {
        SetHost(nullptr);
        host_.reset();
    }
    std::unique_ptr<Host> host_;
};

TEST_F(SdlHostTest, ShowsPicturesReadsTheKeyboardAndKnowsItsSurroundings) {
    std::vector<uint16_t> picture(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0xF800);
    host_->SetDisplayMode(640, 480);
    host_->ShowCursor(false);
    host_->Present(picture.data());
    uint8_t keys[256];
    keys[57] = 0xAA;
    host_->ReadKeyboard(keys, 1);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(keys[i], 0) << "no key is down: " << i;
    host_->RestoreDisplayMode();
    host_->Present(picture.data());  // harmless while the desktop is back
    host_->SetDisplayMode(640, 480);
    host_->ShowCursor(true);

    EXPECT_FALSE(host_->ProgramDirectory().empty());
    EXPECT_NE(host_->ProgramDirectory().back(), '/');
    double low = 1.0;
    double high = 0.0;
    for (int i = 0; i < 2000; ++i) {
        const double r = host_->Random();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    EXPECT_LT(low, 0.05);
    EXPECT_GT(high, 0.95);
    const uint32_t before = host_->NowMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(host_->NowMs() - before, 15u);
}

TEST_F(SdlHostTest, PicturesAreShownOnTheSixtyHertzClock) {
    // The clock starts at the first tick and the n-th picture is held until its absolute
    // deadline n/60 s later, so 31 frames cannot pass in less than 31/60 s however fast the
    // loop is.
    std::vector<uint16_t> picture(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 31; ++i) {
        host_->WaitForFrame();
        host_->Present(picture.data());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(seconds, 31.0 / 60.0 - 0.001);
}

TEST_F(SdlHostTest, TheTimingTraceTellsAWaitForAKeyFromALateFrame) {
    const std::string path = ::testing::TempDir() + "zorvik-timing-trace";
    host_.reset();
    setenv("ZORVIK_TRACE_TIMING", path.c_str(), 1);
    host_ = CreateSdlHost("/nowhere/zorvik");
    unsetenv("ZORVIK_TRACE_TIMING");
    SetHost(host_.get());
    std::vector<uint16_t> picture(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0);
    uint8_t keys[256];
    const auto pollFor = [&](std::chrono::milliseconds span) {
        const auto end = std::chrono::steady_clock::now() + span;
        for (int reads = 1; std::chrono::steady_clock::now() < end; ++reads)
            host_->ReadKeyboard(keys, reads);
    };
    host_->WaitForFrame();
    host_->Present(picture.data());  // on time
    host_->WaitForFrame();
    pollFor(std::chrono::milliseconds(25));  // a menu polling for a key past its frame
    host_->Present(picture.data());
    host_->WaitForFrame();
    for (int reads = 1; reads <= 10; ++reads)  // the flying text reads ten times a frame
        host_->ReadKeyboard(keys, reads);
    host_->Present(picture.data());
    host_->WaitForFrame();
    std::this_thread::sleep_for(std::chrono::milliseconds(40));  // a frame whose work overran
    host_->Present(picture.data());
    SetHost(nullptr);
    host_.reset();  // closes the trace

    std::ifstream trace(path);
    std::vector<int> waited;
    std::vector<long> late;
    int waitStarts = 0;
    for (std::string kind, rest; trace >> kind && std::getline(trace, rest);) {
        long time = 0, lateUs = 0;
        int waitedFlag = 0;
        waitStarts += kind == "W";
        if (kind == "F" && std::istringstream(rest) >> time >> lateUs >> waitedFlag) {
            late.push_back(lateUs);
            waited.push_back(waitedFlag);
        }
    }
    std::remove(path.c_str());
    EXPECT_EQ(waited, (std::vector<int>{0, 1, 0, 0}));
    EXPECT_EQ(waitStarts, 1);
    ASSERT_EQ(late.size(), 4u);
    EXPECT_EQ(late[1], 0) << "a flip after a wait for a key is not late";
    EXPECT_GE(late[3], 15000) << "an overrunning frame is reported late";
}

TEST_F(SdlHostTest, TheAudioThreadPlaysTheBuffers) {
    DirectSoundBuffer buffer(std::vector<uint8_t>(2000, 200), 11025, "tone");
    buffer.Play(DSBPLAY_LOOPING);
    DirectSoundBuffer once(std::vector<uint8_t>(100, 50), 11025, "blip");
    once.Play(0);
    // The dummy device consumes samples in real time; allow a slow machine plenty of time.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (once.IsPlaying() && std::chrono::steady_clock::now() < deadline) {
        buffer.SetVolume(-100);  // state changes race the audio thread: they must be locked
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(once.IsPlaying()) << "the one-shot buffer never reached its end";
    EXPECT_DOUBLE_EQ(once.Position(), 0.0);
    EXPECT_TRUE(buffer.IsPlaying());
}

TEST_F(SdlHostTest, SigtermBecomesTheGamesQuitRequest) {
    int requests = 0;
    host_->onQuitRequest = [&] { ++requests; };
    std::raise(SIGTERM);
    host_->PumpEvents();
    EXPECT_EQ(requests, 1);
    host_->PumpEvents();
    EXPECT_EQ(requests, 1);  // one request per signal
}

TEST_F(SdlHostTest, APadPluggedInWhileRunningReadsAsKeysUntilPulledOut) {
    constexpr int kEnter = 28, kLeftCtrl = 29, kSpace = 57, kUp = 200, kLeft = 203;
    uint8_t keys[256];
    const auto down = [&keys] {
        std::vector<int> diks;
        for (int i = 0; i < 256; ++i) {
            if (keys[i] != 0) diks.push_back(i);
        }
        return diks;
    };
    for (int round = 0; round < 2; ++round) {  // plugged in twice: hot-plug both ways
        {
            VirtualPad pad;
            host_->ReadKeyboard(keys, 2);  // the host opens the pad on SDL's device event
            pad.Press(VirtualPad::Button::A, true);
            pad.Press(VirtualPad::Button::B, true);
            host_->ReadKeyboard(keys, 2);  // a menu polling: A confirms
            EXPECT_EQ(down(), (std::vector<int>{kEnter, kLeftCtrl, kSpace})) << round;
            for (int frame = 0; frame < 40; ++frame)  // half a second of level frames: A jumps
                host_->ReadKeyboard(keys, 1);
            EXPECT_EQ(down(), (std::vector<int>{kLeftCtrl, kUp})) << round;
            pad.Press(VirtualPad::Button::A, false);
            pad.Press(VirtualPad::Button::B, false);
            pad.MoveLeftStick(-30000, 0);
            host_->ReadKeyboard(keys, 1);
            EXPECT_EQ(down(), (std::vector<int>{kLeft})) << round;
        }
        host_->ReadKeyboard(keys, 1);  // pulled out with the stick still pushed
        EXPECT_TRUE(down().empty()) << round;
    }
}

}  // namespace
}  // namespace dx
