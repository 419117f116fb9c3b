// The sample convolve's rows for every SIMD target: this file is compiled once per target
// by Highway's foreach_target, and the exported functions pick the best one at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/smplconv/smplconv_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <cstdint>

#include "ip/smplconv/smplconv_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcSampleConvolveRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Generic code: on the single-lane target the vectors are single pixels. Each vector of
// sums stays in a register while every row adds to it.
template <class T>
void weightedRows(const T* const* rows, const int32_t* weights, int32_t count, int32_t* sums,
                  int32_t width) {
  const hn::ScalableTag<int32_t> d32;
  const hn::Rebind<T, decltype(d32)> dp;
  const int32_t step = static_cast<int32_t>(hn::Lanes(d32));
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    auto sum = hn::Zero(d32);
    for (int32_t k = 0; k < count; ++k)
      sum = hn::Add(
          sum, hn::Mul(hn::PromoteTo(d32, hn::LoadU(dp, rows[k] + x)), hn::Set(d32, weights[k])));
    hn::StoreU(sum, d32, sums + x);
  }
  for (; x < width; ++x) {
    int32_t sum = 0;
    for (int32_t k = 0; k < count; ++k)
      sum += weights[k] * int32_t{rows[k][x]};
    sums[x] = sum;
  }
}

void WeightedRows8(const uint8_t* const* rows, const int32_t* weights, int32_t count, int32_t* sums,
                   int32_t width) {
  weightedRows(rows, weights, count, sums, width);
}
void WeightedRows16(const uint16_t* const* rows, const int32_t* weights, int32_t count,
                    int32_t* sums, int32_t width) {
  weightedRows(rows, weights, count, sums, width);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcSampleConvolveRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcSampleConvolveRows {

HWY_EXPORT(WeightedRows8);
HWY_EXPORT(WeightedRows16);

void weightedRowsFast(const uint8_t* const* rows, const int32_t* weights, int32_t count,
                      int32_t* sums, int32_t width) {
  HWY_DYNAMIC_DISPATCH(WeightedRows8)(rows, weights, count, sums, width);
}
void weightedRowsFast(const uint16_t* const* rows, const int32_t* weights, int32_t count,
                      int32_t* sums, int32_t width) {
  HWY_DYNAMIC_DISPATCH(WeightedRows16)(rows, weights, count, sums, width);
}

}  // namespace lcSampleConvolveRows
#endif
