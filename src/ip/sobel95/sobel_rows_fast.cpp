// The Sobel gradient rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported function picks the best one at run time.
//
// Pixels are widened to 16 bits. The vertical smoothing u + 2m + d of the left and right
// columns gives gx, the horizontal smoothing of the rows below and above gives gy; both
// fit 16 bits (|g| <= 1020). The reduced components become the two table indexes, which
// the caller looks up: no SIMD target gathers bytes faster than scalar loads.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/sobel95/sobel_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <cstdint>

#include "ip/sobel95/sobel_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcSobelRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D16 = hn::ScalableTag<int16_t>;
using V16 = hn::Vec<D16>;

// (g + 3) >> 3, plus one before the shift for negative g.
HWY_INLINE V16 reduceVector(V16 g) {
  const D16 d16;
  return hn::ShiftRight<3>(hn::Sub(hn::Add(g, hn::Set(d16, 3)), hn::ShiftRight<15>(g)));
}

void IndexRow(const uint8_t* up, const uint8_t* mid, const uint8_t* down, int32_t count,
              uint16_t* magnitude, uint16_t* angle) {
  const D16 d16;
  const hn::Rebind<uint8_t, D16> d8;
  const hn::RebindToUnsigned<D16> du16;
  const auto step = static_cast<int32_t>(hn::Lanes(d16));
  auto chunk = [&](int32_t x) HWY_ATTR {
    auto load = [&](const uint8_t* row) HWY_ATTR { return hn::PromoteTo(d16, hn::LoadU(d8, row)); };
    const V16 ul = load(up + x - 1), uc = load(up + x), ur = load(up + x + 1);
    const V16 ml = load(mid + x - 1), mr = load(mid + x + 1);
    const V16 dl = load(down + x - 1), dc = load(down + x), dr = load(down + x + 1);
    const V16 gx = hn::Sub(hn::Add(hn::Add(ur, dr), hn::Add(mr, mr)),
                           hn::Add(hn::Add(ul, dl), hn::Add(ml, ml)));
    const V16 gy = hn::Sub(hn::Add(hn::Add(dl, dr), hn::Add(dc, dc)),
                           hn::Add(hn::Add(ul, ur), hn::Add(uc, uc)));
    const V16 a = reduceVector(gx), b = reduceVector(gy);
    const V16 magnitudeIndex = hn::Or(hn::ShiftLeft<7>(hn::Abs(a)), hn::Abs(b));
    const auto low = hn::Set(du16, 0xFF);
    const auto angleIndex = hn::Or(hn::ShiftLeft<8>(hn::And(hn::BitCast(du16, a), low)),
                                   hn::And(hn::BitCast(du16, b), low));
    hn::StoreU(hn::BitCast(du16, magnitudeIndex), du16, magnitude + x);
    hn::StoreU(angleIndex, du16, angle + x);
  };
  if (count < step) {
    for (int32_t x = 0; x < count; ++x) {
      const PelIndexes pel = pelIndexes(up, mid, down, x - 1, x, x + 1);
      magnitude[x] = pel.magnitude;
      angle[x] = pel.angle;
    }
    return;
  }
  int32_t x = 0;
  for (; x + step <= count; x += step)
    chunk(x);
  if (x < count) chunk(count - step);  // overlaps the one before rather than reading past
}

}  // namespace HWY_NAMESPACE
}  // namespace lcSobelRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcSobelRows {

HWY_EXPORT(IndexRow);

void indexesFast(const uint8_t* up, const uint8_t* mid, const uint8_t* down, int32_t count,
                 uint16_t* magnitude, uint16_t* angle) {
  HWY_DYNAMIC_DISPATCH(IndexRow)(up, mid, down, count, magnitude, angle);
}

}  // namespace lcSobelRows
#endif
