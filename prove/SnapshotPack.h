// SPDX-License-Identifier: GPL-3.0-or-later
// Snapshots kept by the search, stored as their difference from the level as loaded: most of a
// snapshot (the three layers above all) never changes, so a packed one takes a few hundred bytes
// instead of twelve kilobytes.
#pragma once

#include <cstdint>
#include <vector>

#include "LevelPlay.h"

namespace zorvik {

class SnapshotPacker {
  public:
    explicit SnapshotPacker(const PlaySnapshot& base);

    std::vector<uint64_t> Pack(const PlaySnapshot& snapshot) const;
    void Unpack(const std::vector<uint64_t>& packed, PlaySnapshot& snapshot) const;

  private:
    static constexpr size_t kWords = sizeof(PlaySnapshot) / 8;
    static_assert(sizeof(PlaySnapshot) % 8 == 0);
    std::vector<uint64_t> base_;
};

}  // namespace zorvik
