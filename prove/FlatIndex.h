// SPDX-License-Identifier: GPL-3.0-or-later
// A map from 64-bit keys to non-negative 32-bit indices, in one flat array probed linearly. The
// search looks up millions of state keys; a node-based map spends most of that time in cache
// misses and allocations.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace zorvik {

class FlatIndex {
  public:
    // The index stored for `key`, or -1.
    int32_t Find(uint64_t key) const {
        if (slots_.empty()) return -1;
        for (size_t at = Home(key);; at = (at + 1) & mask_) {
            const Slot& s = slots_[at];
            if (s.value < 0) return -1;
            if (s.key == key) return s.value;
        }
    }

    // Stores `value` for `key` unless it holds one already. Returns the index stored for `key`
    // and whether it is new.
    std::pair<int32_t, bool> TryEmplace(uint64_t key, int32_t value) {
        if (2 * (size_ + 1) > slots_.size()) Grow();
        for (size_t at = Home(key);; at = (at + 1) & mask_) {
            Slot& s = slots_[at];
            if (s.value < 0) {
                s = {key, value};
                ++size_;
                return {value, true};
            }
            if (s.key == key) return {s.value, false};
        }
    }

    size_t Size() const { return size_; }

  private:
    struct Slot {
        uint64_t key = 0;
        int32_t value = -1;  // -1: empty
    };

    // Keys are mixed first, so that the probing does not depend on how well they are spread.
    size_t Home(uint64_t key) const {
        key ^= key >> 33;
        key *= 0xFF51AFD7ED558CCDull;
        key ^= key >> 33;
        return static_cast<size_t>(key) & mask_;
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : 2 * old.size(), Slot{});
        mask_ = slots_.size() - 1;
        size_ = 0;
        for (const Slot& s : old)
            if (s.value >= 0) TryEmplace(s.key, s.value);
    }

    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t size_ = 0;
};

}  // namespace zorvik
