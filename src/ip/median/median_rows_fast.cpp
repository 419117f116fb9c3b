// The 3 x 3 median rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported function picks the best one at run time.
// A vector of results runs the nine-value network on nine vectors, one per block
// position, with lane-wise minimum and maximum.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/median/median_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>

#include "ip/median/median_network.h"
#include "ip/median/median_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcMedianRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

void Median3x3Rows(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                   int32_t end) {
  const hn::ScalableTag<uint8_t> d;
  using V = hn::Vec<decltype(d)>;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  for (int32_t y = begin; y < end; ++y) {
    const uint8_t* rows[3] = {in[y], in[y + 1], in[y + 2]};
    uint8_t* target = out[y];
    int32_t x = 0;
    for (; x + lanes <= out.width; x += lanes) {
      V p[9];
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
          p[3 * r + c] = hn::LoadU(d, rows[r] + x + c);
#define LC_SORT_VECTORS(a, b)          \
  {                                    \
    const V low = hn::Min(p[a], p[b]); \
    p[b] = hn::Max(p[a], p[b]);        \
    p[a] = low;                        \
  }
      LC_MEDIAN_OF_9_NETWORK(LC_SORT_VECTORS)
#undef LC_SORT_VECTORS
      hn::StoreU(p[4], d, target + x);
    }
    for (; x < out.width; ++x) {
      uint8_t p[9];
      for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
          p[3 * r + c] = rows[r][x + c];
#define LC_SORT_PELS(a, b)                    \
  {                                           \
    const uint8_t low = std::min(p[a], p[b]); \
    p[b] = std::max(p[a], p[b]);              \
    p[a] = low;                               \
  }
      LC_MEDIAN_OF_9_NETWORK(LC_SORT_PELS)
#undef LC_SORT_PELS
      target[x] = p[4];
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
