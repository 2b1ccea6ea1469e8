// SPDX-License-Identifier: GPL-3.0-or-later
// Packed snapshots come back exactly as they were, wherever their changed words lie.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SnapshotPack.h"

namespace zorvik::test {
namespace {

constexpr size_t kWords = sizeof(PlaySnapshot) / 8;

PlaySnapshot WithWords(const PlaySnapshot& base, const std::vector<size_t>& changed) {
    PlaySnapshot s = base;
    auto* bytes = reinterpret_cast<unsigned char*>(&s);
    for (size_t i : changed) {
        uint64_t w;
        std::memcpy(&w, bytes + 8 * i, 8);
        w ^= 0x0123456789ABCDEFull + i;
        std::memcpy(bytes + 8 * i, &w, 8);
    }
    return s;
}

TEST(SnapshotPackTest, EveryPatternOfChangedWordsUnpacksToTheSameBytes) {
    PlaySnapshot base;
    base.play.playerCol = 3;
    base.play.mapSolid(5, 16) = 1;
    base.frames = 1234;
    const SnapshotPacker packer(base);

    std::vector<size_t> every;
    for (size_t i = 0; i < kWords; ++i)
        every.push_back(i);
    const std::vector<std::vector<size_t>> patterns = {
        {},                                       // nothing changed
        {0},                                      // the first word
        {kWords - 1},                             // the last
        {7, 8},                                   // across a block of eight
        {100, 102, 104},                          // single unchanged words between changes
        {100, 103},                               // two unchanged words between changes
        {kWords - 9, kWords - 8, kWords - 2},     // near the end, past the last whole block
        {1, 500, 501, 502, 900, kWords / 2 + 3},  // scattered
        every,                                    // everything
    };
    for (const auto& changed : patterns) {
        const PlaySnapshot s = WithWords(base, changed);
        PlaySnapshot back;
        packer.Unpack(packer.Pack(s), back);
        EXPECT_EQ(std::memcmp(&back, &s, sizeof(PlaySnapshot)), 0)
            << changed.size() << " words changed, the first at "
            << (changed.empty() ? 0 : changed[0]);
    }
    // The level as loaded takes one word: a run of nothing but unchanged words.
    EXPECT_EQ(packer.Pack(base).size(), 1u);
}

}  // namespace
}  // namespace zorvik::test
