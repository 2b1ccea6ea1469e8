// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up frame-rate test and what follows from it.
#pragma once

#include <cstdint>

namespace zorvik {

// Called once by Form_Load after InitDirectX: detail level, stepInterval, textDelay.
void MeasureFrameRate();
// Called by MeasureFrameRate with its average of flips a second, and by the replay and the
// prover with 60 (a steady display): detail level, stepInterval and textDelay.
void ApplyFrameRate(int16_t average);

}  // namespace zorvik
