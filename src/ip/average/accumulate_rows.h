#pragma once
// The accumulation row of the frame average, compiled for every SIMD target Highway
// knows (accumulate_rows_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

namespace lcAccumulateRows {

// sums[x] += pels[x] (modulo 2^16) for x < width; with squares not null also
// squares[x] += pels[x]^2 (modulo 2^32).
void addFast(const uint8_t* pels, uint16_t* sums, uint32_t* squares, int32_t width);

// The same rule one pixel at a time: the portable twin and the reference.
inline void addPortable(const uint8_t* pels, uint16_t* sums, uint32_t* squares, int32_t width) {
  for (int32_t x = 0; x < width; ++x)
    sums[x] = static_cast<uint16_t>(sums[x] + pels[x]);
  if (squares == nullptr) return;
  for (int32_t x = 0; x < width; ++x)
    squares[x] += uint32_t{pels[x]} * pels[x];
}

}  // namespace lcAccumulateRows
