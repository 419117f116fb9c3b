// The 3 x 3 median rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported function picks the best one at run time.
//
// Each of the three columns under a vector of results is ordered into low, middle and
// high, and the median of their nine pixels is the median of three: the largest low, the
// median of the middles and the smallest high. Two result rows are made together: they
// share two input rows, whose pair is ordered once for both. Everything stays in
// registers, read from the input by shifted loads: no row of ordered columns goes
// through memory, which is where the time went.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/median/median_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>

#include "ip/median/median_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcMedianRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D8 = hn::ScalableTag<uint8_t>;
using V8 = hn::Vec<D8>;

HWY_INLINE V8 MedianOf3(V8 a, V8 b, V8 c) {
  return hn::Max(hn::Min(a, b), hn::Min(hn::Max(a, b), c));
}

inline uint8_t medianOf3(uint8_t a, uint8_t b, uint8_t c) {
  return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

// The median of the 3 x 3 block of rows a, b, c from column x on, by the same rule.
inline uint8_t medianAt(const uint8_t* a, const uint8_t* b, const uint8_t* c, int32_t x) {
  uint8_t lows[3], middles[3], highs[3];
  for (int32_t k = 0; k < 3; ++k) {
    const uint8_t p = a[x + k], q = b[x + k], r = c[x + k];
    lows[k] = std::min({p, q, r});
    middles[k] = medianOf3(p, q, r);
    highs[k] = std::max({p, q, r});
  }
  return medianOf3(std::max({lows[0], lows[1], lows[2]}),
                   medianOf3(middles[0], middles[1], middles[2]),
                   std::min({highs[0], highs[1], highs[2]}));
}

// A column of three ordered: `top` over the pair lo <= hi.
struct Column {
  V8 low, middle, high;
};

HWY_INLINE Column Ordered(V8 lo, V8 hi, V8 top) {
  return {hn::Min(lo, top), hn::Max(lo, hn::Min(hi, top)), hn::Max(hi, top)};
}

HWY_INLINE V8 MedianOfColumns(const Column (&c)[3]) {
  const V8 largestLow = hn::Max(hn::Max(c[0].low, c[1].low), c[2].low);
  const V8 smallestHigh = hn::Min(hn::Min(c[0].high, c[1].high), c[2].high);
  return MedianOf3(largestLow, MedianOf3(c[0].middle, c[1].middle, c[2].middle), smallestHigh);
}

// One result row over input rows a, b, c and, with kPair, the next over b, c, e: whole
// vectors, then one last vector ending at the row's end (overlapping the one before;
// the row must hold a vector).
template <bool kPair>
HWY_INLINE void VectorRows(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* e,
                           uint8_t* upper, uint8_t* lower, int32_t width) {
  const D8 d;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  const auto step = [&](int32_t x) HWY_ATTR {
    Column above[3], below[3];
    for (int32_t k = 0; k < 3; ++k) {
      const V8 vb = hn::LoadU(d, b + x + k), vc = hn::LoadU(d, c + x + k);
      const V8 lo = hn::Min(vb, vc), hi = hn::Max(vb, vc);
      above[k] = Ordered(lo, hi, hn::LoadU(d, a + x + k));
      if constexpr (kPair) below[k] = Ordered(lo, hi, hn::LoadU(d, e + x + k));
    }
    hn::StoreU(MedianOfColumns(above), d, upper + x);
    if constexpr (kPair) hn::StoreU(MedianOfColumns(below), d, lower + x);
  };
  int32_t x = 0;
  for (; x + lanes <= width; x += lanes)
    step(x);
  if (x < width) step(width - lanes);
}

void Median3x3Rows(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                   int32_t end) {
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(D8()));
  const int32_t width = out.width;
  for (int32_t y = begin; y < end; y += 2) {
    const bool pair = y + 1 < end;
    const uint8_t *a = in[y], *b = in[y + 1], *c = in[y + 2];
    const uint8_t* e = pair ? in[y + 3] : nullptr;
    uint8_t* upper = out[y];
    uint8_t* lower = pair ? out[y + 1] : nullptr;
    if (width < lanes) {
      for (int32_t x = 0; x < width; ++x) {
        upper[x] = medianAt(a, b, c, x);
        if (pair) lower[x] = medianAt(b, c, e, x);
      }
    } else if (pair) {
      VectorRows<true>(a, b, c, e, upper, lower, width);
    } else {
      VectorRows<false>(a, b, c, e, upper, lower, width);
    }
  }
}

}  // namespace HWY_NAMESPACE
}  // namespace lcMedianRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcMedianRows {

HWY_EXPORT(Median3x3Rows);

void median3x3Fast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                   int32_t end) {
  HWY_DYNAMIC_DISPATCH(Median3x3Rows)(in, out, begin, end);
}

}  // namespace lcMedianRows
#endif
