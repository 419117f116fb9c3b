#pragma once
// The rows of the re-orienting kernel, compiled for every SIMD target Highway knows
// (orient_rows_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

namespace lcOrientRows {

// Where output pixel (i, j) of a window comes from, in source window coordinates:
// without transpose (x, y) = (reverseX ? W - 1 - i : i, reverseY ? H - 1 - j : j); with
// it, output row j is source column (reverseX ? W - 1 - j : j) read from row
// (reverseY ? H - 1 - i : i), W and H the source window's size.
struct Plan {
  bool transpose = false;
  bool reverseX = false;
  bool reverseY = false;
};

// Output rows begin to end of `out` from `in`.
void orientFast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                int32_t end, const Plan& plan);
void orientFast(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out, int32_t begin,
                int32_t end, const Plan& plan);

// The source pixel of output (i, j), the rule both twins follow.
template <class T>
const T& sourcePel(const lcPelRows<const T>& in, int32_t i, int32_t j, const Plan& plan) {
  if (plan.transpose) {
    const int32_t x = plan.reverseX ? in.width - 1 - j : j;
    const int32_t y = plan.reverseY ? in.height - 1 - i : i;
    return in[y][x];
  }
  const int32_t x = plan.reverseX ? in.width - 1 - i : i;
  const int32_t y = plan.reverseY ? in.height - 1 - j : j;
  return in[y][x];
}

}  // namespace lcOrientRows
