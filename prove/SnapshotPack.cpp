// SPDX-License-Identifier: GPL-3.0-or-later
// Packing: the snapshot's words xor the base's, as runs of "so many zero words, then so many
// words as they are". Exact both ways, including the bytes between fields.
#include "SnapshotPack.h"

#include <cstring>

namespace zorvik {

SnapshotPacker::SnapshotPacker(const PlaySnapshot& base) : base_(kWords) {
    std::memcpy(base_.data(), &base, sizeof(PlaySnapshot));
}

std::vector<uint64_t> SnapshotPacker::Pack(const PlaySnapshot& snapshot) const {
    uint64_t words[kWords];
    std::memcpy(words, &snapshot, sizeof(PlaySnapshot));
    for (size_t i = 0; i < kWords; ++i)
        words[i] ^= base_[i];
    // At most one run header per two words, so twice the words always suffice.
    uint64_t out[2 * kWords];
    size_t n = 0;
    size_t i = 0;
    while (i < kWords) {
        const size_t zerosFrom = i;
        // The layers are long stretches of unchanged words: skipped eight at a time.
        while (i + 8 <= kWords && (words[i] | words[i + 1] | words[i + 2] | words[i + 3] |
                                   words[i + 4] | words[i + 5] | words[i + 6] | words[i + 7]) == 0)
            i += 8;
        while (i < kWords && words[i] == 0)
            ++i;
        const size_t literalsFrom = i;
        while (i < kWords && (words[i] != 0 || (i + 1 < kWords && words[i + 1] != 0)))
            ++i;  // a single zero between two changed words stays in the literal run
        out[n++] = static_cast<uint64_t>(literalsFrom - zerosFrom) << 32 |
                   static_cast<uint64_t>(i - literalsFrom);
        for (size_t k = literalsFrom; k < i; ++k)
            out[n++] = words[k];
    }
    return std::vector<uint64_t>(out, out + n);
}

void SnapshotPacker::Unpack(const std::vector<uint64_t>& packed, PlaySnapshot& snapshot) const {
    uint64_t words[kWords];
    size_t at = 0;
    size_t p = 0;
    while (p < packed.size()) {
        const size_t zeros = packed[p] >> 32;
        const size_t literals = packed[p] & 0xFFFFFFFFu;
        ++p;
        for (size_t k = 0; k < zeros; ++k, ++at)
            words[at] = base_[at];
        for (size_t k = 0; k < literals; ++k, ++at, ++p)
            words[at] = packed[p] ^ base_[at];
    }
    std::memcpy(&snapshot, words, sizeof(PlaySnapshot));
}

}  // namespace zorvik
