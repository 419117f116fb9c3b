// The gradient-energy row for every SIMD target: this file is compiled once per target
// by Highway's foreach_target, and the exported function picks the best one at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/sharpness/gradient_energy_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <cstddef>
#include <cstdint>

#include "ip/sharpness/gradient_energy.h"

HWY_BEFORE_NAMESPACE();
namespace lcGradientEnergyRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// Steps between flushes of the 32-bit energy lanes: each step adds at most
// 2 x 255^2 to a lane, so 8192 steps stay below 2^31.
constexpr std::ptrdiff_t kFlushSteps = 8192;

// The sum of a vector's lanes (non-negative values), in 64 bits.
template <class D, class V>
HWY_INLINE uint64_t laneSum(D d, V v) {
  HWY_ALIGN hn::TFromD<D> lanes[HWY_MAX_BYTES / sizeof(hn::TFromD<D>)];
  hn::Store(v, d, lanes);
  uint64_t total = 0;
  for (size_t i = 0; i < hn::Lanes(d); ++i)
    total += static_cast<uint64_t>(lanes[i]);
  return total;
}

HWY_INLINE uint64_t pelSum(const uint8_t* pels, std::ptrdiff_t width, std::ptrdiff_t& done) {
  const hn::ScalableTag<uint8_t> d8;
  const hn::Repartition<uint64_t, decltype(d8)> d64;
  const auto lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d8));
  auto sum = hn::Zero(d64);
  std::ptrdiff_t x = 0;
  for (; x + lanes <= width; x += lanes)
    sum = hn::Add(sum, hn::SumsOf8(hn::LoadU(d8, pels + x)));
  done = x;
  return laneSum(d64, sum);
}

// The energy of the first `done` of `count` differences, a vector of 32-bit lanes at a
// time, flushed every kFlushSteps.
HWY_INLINE uint64_t energy(const uint8_t* pels, const uint8_t* below, std::ptrdiff_t count,
                           std::ptrdiff_t& done) {
  const hn::ScalableTag<int32_t> d32;
  const hn::Rebind<uint8_t, decltype(d32)> d8;
  const auto lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d32));
  uint64_t total = 0;
  std::ptrdiff_t x = 0;
  while (x + lanes <= count) {
    auto acc = hn::Zero(d32);
    for (std::ptrdiff_t step = 0; step < kFlushSteps && x + lanes <= count; ++step, x += lanes) {
      const auto here = hn::PromoteTo(d32, hn::LoadU(d8, pels + x));
      const auto dx = hn::Sub(hn::PromoteTo(d32, hn::LoadU(d8, pels + x + 1)), here);
      const auto dy = hn::Sub(hn::PromoteTo(d32, hn::LoadU(d8, below + x)), here);
      acc = hn::Add(acc, hn::Add(hn::Mul(dx, dx), hn::Mul(dy, dy)));
    }
    total += laneSum(d32, acc);
  }
  done = x;
  return total;
}

void AddRow(const uint8_t* pels, const uint8_t* below, int32_t width, lcGradientSums& sums) {
  std::ptrdiff_t done = 0;
  sums.sum += pelSum(pels, width, done);
  for (std::ptrdiff_t x = done; x < width; ++x)
    sums.sum += pels[x];
  if (below == nullptr) return;
  const std::ptrdiff_t count = std::ptrdiff_t{width} - 1;  // the last column has no right
  sums.energy += energy(pels, below, count, done);
  for (std::ptrdiff_t x = done; x < count; ++x) {
    const int32_t dx = pels[x + 1] - pels[x], dy = below[x] - pels[x];
    sums.energy += static_cast<uint64_t>(dx * dx + dy * dy);
  }
}

}  // namespace HWY_NAMESPACE
}  // namespace lcGradientEnergyRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcGradientEnergyRows {

HWY_EXPORT(AddRow);

void addRowFast(const uint8_t* pels, const uint8_t* below, int32_t width, lcGradientSums& sums) {
  HWY_DYNAMIC_DISPATCH(AddRow)(pels, below, width, sums);
}

}  // namespace lcGradientEnergyRows
#endif
