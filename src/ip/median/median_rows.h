#pragma once
// The rows of the 3 x 3 median, compiled for every SIMD target Highway knows
// (median_rows_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

namespace lcMedianRows {

// Results of rows begin to end: result (x, y) is the median of rows y to y + 2 and
// columns x to x + 2 of `in`.
void median3x3Fast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                   int32_t end);

}  // namespace lcMedianRows
