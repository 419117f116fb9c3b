// The two-image rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported functions pick the best one at run time.
// Each row runs whole vectors, then the scalar rule on the last few pixels.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/arith/image_arith_rows_fast.cpp"
#include <hwy/cache_control.h>
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>

#include "ip/arith/aligned_head.h"
#include "ip/arith/image_arith_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcImageArithRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// out = op(a, b) a vector at a time, then the scalar rule for the last few pixels.
// Streamed stores go past the caches (the run then starts with the rule up to the first
// aligned vector).
template <class T, class Op>
HWY_INLINE void combineRun(const T* a, const T* b, T* out, std::ptrdiff_t length, bool stream,
                           lcImagePelOp rule, const Op& op) {
  const hn::ScalableTag<T> d;
  const auto lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d));
  std::ptrdiff_t x = 0;
  if (stream) {
    const std::ptrdiff_t head = lcPelsBeforeAlignedVector(out, hn::Lanes(d));
    for (; x < std::min(head, length); ++x)
      out[x] = lcCombinePels(a[x], b[x], rule);
    for (; x + lanes <= length; x += lanes)
      hn::Stream(op(d, hn::LoadU(d, a + x), hn::LoadU(d, b + x)), d, out + x);
  } else {
    for (; x + lanes <= length; x += lanes)
      hn::StoreU(op(d, hn::LoadU(d, a + x), hn::LoadU(d, b + x)), d, out + x);
  }
  for (; x < length; ++x)
    out[x] = lcCombinePels(a[x], b[x], rule);
}

// Every row; rows that lie end to end in all three buffers are one run.
template <class T, class Op>
HWY_INLINE void combineRows(const lcPelRows<const T>& a, const lcPelRows<const T>& b,
                            const lcPelRows<T>& out, bool stream, lcImagePelOp rule, const Op& op) {
  if (a.pitch == a.width && b.pitch == b.width && out.pitch == out.width) {
    combineRun(a.first, b.first, out.first, std::ptrdiff_t{out.width} * out.height, stream, rule,
               op);
  } else {
    for (int32_t y = 0; y < out.height; ++y)
      combineRun(a[y], b[y], out[y], out.width, stream, rule, op);
  }
  if (stream) hwy::FlushStream();  // before another thread may read the rows
}

template <class T>
void combine(const lcPelRows<const T>& a, const lcPelRows<const T>& b, const lcPelRows<T>& out,
             lcImagePelOp op, bool stream) {
  const auto run = [&](const auto& vectorOp) { combineRows(a, b, out, stream, op, vectorOp); };
  switch (op) {
    case lcImagePelOp::addModulo:
      return run([](auto, auto x, auto y) HWY_ATTR { return hn::Add(x, y); });
    case lcImagePelOp::addClamp:
      return run([](auto, auto x, auto y) HWY_ATTR { return hn::SaturatedAdd(x, y); });
    case lcImagePelOp::addHalve:  // floor((x + y) / 2) without a carry out of the lane
      return run([](auto, auto x, auto y)
                     HWY_ATTR { return hn::Add(hn::And(x, y), hn::ShiftRight<1>(hn::Xor(x, y))); });
    case lcImagePelOp::subtractModulo:
      return run([](auto, auto x, auto y) HWY_ATTR { return hn::Sub(x, y); });
    case lcImagePelOp::subtractAbsolute:
      return run([](auto, auto x, auto y)
                     HWY_ATTR { return hn::Or(hn::SaturatedSub(x, y), hn::SaturatedSub(y, x)); });
    case lcImagePelOp::subtractClamp:
      return run([](auto, auto x, auto y) HWY_ATTR { return hn::SaturatedSub(x, y); });
    case lcImagePelOp::subtractHalve:  // one of the two halves is 0; the other keeps the sign
      return run([](auto, auto x, auto y) HWY_ATTR {
        return hn::Sub(hn::ShiftRight<1>(hn::SaturatedSub(x, y)),
                       hn::ShiftRight<1>(hn::SaturatedSub(y, x)));
      });
    case lcImagePelOp::min:
      return run([](auto, auto x, auto y) HWY_ATTR { return hn::Min(x, y); });
    case lcImagePelOp::max:
      return run([](auto, auto x, auto y) HWY_ATTR { return hn::Max(x, y); });
  }
}

void CombineRows8(const lcPelRows<const uint8_t>& a, const lcPelRows<const uint8_t>& b,
                  const lcPelRows<uint8_t>& out, lcImagePelOp op, bool stream) {
  combine(a, b, out, op, stream);
}

void CombineRows16(const lcPelRows<const uint16_t>& a, const lcPelRows<const uint16_t>& b,
                   const lcPelRows<uint16_t>& out, lcImagePelOp op, bool stream) {
  combine(a, b, out, op, stream);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcImageArithRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcImageArithRows {

HWY_EXPORT(CombineRows8);
HWY_EXPORT(CombineRows16);

void combineFast(const lcPelRows<const uint8_t>& a, const lcPelRows<const uint8_t>& b,
                 const lcPelRows<uint8_t>& out, lcImagePelOp op, bool stream) {
  HWY_DYNAMIC_DISPATCH(CombineRows8)(a, b, out, op, stream);
}

void combineFast(const lcPelRows<const uint16_t>& a, const lcPelRows<const uint16_t>& b,
                 const lcPelRows<uint16_t>& out, lcImagePelOp op, bool stream) {
  HWY_DYNAMIC_DISPATCH(CombineRows16)(a, b, out, op, stream);
}

}  // namespace lcImageArithRows
#endif
