// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard table from SDL's keys to DirectInput scan codes, by SDL's own key names: every
// key the game reads, the rest of the common keyboard, and no two keys sharing a code.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "SdlHost.h"

namespace dx {
namespace {

TEST(KeyTable, EveryKeyTheGameReads) {
    const std::vector<std::pair<const char*, int>> keys = {
        {"Escape", 1},       {"Backspace", 14},
        {"Q", 16},           {"W", 17},
        {"E", 18},           {"R", 19},
        {"T", 20},           {"Y", 21},
        {"U", 22},           {"I", 23},
        {"O", 24},           {"P", 25},
        {"Return", 28},      {"Left Ctrl", 29},
        {"A", 30},           {"S", 31},
        {"D", 32},           {"F", 33},
        {"G", 34},           {"H", 35},
        {"J", 36},           {"K", 37},
        {"L", 38},           {"Left Shift", 42},
        {"Z", 44},           {"X", 45},
        {"C", 46},           {"V", 47},
        {"B", 48},           {"N", 49},
        {"M", 50},           {"Right Shift", 54},
        {"Space", 57},       {"Keypad Enter", 156},
        {"Right Ctrl", 157}, {"Up", 200},
        {"Left", 203},       {"Right", 205},
        {"Down", 208},
    };
    for (const auto& [name, dik] : keys)
        EXPECT_EQ(DikFromSdlKeyName(name), dik) << name;
}

TEST(KeyTable, TheRestOfTheKeyboardHasDistinctCodes) {
    const std::map<std::string, int> keys = {
        {"1", 2},           {"2", 3},         {"9", 10},        {"0", 11},        {"-", 12},
        {"=", 13},          {"Tab", 15},      {"[", 26},        {"]", 27},        {";", 39},
        {"'", 40},          {"`", 41},        {"\\", 43},       {",", 51},        {".", 52},
        {"/", 53},          {"Keypad *", 55}, {"Left Alt", 56}, {"CapsLock", 58}, {"F1", 59},
        {"F10", 68},        {"Keypad 7", 71}, {"Keypad -", 74}, {"Keypad 5", 76}, {"Keypad +", 78},
        {"Keypad 0", 82},   {"Keypad .", 83}, {"F11", 87},      {"F12", 88},      {"Keypad /", 181},
        {"Right Alt", 184}, {"Home", 199},    {"PageUp", 201},  {"End", 207},     {"PageDown", 209},
        {"Insert", 210},    {"Delete", 211},
    };
    for (const auto& [name, dik] : keys)
        EXPECT_EQ(DikFromSdlKeyName(name.c_str()), dik) << name;

    // Across all 26 letters, the digits and the named keys no code is used twice.
    std::set<int> seen;
    std::set<std::string> names;
    for (char c = 'A'; c <= 'Z'; ++c)
        names.emplace(1, c);
    for (char c = '0'; c <= '9'; ++c)
        names.emplace(1, c);
    for (const auto& [name, dik] : keys)
        names.insert(name);
    for (const char* name :
         {"Escape", "Backspace", "Return", "Left Ctrl", "Left Shift", "Right Shift", "Space",
          "Keypad Enter", "Right Ctrl", "Up", "Left", "Right", "Down"}) {
        names.emplace(name);
    }
    for (const std::string& name : names) {
        const int dik = DikFromSdlKeyName(name.c_str());
        EXPECT_TRUE(dik > 0 && dik < 256) << name << " -> " << dik;
        EXPECT_TRUE(seen.insert(dik).second) << name << " shares code " << dik;
    }
}

TEST(KeyTable, UnknownNamesHaveNoCode) {
    EXPECT_EQ(DikFromSdlKeyName("No Such Key"), -1);
    EXPECT_EQ(DikFromSdlKeyName(""), -1);
    EXPECT_EQ(DikFromSdlKeyName(nullptr), -1);
}

}  // namespace
}  // namespace dx
