#pragma once
// The pixels of one row of a convex shape whose contains() is monotone along a row
// (each of its tests is a rounded linear or quadratic function of x that rounding
// cannot turn back), from an approximate real interval [lo, hi] of the row: the
// interval is widened by a column each way, then each end is moved inwards to the
// first column contains() takes. So the run agrees with contains() exactly, and the
// row costs a few tests, not one per pixel.

#include <algorithm>
#include <cmath>
#include <vector>

#include "std/shapes/row_spans.h"

template <class Contains>
void lcConvexRowSpan(double lo, double hi, int32_t x0, int32_t x1, Contains&& containsColumn,
                     std::vector<lcPixelSpan>& out) {
  if (!(lo <= hi + 2.0)) return;  // empty, or NaN
  const auto clampColumn = [&](double c) {
    return static_cast<int64_t>(std::clamp(c, static_cast<double>(x0), static_cast<double>(x1)));
  };
  int64_t begin = clampColumn(std::floor(lo - 0.5) - 1.0);
  int64_t end = clampColumn(std::ceil(hi - 0.5) + 2.0);
  while (begin < end && !containsColumn(begin))
    ++begin;
  while (end > begin && !containsColumn(end - 1))
    --end;
  lcAppendPixelSpan(begin, end, x0, x1, out);
}
