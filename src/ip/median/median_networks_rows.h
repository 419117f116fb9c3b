#pragma once
// The N x M median of 8-bit pixels over a small rectangle of care positions by selection
// networks (median_networks.h), compiled for every SIMD target Highway knows
// (median_networks_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

#include "ip/median/column_histograms.h"

namespace lcMedianRows {

// Whether the networks take a window of this many columns and rows: 5 x 5, 7 x 7 and
// 9 x 9.
bool hasMedianNetwork(int32_t columns, int32_t rows);

// The results of rows job.begin to job.end whose whole window lies inside the input
// (columns halfWidth to width - halfWidth, rows halfHeight to height - halfHeight); the
// others are left as they are. job.take must be null.
void interiorMedianByNetworks(const lcRectangleMedianJob& job);

}  // namespace lcMedianRows
