// The sampling rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported functions pick the best one at run time.
//
// Pairs of neighbouring pixels are read as one lane of twice the width: its low half is
// the even pixel, its high half the odd one, so picking, adding pairs and halving the
// count are shifts and masks, and a narrowing store gives the results.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/sampling/sampling_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <cstdint>

#include "ip/sampling/sampling_rows.h"
#include "std/util/fetch_ahead.h"

HWY_BEFORE_NAMESPACE();
namespace lcSamplingRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

template <class T>
void averageScalar(const T* a, const T* b, T* out, int32_t from, int32_t count) {
  for (int32_t k = from; k < count; ++k)
    out[k] = static_cast<T>((uint32_t{a[2 * k]} + a[2 * k + 1] + b[2 * k] + b[2 * k + 1] + 2) >> 2);
}

template <class T>
void pickScalar(const T* in, T* out, int32_t from, int32_t count) {
  for (int32_t k = from; k < count; ++k)
    out[k] = in[2 * k];
}

template <class T>
void doubleScalar(const T* in, T* out, int32_t from, int32_t count) {
  for (int32_t k = from; k < count; ++k)
    out[2 * k] = out[2 * k + 1] = in[k];
}

#if HWY_TARGET == HWY_SCALAR

template <class T>
void average(const T* a, const T* b, T* out, int32_t count) {
  averageScalar(a, b, out, 0, count);
}
template <class T>
void pick(const T* in, T* out, int32_t count) {
  pickScalar(in, out, 0, count);
}
template <class T>
void twice(const T* in, T* out, int32_t count) {
  doubleScalar(in, out, 0, count);
}

#else

// Lanes holding two pixels of type T each.
template <class T>
using WideTag = hn::RepartitionToWide<hn::ScalableTag<T> >;

template <class T>
void average(const T* a, const T* b, T* out, int32_t count) {
  const hn::ScalableTag<T> d;
  const WideTag<T> dw;
  const hn::Rebind<T, WideTag<T> > dn;
  using W = hn::TFromD<WideTag<T> >;
  const auto low = hn::Set(dw, W((W{1} << (8 * sizeof(T))) - 1));
  const auto two = hn::Set(dw, W{2});
  const int32_t step = static_cast<int32_t>(hn::Lanes(dw));
  int32_t k = 0;
  for (; k + step <= count; k += step) {
    const auto pa = hn::BitCast(dw, hn::LoadU(d, a + 2 * k));
    const auto pb = hn::BitCast(dw, hn::LoadU(d, b + 2 * k));
    const auto sum = hn::Add(hn::Add(hn::And(pa, low), hn::ShiftRight<8 * sizeof(T)>(pa)),
                             hn::Add(hn::And(pb, low), hn::ShiftRight<8 * sizeof(T)>(pb)));
    hn::StoreU(hn::TruncateTo(dn, hn::ShiftRight<2>(hn::Add(sum, two))), dn, out + k);
  }
  averageScalar(a, b, out, k, count);
}

template <class T>
void pick(const T* in, T* out, int32_t count) {
  const hn::ScalableTag<T> d;
  const WideTag<T> dw;
  const hn::Rebind<T, WideTag<T> > dn;
  const int32_t step = static_cast<int32_t>(hn::Lanes(dw));
  int32_t k = 0;
  for (; k + step <= count; k += step)
    hn::StoreU(hn::TruncateTo(dn, hn::BitCast(dw, hn::LoadU(d, in + 2 * k))), dn, out + k);
  pickScalar(in, out, k, count);
}

// Each pixel widened to a lane of twice its width, the copy shifted into the high half.
template <class T>
void twice(const T* in, T* out, int32_t count) {
  const hn::ScalableTag<T> d;
  const WideTag<T> dw;
  const hn::Rebind<T, WideTag<T> > dn;
  const int32_t step = static_cast<int32_t>(hn::Lanes(dw));
  int32_t k = 0;
  for (; k + step <= count; k += step) {
    const auto wide = hn::PromoteTo(dw, hn::LoadU(dn, in + k));
    hn::StoreU(hn::BitCast(d, hn::Or(wide, hn::ShiftLeft<8 * sizeof(T)>(wide))), d, out + 2 * k);
  }
  doubleScalar(in, out, k, count);
}

// The sums in 32-bit lanes: for rate 1 each tap is one widened load; for rate 2 a lane
// of two columns holds taps c and c + 1 of its output. The quotient is estimated in
// floats (off by one at most, as q < 2^9 and n < 2^31) and corrected by its remainder.
template <int32_t Rate>
int32_t horizontalBell(const uint16_t* column, const uint32_t* weights, int32_t taps,
                       const BellFinish& finish, uint8_t* out, int32_t count) {
  const bool narrow = finish.narrow;
  const hn::ScalableTag<uint32_t> du;
  const hn::Rebind<int32_t, decltype(du)> di;
  const hn::Rebind<float, decltype(du)> df;
  const hn::Rebind<uint16_t, decltype(du)> dHalf;
  const hn::Repartition<uint16_t, decltype(du)> dPairs;
  const hn::Rebind<uint8_t, decltype(du)> d8;
  const auto low = hn::Set(du, 0xFFFFu);
  const auto hMax = hn::Set(du, finish.hMax);
  const auto mul = hn::Set(di, finish.mul), add = hn::Set(di, finish.add);
  const auto div = hn::Set(di, finish.div), divLess1 = hn::Set(di, finish.div - 1);
  const auto reciprocal = hn::Set(df, 1.0f / float(finish.div));
  const auto zero = hn::Zero(di), top = hn::Set(di, 255);
  const int32_t step = static_cast<int32_t>(hn::Lanes(du));
  int32_t a = 0;
  for (; a + step <= count; a += step) {
    auto h = hn::Zero(du);
    if constexpr (Rate == 1) {
      for (int32_t c = 0; c < taps; ++c)
        h = hn::Add(h, hn::Mul(hn::PromoteTo(du, hn::LoadU(dHalf, column + a + c)),
                               hn::Set(du, weights[c])));
    } else if (HWY_ARCH_X86 && narrow) {
      // Columns below 2^15: one signed multiply-add of pairs per two taps.
      const hn::Repartition<int16_t, decltype(di)> dSigned;
      auto sum = hn::Zero(di), unused = hn::Zero(di);
      for (int32_t c = 0; c < taps; c += 2) {
        const uint32_t next = c + 1 < taps ? weights[c + 1] : 0;
        const auto pairWeights = hn::BitCast(dSigned, hn::Set(du, weights[c] | next << 16));
        sum = hn::ReorderWidenMulAccumulate(
            di, hn::BitCast(dSigned, hn::LoadU(dPairs, column + 2 * a + c)), pairWeights, sum,
            unused);
      }
      h = hn::BitCast(du, sum);
    } else {
      for (int32_t c = 0; c < taps; c += 2) {
        const auto pair = hn::BitCast(du, hn::LoadU(dPairs, column + 2 * a + c));
        h = hn::Add(h, hn::Mul(hn::And(pair, low), hn::Set(du, weights[c])));
        if (c + 1 < taps)
          h = hn::Add(h, hn::Mul(hn::ShiftRight<16>(pair), hn::Set(du, weights[c + 1])));
      }
    }
    const auto n = hn::Add(hn::Mul(hn::BitCast(di, hn::Min(h, hMax)), mul), add);
    auto q = hn::ConvertTo(di, hn::Mul(hn::ConvertTo(df, n), reciprocal));
    const auto r = hn::Sub(n, hn::Mul(q, div));
    q = hn::Add(q, hn::VecFromMask(di, hn::Lt(r, zero)));
    q = hn::Sub(q, hn::VecFromMask(di, hn::Gt(r, divLess1)));
    hn::StoreU(hn::DemoteTo(d8, hn::Min(q, top)), d8, out + a);
  }
  return a;
}

int32_t HorizontalBell(const uint16_t* column, int32_t rate, const uint32_t* weights, int32_t taps,
                       const BellFinish& finish, uint8_t* out, int32_t count) {
  return rate == 1 ? horizontalBell<1>(column, weights, taps, finish, out, count)
                   : horizontalBell<2>(column, weights, taps, finish, out, count);
}

#endif

#if HWY_TARGET == HWY_SCALAR
int32_t HorizontalBell(const uint16_t*, int32_t, const uint32_t*, int32_t, const BellFinish&,
                       uint8_t*, int32_t) {
  return 0;
}
#endif

// Generic code: on the single-lane target the vectors are single pixels. A symmetric bell
// adds the rows of equal weight before multiplying: one multiply for each pair.
template <class Unused = void>
void verticalBell(const uint8_t* const* rows, const uint16_t* weights, int32_t count,
                  uint16_t* column, int32_t width, const uint8_t* aheadA, const uint8_t* aheadB) {
  const hn::ScalableTag<uint16_t> d16;
  const hn::Rebind<uint8_t, decltype(d16)> d8;
  bool symmetric = true;
  for (int32_t r = 0; r < count / 2; ++r)
    symmetric = symmetric && weights[r] == weights[count - 1 - r];
  const int32_t folded = symmetric ? count / 2 : 0;
  const int32_t step = static_cast<int32_t>(hn::Lanes(d16));
  const auto widened = [&](int32_t r, int32_t x)
                           HWY_ATTR { return hn::PromoteTo(d16, hn::LoadU(d8, rows[r] + x)); };
  int32_t x = 0;
  for (; x + step <= width; x += step) {
    lcFetchAhead(aheadA, x);
    lcFetchAhead(aheadB, x);
    auto sum = hn::Zero(d16);
    for (int32_t r = 0; r < folded; ++r)
      sum = hn::Add(sum, hn::Mul(hn::Add(widened(r, x), widened(count - 1 - r, x)),
                                 hn::Set(d16, weights[r])));
    for (int32_t r = folded; r < count - folded; ++r)
      sum = hn::Add(sum, hn::Mul(widened(r, x), hn::Set(d16, weights[r])));
    hn::StoreU(sum, d16, column + x);
  }
  for (; x < width; ++x) {
    uint32_t sum = 0;
    for (int32_t r = 0; r < count; ++r)
      sum += uint32_t{weights[r]} * rows[r][x];
    column[x] = static_cast<uint16_t>(sum);
  }
}

void VerticalBell(const uint8_t* const* rows, const uint16_t* weights, int32_t count,
                  uint16_t* column, int32_t width, const uint8_t* aheadA, const uint8_t* aheadB) {
  verticalBell(rows, weights, count, column, width, aheadA, aheadB);
}

void Average8(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t count) {
  average(a, b, out, count);
}
void Average16(const uint16_t* a, const uint16_t* b, uint16_t* out, int32_t count) {
  average(a, b, out, count);
}
void Pick8(const uint8_t* in, uint8_t* out, int32_t count) {
  pick(in, out, count);
}
void Pick16(const uint16_t* in, uint16_t* out, int32_t count) {
  pick(in, out, count);
}
void Double8(const uint8_t* in, uint8_t* out, int32_t count) {
  twice(in, out, count);
}
void Double16(const uint16_t* in, uint16_t* out, int32_t count) {
  twice(in, out, count);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcSamplingRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcSamplingRows {

HWY_EXPORT(Average8);
HWY_EXPORT(Average16);
HWY_EXPORT(Pick8);
HWY_EXPORT(Pick16);
HWY_EXPORT(Double8);
HWY_EXPORT(Double16);
HWY_EXPORT(VerticalBell);
HWY_EXPORT(HorizontalBell);

int32_t horizontalBellFast(const uint16_t* column, int32_t rate, const uint32_t* weights,
                           int32_t taps, const BellFinish& finish, uint8_t* out, int32_t count) {
  return HWY_DYNAMIC_DISPATCH(HorizontalBell)(column, rate, weights, taps, finish, out, count);
}

void verticalBellFast(const uint8_t* const* rows, const uint16_t* weights, int32_t count,
                      uint16_t* column, int32_t width, const uint8_t* aheadA,
                      const uint8_t* aheadB) {
  HWY_DYNAMIC_DISPATCH(VerticalBell)(rows, weights, count, column, width, aheadA, aheadB);
}

void average2x2Fast(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t count) {
  HWY_DYNAMIC_DISPATCH(Average8)(a, b, out, count);
}
void average2x2Fast(const uint16_t* a, const uint16_t* b, uint16_t* out, int32_t count) {
  HWY_DYNAMIC_DISPATCH(Average16)(a, b, out, count);
}
void pickEvenFast(const uint8_t* in, uint8_t* out, int32_t count) {
  HWY_DYNAMIC_DISPATCH(Pick8)(in, out, count);
}
void pickEvenFast(const uint16_t* in, uint16_t* out, int32_t count) {
  HWY_DYNAMIC_DISPATCH(Pick16)(in, out, count);
}
void doubleFast(const uint8_t* in, uint8_t* out, int32_t count) {
  HWY_DYNAMIC_DISPATCH(Double8)(in, out, count);
}
void doubleFast(const uint16_t* in, uint16_t* out, int32_t count) {
  HWY_DYNAMIC_DISPATCH(Double16)(in, out, count);
}

}  // namespace lcSamplingRows
#endif
