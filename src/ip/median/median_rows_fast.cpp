// The 3 x 3 median rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported function picks the best one at run time.
//
// Each column of three is sorted once per result row (into low, middle and high rows),
// and three neighbouring sorted columns give the median of their nine pixels as the
// median of three: the largest low, the median of the middles and the smallest high.
// Every result thus costs 18 lane-wise minimum or maximum steps a vector instead of the
// 38 of a network over nine loads, and neighbouring results share two columns.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/median/median_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>
#include <vector>

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

// Runs step(x) for x = 0, lanes, 2 lanes, ... and a last vector that ends at n exactly
// (overlapping the one before: every step writes what it reads from inputs only), or
// scalarStep(x) for each x when n is below one vector.
template <class Step, class ScalarStep>
HWY_INLINE void ForEachVector(int32_t n, int32_t lanes, const Step& step,
                              const ScalarStep& scalarStep) {
  if (n < lanes) {
    for (int32_t x = 0; x < n; ++x)
      scalarStep(x);
    return;
  }
  for (int32_t x = 0; x + lanes <= n; x += lanes)
    step(x);
  if (n % lanes != 0) step(n - lanes);
}

void Median3x3Rows(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                   int32_t end) {
  const D8 d;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  const int32_t columns = in.width;
  std::vector<uint8_t> sorted(3 * static_cast<std::size_t>(columns));
  uint8_t* low = sorted.data();
  uint8_t* middle = low + columns;
  uint8_t* high = middle + columns;
  for (int32_t y = begin; y < end; ++y) {
    const uint8_t *a = in[y], *b = in[y + 1], *c = in[y + 2];
    ForEachVector(
        columns, lanes,
        [&](int32_t x) {
          const V8 va = hn::LoadU(d, a + x), vb = hn::LoadU(d, b + x), vc = hn::LoadU(d, c + x);
          const V8 lowAB = hn::Min(va, vb), highAB = hn::Max(va, vb);
          hn::StoreU(hn::Min(lowAB, vc), d, low + x);
          hn::StoreU(hn::Max(lowAB, hn::Min(highAB, vc)), d, middle + x);
          hn::StoreU(hn::Max(highAB, vc), d, high + x);
        },
        [&](int32_t x) {
          low[x] = std::min({a[x], b[x], c[x]});
          middle[x] = medianOf3(a[x], b[x], c[x]);
          high[x] = std::max({a[x], b[x], c[x]});
        });
    uint8_t* target = out[y];
    ForEachVector(
        out.width, lanes,
        [&](int32_t x) {
          const V8 largestLow = hn::Max(hn::Max(hn::LoadU(d, low + x), hn::LoadU(d, low + x + 1)),
                                        hn::LoadU(d, low + x + 2));
          const V8 smallestHigh =
              hn::Min(hn::Min(hn::LoadU(d, high + x), hn::LoadU(d, high + x + 1)),
                      hn::LoadU(d, high + x + 2));
          const V8 middleOfMiddles = MedianOf3(
              hn::LoadU(d, middle + x), hn::LoadU(d, middle + x + 1), hn::LoadU(d, middle + x + 2));
          hn::StoreU(MedianOf3(largestLow, middleOfMiddles, smallestHigh), d, target + x);
        },
        [&](int32_t x) {
          const uint8_t largestLow = std::max({low[x], low[x + 1], low[x + 2]});
          const uint8_t smallestHigh = std::min({high[x], high[x + 1], high[x + 2]});
          target[x] = medianOf3(largestLow, medianOf3(middle[x], middle[x + 1], middle[x + 2]),
                                smallestHigh);
        });
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
