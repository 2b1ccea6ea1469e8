// SPDX-License-Identifier: GPL-3.0-or-later
// The lead of a frame from the work and hand-over times of recent frames.
#include "PresentLead.h"

#include <algorithm>
#include <functional>

namespace dx {

void PresentLead::Window::Add(int64_t value) {
    values[static_cast<size_t>(next)] = value;
    next = (next + 1) % kFrames;
    count = std::min(count + 1, kFrames);
}

int64_t PresentLead::Window::SecondLargest(int64_t fallback) const {
    if (count < 2) return fallback;
    std::array<int64_t, kFrames> sorted = values;
    const auto end = sorted.begin() + count;
    std::nth_element(sorted.begin(), sorted.begin() + 1, end, std::greater<>());
    return sorted[1];
}

void PresentLead::Record(int64_t workUs, int64_t handOverUs) {
    if (workUs >= 0) work_.Add(workUs);
    handOver_.Add(std::max<int64_t>(handOverUs, 0));
}

int64_t PresentLead::LeadUs() const {
    const int64_t lead = work_.SecondLargest(kStartWorkUs) + HandOverUs() + kMarginUs;
    return std::min(lead, kMostUs);
}

int64_t PresentLead::HandOverUs() const {
    return handOver_.SecondLargest(kStartHandOverUs);
}

}  // namespace dx
