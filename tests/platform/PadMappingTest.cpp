// SPDX-License-Identifier: GPL-3.0-or-later
// The game pad's buttons and stick as keys in a level and in menus, several pads together, and
// the guess which of the two the game is in from how it reads the keyboard.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>
#include <string>

#include "PadMapping.h"

namespace dx {
namespace {

constexpr int kEscape = 1, kEnter = 28, kLeftCtrl = 29, kLeftShift = 42, kSpace = 57, kUp = 200,
              kLeft = 203, kRight = 205, kDown = 208;

std::set<int> KeysOf(const PadState& pad, PadMode mode) {
    std::array<uint8_t, 256> keys{};
    AddPadKeys(pad, mode, keys.data());
    std::set<int> down;
    for (int i = 0; i < 256; ++i) {
        if (keys[static_cast<size_t>(i)] == 0x80) down.insert(i);
        EXPECT_TRUE(keys[static_cast<size_t>(i)] == 0 || keys[static_cast<size_t>(i)] == 0x80);
    }
    return down;
}

TEST(PadMapping, EachButtonGivesItsKeysInALevelAndInMenus) {
    struct Row {
        std::string name;
        std::function<void(PadState&)> press;
        std::set<int> level;
        std::set<int> menu;
    };
    const Row rows[] = {
        {"nothing", [](PadState&) {}, {}, {}},
        {"d-pad left", [](PadState& p) { p.dpadLeft = true; }, {kLeft}, {kLeft}},
        {"d-pad right", [](PadState& p) { p.dpadRight = true; }, {kRight}, {kRight}},
        {"d-pad up", [](PadState& p) { p.dpadUp = true; }, {kUp}, {kUp}},
        {"d-pad down", [](PadState& p) { p.dpadDown = true; }, {kDown}, {kDown}},
        {"stick left", [](PadState& p) { p.leftX = -32768; }, {kLeft}, {kLeft}},
        {"stick right and down",
         [](PadState& p) { p.leftX = 20000, p.leftY = 32767; },
         {kRight, kDown},
         {kRight, kDown}},
        {"stick up", [](PadState& p) { p.leftY = -20000; }, {kUp}, {kUp}},
        {"stick resting off centre", [](PadState& p) { p.leftX = 9000, p.leftY = -12000; }, {}, {}},
        {"A", [](PadState& p) { p.a = true; }, {kUp}, {kEnter, kSpace}},
        {"X", [](PadState& p) { p.x = true; }, {kLeftShift}, {kLeftShift}},
        {"B", [](PadState& p) { p.b = true; }, {kLeftCtrl}, {kLeftCtrl}},
        {"left shoulder", [](PadState& p) { p.leftShoulder = true; }, {kLeftCtrl}, {kLeftCtrl}},
        {"right shoulder", [](PadState& p) { p.rightShoulder = true; }, {kLeftCtrl}, {kLeftCtrl}},
        {"Y", [](PadState& p) { p.y = true; }, {}, {}},
        {"Start", [](PadState& p) { p.start = true; }, {kEscape}, {kEscape}},
        {"run-jump right",
         [](PadState& p) { p.dpadRight = p.a = p.b = true; },
         {kRight, kUp, kLeftCtrl},
         {kRight, kEnter, kSpace, kLeftCtrl}},
    };
    for (const Row& row : rows) {
        PadState pad;
        row.press(pad);
        EXPECT_EQ(KeysOf(pad, PadMode::Level), row.level) << row.name;
        EXPECT_EQ(KeysOf(pad, PadMode::Menu), row.menu) << row.name;
    }
}

TEST(PadMapping, KeysAlreadyDownStayAndTwoPadsAddUp) {
    std::array<uint8_t, 256> keys{};
    keys[30] = 0x80;  // A on the keyboard
    PadState first;
    first.dpadLeft = true;
    first.leftY = 1000;
    PadState second;
    second.start = true;
    second.leftY = -30000;
    first |= second;
    AddPadKeys(first, PadMode::Level, keys.data());
    EXPECT_EQ(keys[30], 0x80);
    EXPECT_EQ(keys[kLeft], 0x80);
    EXPECT_EQ(keys[kEscape], 0x80);
    EXPECT_EQ(keys[kUp], 0x80);  // the stick pushed further wins
}

TEST(PadMapping, ALevelIsHalfASecondOfSingleReadsAndAnyPollIsAMenu) {
    PadModeTracker tracker;
    EXPECT_EQ(tracker.Mode(), PadMode::Menu);
    for (int frame = 1; frame < PadModeTracker::kLevelFrames; ++frame)
        EXPECT_EQ(tracker.OnKeyboardRead(1), PadMode::Menu) << frame;
    EXPECT_EQ(tracker.OnKeyboardRead(1), PadMode::Level);
    EXPECT_EQ(tracker.OnKeyboardRead(1), PadMode::Level);
    // A menu polls again and again between two flips.
    EXPECT_EQ(tracker.OnKeyboardRead(1), PadMode::Level);
    EXPECT_EQ(tracker.OnKeyboardRead(2), PadMode::Menu);
    EXPECT_EQ(tracker.OnKeyboardRead(3), PadMode::Menu);
    // A short redraw after an arrow key does not make it a level.
    for (int frame = 0; frame < 5; ++frame)
        EXPECT_EQ(tracker.OnKeyboardRead(1), PadMode::Menu);
    EXPECT_EQ(tracker.OnKeyboardRead(2), PadMode::Menu);
}

}  // namespace
}  // namespace dx
