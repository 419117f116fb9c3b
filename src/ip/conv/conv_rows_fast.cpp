// The convolution rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported functions pick the best one at run time.
//
// Pixels are widened to 16 bits and multiplied by 16-bit weights in pairs into 32-bit
// sums (pmaddwd on x86). A vector of 2L pixels starting at column x + k pairs
// (x + 2i + k, x + 2i + k + 1), so the weights of kernel columns k and k + 1 give the
// sums of the even results x + 2i from it and those of the odd results x + 2i + 1 from
// the vector one column further on. An odd last column is paired with a zero weight.
// The even and odd 32-bit results are finally interleaved back into pixel order.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/conv/conv_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <cstdint>

#include "ip/conv/conv_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcConvRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D16 = hn::ScalableTag<int16_t>;
using D32 = hn::RepartitionToWide<D16>;
using V16 = hn::Vec<D16>;
using V32 = hn::Vec<D32>;

// 16-bit lanes first, second, first, second, ... from a weightPair word.
HWY_INLINE V16 pairVector(uint32_t pair) {
  return hn::BitCast(D16(), hn::Set(D32(), static_cast<int32_t>(pair)));
}

// Even and odd sums of one chunk; each is a pair of accumulators that
// RearrangeToOddPlusEven adds up.
struct Sums {
  // Written out: an implicit constructor would miss the target's instruction set.
  Sums() : even0(hn::Zero(D32())), even1(even0), odd0(even0), odd1(even0) {}

  V32 even0, even1, odd0, odd1;

  HWY_INLINE void addEven(V16 pels, V16 weights) {
    even0 = hn::ReorderWidenMulAccumulate(D32(), pels, weights, even0, even1);
  }
  HWY_INLINE void addOdd(V16 pels, V16 weights) {
    odd0 = hn::ReorderWidenMulAccumulate(D32(), pels, weights, odd0, odd1);
  }
  HWY_INLINE V32 even() const { return hn::RearrangeToOddPlusEven(even0, even1); }
  HWY_INLINE V32 odd() const { return hn::RearrangeToOddPlusEven(odd0, odd1); }
};

// The low 16 bits of the even and odd results, in pixel order.
HWY_INLINE V16 interleave(V32 even, V32 odd) {
  const D32 d32;
  return hn::BitCast(D16(), hn::Or(hn::And(even, hn::Set(d32, 0xFFFF)), hn::ShiftLeft<16>(odd)));
}

HWY_INLINE void store(V16 results, int16_t* out) {
  hn::StoreU(results, D16(), out);
}

HWY_INLINE void store(V16 results, uint8_t* out) {
  const hn::Rebind<uint8_t, D16> d8;
  const hn::RebindToUnsigned<D16> du16;
  hn::StoreU(hn::TruncateTo(d8, hn::BitCast(du16, results)), d8, out);
}

// Results a chunk gives; rows narrower than that take the scalar rule. A single-lane
// target has no pairs of lanes, so every row takes it there.
HWY_INLINE int32_t pairedStep() {
  if (HWY_TARGET == HWY_SCALAR) return INT32_MAX;
  return static_cast<int32_t>(hn::Lanes(D16()));
}

// Calls chunk(x) for chunks of `step` results covering 0 to width (at least step); the
// last one overlaps the one before rather than reading past the row.
template <class Chunk>
HWY_INLINE void forEachChunk(int32_t width, int32_t step, const Chunk& chunk) {
  int32_t x = 0;
  for (; x + step <= width; x += step)
    chunk(x);
  if (x < width) chunk(width - step);
}

template <class Out>
void Convolve3x3Rows(const lcPelRows<const uint8_t>& in, const lcPelRows<Out>& out, int32_t begin,
                     int32_t end, const lcConvolve3x3Params& params) {
  const D16 d16;
  const hn::Rebind<uint8_t, D16> d8;
  const int32_t step = pairedStep();
  V16 pairs[3], lastEven[3], lastOdd[3];  // per row: columns 0 and 1, then column 2
  for (int r = 0; r < 3; ++r) {
    auto weight = [&](int c) { return params.weights[static_cast<std::size_t>(8 - 3 * r - c)]; };
    pairs[r] = pairVector(weightPair(weight(0), weight(1)));
    lastEven[r] = pairVector(weightPair(weight(2), 0));
    lastOdd[r] = pairVector(weightPair(0, weight(2)));
  }
  const int shift = params.shift;
  for (int32_t y = begin; y < end; ++y) {
    Out* row = out[y];
    if (out.width < step) {
      for (int32_t x = 0; x < out.width; ++x)
        row[x] = static_cast<Out>(convolve3x3Sum(in, x, y, params) >> shift);
      continue;
    }
    forEachChunk(out.width, step, [&](int32_t x) HWY_ATTR {
      Sums sums;
      for (int r = 0; r < 3; ++r) {
        const uint8_t* pels = in[y + r] + x;
        const V16 at0 = hn::PromoteTo(d16, hn::LoadU(d8, pels));
        const V16 at1 = hn::PromoteTo(d16, hn::LoadU(d8, pels + 1));
        const V16 at2 = hn::PromoteTo(d16, hn::LoadU(d8, pels + 2));
        sums.addEven(at0, pairs[r]);
        sums.addOdd(at1, pairs[r]);
        sums.addEven(at2, lastEven[r]);
        sums.addOdd(at2, lastOdd[r]);
      }
      store(
          interleave(hn::ShiftRightSame(sums.even(), shift), hn::ShiftRightSame(sums.odd(), shift)),
          row + x);
    });
  }
}

void Convolve3x3Rows16(const lcPelRows<const uint8_t>& in, const lcPelRows<int16_t>& out,
                       int32_t begin, int32_t end, const lcConvolve3x3Params& params) {
  Convolve3x3Rows(in, out, begin, end, params);
}

void Convolve3x3Rows8(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
                      int32_t begin, int32_t end, const lcConvolve3x3Params& params) {
  Convolve3x3Rows(in, out, begin, end, params);
}

// sum / divisor rounded half away from zero, for |sum| + divisor / 2 below 2^31: a
// float quotient is within one of the true one, and the remainder corrects it.
HWY_INLINE V32 divideVectorRounded(V32 sum, int32_t divisor) {
  const D32 d32;
  const hn::Rebind<float, D32> df;
  const V32 d = hn::Set(d32, divisor);
  const V32 n = hn::Add(hn::Abs(sum), hn::Set(d32, divisor / 2));
  V32 q = hn::ConvertTo(d32, hn::Mul(hn::ConvertTo(df, n), hn::Set(df, 1.0f / divisor)));
  const V32 r = hn::Sub(n, hn::Mul(q, d));
  q = hn::IfThenElse(hn::Lt(r, hn::Zero(d32)), hn::Sub(q, hn::Set(d32, 1)), q);
  q = hn::IfThenElse(hn::Lt(r, d), q, hn::Add(q, hn::Set(d32, 1)));
  // (IfNegativeThenElse would do, but gives wrong lanes on SSSE3 in Highway 1.0.)
  return hn::IfThenElse(hn::Lt(sum, hn::Zero(d32)), hn::Neg(q), q);
}

template <class Out>
HWY_INLINE int32_t finish(int32_t result, const NxMRowPlan& plan) {
  if constexpr (sizeof(Out) == 1) return result >> plan.signFlag;
  return result;
}

template <class Out>
void ConvolveNxMRow(const int16_t* const* rows, Out* out, int32_t width, const NxMRowPlan& plan) {
  const D16 d16;
  const int32_t step = pairedStep();
  const int32_t n = plan.kernelWidth, last = n - 1;
  if (width < step) {
    for (int32_t x = 0; x < width; ++x) {
      int64_t sum = 0;
      for (int32_t r = 0; r < plan.kernelHeight; ++r)
        for (int32_t c = 0; c < n; ++c)
          sum += plan.rotated[r * n + c] * rows[r][x + c];
      out[x] = static_cast<Out>(finish<Out>(divideRounded(sum, plan.divisor), plan));
    }
    return;
  }
  forEachChunk(width, step, [&](int32_t x) HWY_ATTR {
    Sums sums;
    const uint32_t* pairs = plan.pairs;
    for (int32_t r = 0; r < plan.kernelHeight; ++r) {
      const int16_t* pels = rows[r] + x;
      for (int32_t c = 0; c < last; c += 2) {
        const V16 pair = pairVector(*pairs++);
        sums.addEven(hn::LoadU(d16, pels + c), pair);
        sums.addOdd(hn::LoadU(d16, pels + c + 1), pair);
      }
      const V16 atLast = hn::LoadU(d16, pels + last);
      sums.addEven(atLast, pairVector(*pairs++));
      sums.addOdd(atLast, pairVector(*pairs++));
    }
    V32 even = divideVectorRounded(sums.even(), plan.divisor);
    V32 odd = divideVectorRounded(sums.odd(), plan.divisor);
    if constexpr (sizeof(Out) == 1) {
      even = hn::ShiftRightSame(even, plan.signFlag);
      odd = hn::ShiftRightSame(odd, plan.signFlag);
    }
    store(interleave(even, odd), out + x);
  });
}

void ConvolveNxMRow16(const int16_t* const* rows, int16_t* out, int32_t width,
                      const NxMRowPlan& plan) {
  ConvolveNxMRow(rows, out, width, plan);
}

void ConvolveNxMRow8(const int16_t* const* rows, uint8_t* out, int32_t width,
                     const NxMRowPlan& plan) {
  ConvolveNxMRow(rows, out, width, plan);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcConvRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcConvRows {

HWY_EXPORT(Convolve3x3Rows16);
HWY_EXPORT(Convolve3x3Rows8);
HWY_EXPORT(ConvolveNxMRow16);
HWY_EXPORT(ConvolveNxMRow8);

void convolve3x3Fast(const lcPelRows<const uint8_t>& in, const lcPelRows<int16_t>& out,
                     int32_t begin, int32_t end, const lcConvolve3x3Params& params) {
  HWY_DYNAMIC_DISPATCH(Convolve3x3Rows16)(in, out, begin, end, params);
}

void convolve3x3Fast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
                     int32_t begin, int32_t end, const lcConvolve3x3Params& params) {
  HWY_DYNAMIC_DISPATCH(Convolve3x3Rows8)(in, out, begin, end, params);
}

void convolveNxMFast(const int16_t* const* rows, int16_t* out, int32_t width,
                     const NxMRowPlan& plan) {
  HWY_DYNAMIC_DISPATCH(ConvolveNxMRow16)(rows, out, width, plan);
}

void convolveNxMFast(const int16_t* const* rows, uint8_t* out, int32_t width,
                     const NxMRowPlan& plan) {
  HWY_DYNAMIC_DISPATCH(ConvolveNxMRow8)(rows, out, width, plan);
}

}  // namespace lcConvRows
#endif
