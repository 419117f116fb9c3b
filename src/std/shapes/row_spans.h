#pragma once
// Turning a shape's intersection with one row into pixels, exactly.
//
// Shapes of the circle family and polygons decide contains() from real spans: the
// stretches [lo, hi] (closed) or [lo, hi) (half-open) of the horizontal line through the
// point that lie in the shape, worked out by one function of y alone. Their pixel spans
// come from the same function at the row's centre line, and a column joins when its
// centre c + 0.5 compares with lo and hi as contains() compares a point, so the pixels
// and contains() agree bit for bit.

#include <array>
#include <cstdint>
#include <vector>

#include "std/shapes/shape.h"

struct lcRealSpan {
  double lo = 0.0;
  double hi = 0.0;
};

// Up to four disjoint spans of one line, left to right.
class lcRealSpans {
 public:
  void add(double lo, double hi) {
    if (lo <= hi && count_ < spans_.size()) spans_[count_++] = {lo, hi};
  }
  const lcRealSpan* begin() const { return spans_.data(); }
  const lcRealSpan* end() const { return spans_.data() + count_; }
  size_t size() const { return count_; }

 private:
  std::array<lcRealSpan, 4> spans_{};
  size_t count_ = 0;
};

// Whether x lies in one of the spans, each closed or half-open.
inline bool lcSpansContain(const lcRealSpans& spans, double x, bool closed) {
  for (const lcRealSpan& s : spans)
    if (s.lo <= x && (closed ? x <= s.hi : x < s.hi)) return true;
  return false;
}

// The first column whose centre is >= lo, and the last whose centre is <= hi (closed)
// or < hi (half-open), held within the 32-bit range less one at each end.
LC_CORE_API int64_t lcFirstColumnFrom(double lo);
LC_CORE_API int64_t lcLastColumnTo(double hi, bool closed);

// Appends the columns of `spans` within [x0, x1) to `out`, merging touching ones.
LC_CORE_API void lcAppendPixelSpans(const lcRealSpans& spans, bool closed, int32_t x0, int32_t x1,
                                    std::vector<lcPixelSpan>& out);
// One span [begin, end) of columns, clipped to [x0, x1), when not empty.
LC_CORE_API void lcAppendPixelSpan(int64_t begin, int64_t end, int32_t x0, int32_t x1,
                                   std::vector<lcPixelSpan>& out);

// The centre of a row or column.
inline double lcPixelCentre(int64_t index) {
  return static_cast<double>(index) + 0.5;
}
