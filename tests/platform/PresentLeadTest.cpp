// SPDX-License-Identifier: GPL-3.0-or-later
// The lead of a frame: from the work and hand-over of recent frames, robust to one stall, never
// more than a frame.
#include <gtest/gtest.h>

#include "PresentLead.h"

namespace dx {
namespace {

void RecordFrames(PresentLead& lead, int frames, int64_t workUs, int64_t handOverUs) {
    for (int i = 0; i < frames; ++i)
        lead.Record(workUs, handOverUs);
}

TEST(PresentLead, CoversTheWorkAndHandOverOfRecentFramesWithAMargin) {
    PresentLead lead;
    EXPECT_EQ(lead.LeadUs(), 5000) << "before any frame was measured";
    RecordFrames(lead, 30, 300, 1200);
    EXPECT_EQ(lead.LeadUs(), 300 + 1200 + PresentLead::kMarginUs);
    EXPECT_EQ(lead.HandOverUs(), 1200);

    // Work that grows for good is covered from the second frame on.
    lead.Record(4000, 1200);
    EXPECT_EQ(lead.LeadUs(), 300 + 1200 + PresentLead::kMarginUs);
    lead.Record(4000, 1200);
    EXPECT_EQ(lead.LeadUs(), 4000 + 1200 + PresentLead::kMarginUs);
}

TEST(PresentLead, OneStallDoesNotHoldItUpAndTwoHoldItForASecond) {
    PresentLead lead;
    RecordFrames(lead, 30, 300, 1000);
    lead.Record(80000, 30000);  // a level loads
    EXPECT_EQ(lead.LeadUs(), 300 + 1000 + PresentLead::kMarginUs);
    lead.Record(7000, 2000);
    EXPECT_EQ(lead.LeadUs(), 7000 + 2000 + PresentLead::kMarginUs);
    RecordFrames(lead, 58, 300, 1000);
    EXPECT_EQ(lead.LeadUs(), 7000 + 2000 + PresentLead::kMarginUs) << "still within the second";
    lead.Record(300, 1000);  // the first stall leaves the window; the second stands alone
    EXPECT_EQ(lead.LeadUs(), 300 + 1000 + PresentLead::kMarginUs);
}

TEST(PresentLead, FramesWithoutATickCountOnlyForTheHandOverAndTheLeadStopsAtOneFrame) {
    PresentLead lead;
    RecordFrames(lead, 10, 500, 1000);
    RecordFrames(lead, 5, -1, 1500);  // pictures shown by keyboard reads: no work of their own
    EXPECT_EQ(lead.HandOverUs(), 1500);
    EXPECT_EQ(lead.LeadUs(), 500 + 1500 + PresentLead::kMarginUs);

    RecordFrames(lead, 5, 2000, 25000);  // a hand-over longer than a frame (a 4K screen)
    EXPECT_EQ(lead.HandOverUs(), 25000);
    EXPECT_EQ(lead.LeadUs(), PresentLead::kMostUs);
}

}  // namespace
}  // namespace dx
