#pragma once
// Turning a shape's intersection with one row into pixels, exactly.
//
// Shapes of the circle family and polygons decide contains() from real spans: the
// stretches [lo, hi] (closed) or [lo, hi) (half-open) of the horizontal line through the
// point that lie in the shape, worked out by one function of y alone. Their pixel spans
// come from the same function at the row's centre line, and a column joins when its
// centre c + 0.5 compares with lo and hi as contains() compares a point, so the pixels
// and contains() agree bit for bit.

#include <algorithm>
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
// or < hi (half-open), held within the 32-bit range less one at each end. Inline for
// the ends that lie well within that range, which every row of an encoding rounds.
LC_CORE_API int64_t lcFirstColumnFromFar(double lo);
LC_CORE_API int64_t lcLastColumnToFar(double hi, bool closed);

inline int64_t lcFirstColumnFrom(double lo) {
  if (!(lo > -0x1p30 && lo < 0x1p30)) return lcFirstColumnFromFar(lo);  // NaN too
  // Truncating lo - 0.5 lands within one column of the answer whatever the rounding;
  // the centre comparisons then decide exactly.
  auto c = static_cast<int64_t>(lo - 0.5);
  c += static_cast<double>(c) + 0.5 < lo;
  c -= static_cast<double>(c) - 0.5 >= lo;
  return c;
}

inline int64_t lcLastColumnTo(double hi, bool closed) {
  if (!(hi > -0x1p30 && hi < 0x1p30)) return lcLastColumnToFar(hi, closed);
  auto c = static_cast<int64_t>(hi - 0.5);
  const auto within = [&](int64_t column) {
    const double centre = static_cast<double>(column) + 0.5;
    return closed ? centre <= hi : centre < hi;
  };
  c += within(c + 1);
  c -= !within(c);
  return c;
}

// The columns of `spans` within [x0, x1), touching ones merged, written to `out` (room
// for spans.size()); returns how many.
inline size_t lcColumnSpans(const lcRealSpans& spans, bool closed, int32_t x0, int32_t x1,
                            lcPixelSpan* out) {
  size_t count = 0;
  for (const lcRealSpan& s : spans) {
    const int64_t begin = std::max<int64_t>(lcFirstColumnFrom(s.lo), x0);
    const int64_t end = std::min<int64_t>(lcLastColumnTo(s.hi, closed) + 1, x1);
    if (begin >= end) continue;
    if (count > 0 && out[count - 1].end >= begin)
      out[count - 1].end = std::max(out[count - 1].end, static_cast<int32_t>(end));
    else
      out[count++] = {static_cast<int32_t>(begin), static_cast<int32_t>(end)};
  }
  return count;
}

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
