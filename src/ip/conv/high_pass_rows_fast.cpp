// The high-pass rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported functions pick the best one at run time.
// Vertical sums are 16-bit lanes when they fit, else 32-bit; the horizontal ones are
// 32-bit. Every vector loop ends with the same rule on the last pixels.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/conv/high_pass_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>

#include "ip/conv/high_pass_rows.h"
#include "ip/conv/reflect.h"

HWY_BEFORE_NAMESPACE();
namespace lcHighPassRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using DU32 = hn::ScalableTag<uint32_t>;

template <class Sum, bool kDrops>
void vertical(const uint8_t* add, const uint8_t* drop, Sum* ring1, const Sum* ring1Before,
              Sum* ring2, const Sum* ring2Before, Sum* sum3, int32_t width) {
  const hn::ScalableTag<Sum> d;
  const hn::Rebind<uint8_t, decltype(d)> d8;
  const auto lanes = static_cast<int32_t>(hn::Lanes(d));
  int32_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    auto entering = hn::PromoteTo(d, hn::LoadU(d8, add + x));
    if constexpr (kDrops) entering = hn::Sub(entering, hn::PromoteTo(d, hn::LoadU(d8, drop + x)));
    const auto old1 = hn::LoadU(d, ring1 + x);
    const auto new1 = hn::Add(hn::LoadU(d, ring1Before + x), entering);
    hn::StoreU(new1, d, ring1 + x);
    const auto old2 = hn::LoadU(d, ring2 + x);
    const auto new2 = hn::Sub(hn::Add(hn::LoadU(d, ring2Before + x), new1), old1);
    hn::StoreU(new2, d, ring2 + x);
    hn::StoreU(hn::Sub(hn::Add(hn::LoadU(d, sum3 + x), new2), old2), d, sum3 + x);
  }
  for (; x < width; ++x) {  // modulo arithmetic: the sums come out exact
    const Sum old1 = ring1[x], old2 = ring2[x];
    ring1[x] = static_cast<Sum>(ring1Before[x] + add[x] - (kDrops ? drop[x] : 0));
    ring2[x] = static_cast<Sum>(ring2Before[x] + ring1[x] - old1);
    sum3[x] = static_cast<Sum>(sum3[x] + ring2[x] - old2);
  }
}

template <class Sum>
void verticalStep(const uint8_t* add, const uint8_t* drop, Sum* ring1, const Sum* ring1Before,
                  Sum* ring2, const Sum* ring2Before, Sum* sum3, int32_t width) {
  if (drop)
    vertical<Sum, true>(add, drop, ring1, ring1Before, ring2, ring2Before, sum3, width);
  else
    vertical<Sum, false>(add, drop, ring1, ring1Before, ring2, ring2Before, sum3, width);
}

void Vertical16(const uint8_t* add, const uint8_t* drop, uint16_t* ring1,
                const uint16_t* ring1Before, uint16_t* ring2, const uint16_t* ring2Before,
                uint16_t* sum3, int32_t width) {
  verticalStep(add, drop, ring1, ring1Before, ring2, ring2Before, sum3, width);
}

void Vertical32(const uint8_t* add, const uint8_t* drop, uint32_t* ring1,
                const uint32_t* ring1Before, uint32_t* ring2, const uint32_t* ring2Before,
                uint32_t* sum3, int32_t width) {
  verticalStep(add, drop, ring1, ring1Before, ring2, ring2Before, sum3, width);
}

// out[i] = in[i] + ... + in[i + box - 1] for i below count.
void boxSums(const uint32_t* in, uint32_t* out, int32_t count, int32_t box) {
  const DU32 d;
  const auto lanes = static_cast<int32_t>(hn::Lanes(d));
  int32_t x = 0;
  for (; x + lanes <= count; x += lanes) {
    auto sum = hn::LoadU(d, in + x);
    for (int32_t k = 1; k < box; ++k)
      sum = hn::Add(sum, hn::LoadU(d, in + x + k));
    hn::StoreU(sum, d, out + x);
  }
  for (; x < count; ++x) {
    uint32_t sum = 0;
    for (int32_t k = 0; k < box; ++k)
      sum += in[x + k];
    out[x] = sum;
  }
}

// The row of vertical sums extended across its ends by reflection, then three boxes:
// the 2-D sums H of the row.
template <class Sum>
const uint32_t* horizontal(const Sum* column, int32_t width, const Bell& across,
                           uint32_t* scratch) {
  const int32_t length = width + across.before + across.after;
  uint32_t* a = scratch;
  uint32_t* b = scratch + length + 32;
  for (int32_t i = 0; i < across.before; ++i)
    a[i] = column[lcReflect101(i - across.before, width)];
  std::copy(column, column + width, a + across.before);
  for (int32_t i = across.before + width; i < length; ++i)
    a[i] = column[lcReflect101(i - across.before, width)];
  if (across.box == 1) return a;
  const int32_t shrink = across.box - 1;
  boxSums(a, b, length - shrink, across.box);
  boxSums(b, a, length - 2 * shrink, across.box);
  boxSums(a, b, width, across.box);
  return b;
}

// g = floor((H + floor(total / 2)) / total), in float. For totals below 2^13 the
// quotient (H + floor(total / 2) + 0.5) / total lies at least 0.5 / total (over 6e-5)
// from an integer, twice the float's error (under 2^-23 of at most 256), so truncating
// it is exact. Larger totals correct the estimate, which is then within one, by its
// remainder.
template <bool kCorrect>
void finishRow(const uint32_t* sums, const uint8_t* in, uint8_t* out, int32_t width,
               uint32_t total) {
  const hn::ScalableTag<int32_t> d;
  const hn::Rebind<uint8_t, decltype(d)> d8;
  const hn::Rebind<float, decltype(d)> df;
  const auto lanes = static_cast<int32_t>(hn::Lanes(d));
  const auto t = hn::Set(d, static_cast<int32_t>(total)), one = hn::Set(d, 1);
  const auto half = hn::Set(d, static_cast<int32_t>(total / 2));
  const auto halfAndABit = hn::Set(df, static_cast<float>(total / 2) + 0.5f);
  const auto reciprocal = hn::Set(df, 1.0f / static_cast<float>(total));
  int32_t x = 0;
  for (; x + lanes <= width; x += lanes) {
    const auto h = hn::BitCast(d, hn::LoadU(DU32(), sums + x));
    auto g = hn::ConvertTo(d, hn::Mul(hn::Add(hn::ConvertTo(df, h), halfAndABit), reciprocal));
    if constexpr (kCorrect) {
      const auto r = hn::Sub(hn::Add(h, half), hn::Mul(g, t));
      g = hn::IfThenElse(hn::Lt(r, hn::Zero(d)), hn::Sub(g, one), g);
      g = hn::IfThenElse(hn::Lt(r, t), g, hn::Add(g, one));
    }
    const auto v = hn::Add(hn::Sub(hn::PromoteTo(d, hn::LoadU(d8, in + x)), g), hn::Set(d, 128));
    hn::StoreU(hn::DemoteTo(d8, v), d8, out + x);  // saturates to 0..255
  }
  for (; x < width; ++x) {
    const auto g = static_cast<int32_t>((sums[x] + total / 2) / total);
    out[x] = static_cast<uint8_t>(std::clamp(in[x] - g + 128, 0, 255));
  }
}

template <class Sum>
void finish(const Sum* column, const uint8_t* in, uint8_t* out, int32_t width, const Bell& across,
            uint32_t total, uint32_t* scratch) {
  const uint32_t* sums = horizontal(column, width, across, scratch);
  if (total < (1u << 13))
    finishRow<false>(sums, in, out, width, total);
  else
    finishRow<true>(sums, in, out, width, total);
}

void Finish16(const uint16_t* column, const uint8_t* in, uint8_t* out, int32_t width,
              const Bell& across, uint32_t total, uint32_t* scratch) {
  finish(column, in, out, width, across, total, scratch);
}

void Finish32(const uint32_t* column, const uint8_t* in, uint8_t* out, int32_t width,
              const Bell& across, uint32_t total, uint32_t* scratch) {
  finish(column, in, out, width, across, total, scratch);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcHighPassRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcHighPassRows {

HWY_EXPORT(Vertical16);
HWY_EXPORT(Vertical32);
HWY_EXPORT(Finish16);
HWY_EXPORT(Finish32);

void verticalFast(const uint8_t* add, const uint8_t* drop, uint16_t* ring1,
                  const uint16_t* ring1Before, uint16_t* ring2, const uint16_t* ring2Before,
                  uint16_t* sum3, int32_t width) {
  HWY_DYNAMIC_DISPATCH(Vertical16)(add, drop, ring1, ring1Before, ring2, ring2Before, sum3, width);
}

void verticalFast(const uint8_t* add, const uint8_t* drop, uint32_t* ring1,
                  const uint32_t* ring1Before, uint32_t* ring2, const uint32_t* ring2Before,
                  uint32_t* sum3, int32_t width) {
  HWY_DYNAMIC_DISPATCH(Vertical32)(add, drop, ring1, ring1Before, ring2, ring2Before, sum3, width);
}

void finishFast(const uint16_t* column, const uint8_t* in, uint8_t* out, int32_t width,
                const Bell& across, uint32_t total, uint32_t* scratch) {
  HWY_DYNAMIC_DISPATCH(Finish16)(column, in, out, width, across, total, scratch);
}

void finishFast(const uint32_t* column, const uint8_t* in, uint8_t* out, int32_t width,
                const Bell& across, uint32_t total, uint32_t* scratch) {
  HWY_DYNAMIC_DISPATCH(Finish32)(column, in, out, width, across, total, scratch);
}

}  // namespace lcHighPassRows
#endif
