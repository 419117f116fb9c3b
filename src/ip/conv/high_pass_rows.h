#pragma once
// The rows of the high-pass filter, compiled for every SIMD target Highway knows
// (high_pass_rows_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

namespace lcHighPassRows {

// Three boxes of `box` pixels in one direction: the bell reaches `before` pixels up
// (left) of the output pixel and `after` down (right); before + after = 3 (box - 1).
struct Bell {
  int32_t box = 1;
  int32_t before = 0;
  int32_t after = 0;
};

// One step of the vertical cascade of three boxes (see high_pass.cpp): row `add` enters,
// row `drop` (nullptr: zeros) leaves the first box, which updates slot `ring1` of the
// first box's rows from the slot before it, `ring2` likewise for the second box, and the
// running sum of the third. 16-bit sums serve while 255 * box^3 fits.
void verticalFast(const uint8_t* add, const uint8_t* drop, uint16_t* ring1,
                  const uint16_t* ring1Before, uint16_t* ring2, const uint16_t* ring2Before,
                  uint16_t* sum3, int32_t width);
void verticalFast(const uint8_t* add, const uint8_t* drop, uint32_t* ring1,
                  const uint32_t* ring1Before, uint32_t* ring2, const uint32_t* ring2Before,
                  uint32_t* sum3, int32_t width);

// The horizontal boxes over the vertical sums `column` (width values), then
// out = clamp(in - g + 128, 0, 255) with g = floor((H + total / 2) / total). `scratch`
// holds 2 * (width + before + after) + 64 values. H + total / 2 must stay below 2^31.
void finishFast(const uint16_t* column, const uint8_t* in, uint8_t* out, int32_t width,
                const Bell& across, uint32_t total, uint32_t* scratch);
void finishFast(const uint32_t* column, const uint8_t* in, uint8_t* out, int32_t width,
                const Bell& across, uint32_t total, uint32_t* scratch);

}  // namespace lcHighPassRows
