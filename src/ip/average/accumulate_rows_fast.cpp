// The accumulation row for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported function picks the best one at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/average/accumulate_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <cstddef>
#include <cstdint>

#include "ip/average/accumulate_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcAccumulateRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Sums only: a full vector of 16-bit sums per step, widened from half a vector of pixels.
HWY_INLINE std::ptrdiff_t addSums(const uint8_t* pels, uint16_t* sums, std::ptrdiff_t width) {
  const hn::ScalableTag<uint16_t> d16;
  const hn::Rebind<uint8_t, decltype(d16)> d8;
  const auto lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d16));
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    const auto wide = hn::PromoteTo(d16, hn::LoadU(d8, pels + x));
    hn::StoreU(hn::Add(hn::LoadU(d16, sums + x), wide), d16, sums + x);
  }
  return x;
}

// Sums and squares: a full vector of 32-bit squares per step, with the matching half
// vector of sums and quarter vector of pixels.
HWY_INLINE std::ptrdiff_t addSumsAndSquares(const uint8_t* pels, uint16_t* sums, uint32_t* squares,
                                            std::ptrdiff_t width) {
  const hn::ScalableTag<uint32_t> d32;
  const hn::Rebind<uint16_t, decltype(d32)> d16;
  const hn::Rebind<uint8_t, decltype(d32)> d8;
  const auto lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d32));
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    const auto narrow = hn::LoadU(d8, pels + x);
    hn::StoreU(hn::Add(hn::LoadU(d16, sums + x), hn::PromoteTo(d16, narrow)), d16, sums + x);
    const auto wide = hn::PromoteTo(d32, narrow);
    hn::StoreU(hn::Add(hn::LoadU(d32, squares + x), hn::Mul(wide, wide)), d32, squares + x);
  }
  return x;
}

void AddRow(const uint8_t* pels, uint16_t* sums, uint32_t* squares, int32_t width) {
  const std::ptrdiff_t done = squares == nullptr ? addSums(pels, sums, width)
                                                 : addSumsAndSquares(pels, sums, squares, width);
  addPortable(pels + done, sums + done, squares == nullptr ? nullptr : squares + done,
              static_cast<int32_t>(width - done));
}

}  // namespace HWY_NAMESPACE
}  // namespace lcAccumulateRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcAccumulateRows {

HWY_EXPORT(AddRow);

void addFast(const uint8_t* pels, uint16_t* sums, uint32_t* squares, int32_t width) {
  HWY_DYNAMIC_DISPATCH(AddRow)(pels, sums, squares, width);
}

}  // namespace lcAccumulateRows
#endif
