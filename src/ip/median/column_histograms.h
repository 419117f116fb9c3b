#pragma once
// The N x M median of 8-bit pixels over a rectangle of care positions by column
// histograms, compiled for every SIMD target Highway knows (column_histograms_fast.cpp);
// each call runs the best target of this processor.
//
// Every input column holds a histogram of its pixels in the rows of the window; a step
// down adds the entering row and removes the leaving one, a step right adds one column's
// histogram to the window's and removes one. The window's histogram has a coarse level
// (16 bins of 16 values) that moves with every step and 16 fine segments that are brought
// up to date only when the median falls in them, so a result costs about the same for a
// 3 x 3 window as for a 101 x 101 one.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

namespace lcMedianRows {

// The largest window this takes: its counts are 16 bits wide.
constexpr int64_t kMaxColumnHistogramArea = 65535;

struct lcRectangleMedianJob {
  lcPelRows<const uint8_t> in;
  // Null: every pixel takes part; else only those non-zero here (same window as `in`).
  const lcPelRows<const uint8_t>* take;
  lcPelRows<uint8_t> out;  // in's window: result (x, y) is centred on input (x, y)
  int32_t begin;           // the result rows to make
  int32_t end;
  int32_t halfWidth;  // the window is 2 halfWidth + 1 by 2 halfHeight + 1
  int32_t halfHeight;
};

// Pixels of the window beyond the input take no part; the result is the ((k - 1) / 2)-th
// smallest of the k that do, 0 for none.
void rectangleMedianFast(const lcRectangleMedianJob& job);

}  // namespace lcMedianRows
