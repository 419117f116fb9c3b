#pragma once
// The rows of the sample convolve, compiled for every SIMD target Highway knows
// (smplconv_rows_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

namespace lcSampleConvolveRows {

// sums[x] = sum of weights[k] * rows[k][x] over `count` rows, for `width` columns, in
// 32-bit lanes: the caller keeps the sum of |weights| times the largest pixel below 2^31.
void weightedRowsFast(const uint8_t* const* rows, const int32_t* weights, int32_t count,
                      int32_t* sums, int32_t width);
void weightedRowsFast(const uint16_t* const* rows, const int32_t* weights, int32_t count,
                      int32_t* sums, int32_t width);

}  // namespace lcSampleConvolveRows
