// The start-up frame-rate test and what follows from it.
#pragma once

namespace zorvik {

// Called once by Form_Load after InitDirectX: detail level, stepInterval, textDelay.
void MeasureFrameRate();

}  // namespace zorvik
