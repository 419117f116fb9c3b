// The grey-morphology rows for every SIMD target: this file is compiled once per target
// by Highway's foreach_target, and the exported functions pick the best one at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/gmorph/morph_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "ip/gmorph/morph_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcMorphRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D8 = hn::ScalableTag<uint8_t>;
using V8 = hn::Vec<D8>;

template <bool kErode>
HWY_INLINE V8 combine(V8 a, V8 b) {
  if constexpr (kErode) return hn::Min(a, b);
  return hn::Max(a, b);
}

template <bool kErode>
void CombineRowsT(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t n) {
  const D8 d;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  int32_t i = 0;
  for (; i + lanes <= n; i += lanes)
    hn::StoreU(combine<kErode>(hn::LoadU(d, a + i), hn::LoadU(d, b + i)), d, out + i);
  for (; i < n; ++i)
    out[i] = kErode ? std::min(a[i], b[i]) : std::max(a[i], b[i]);
}

void CombineRows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t n, bool erode) {
  if (erode)
    CombineRowsT<true>(a, b, out, n);
  else
    CombineRowsT<false>(a, b, out, n);
}

template <bool kErode>
void CombineManyT(const uint8_t* const* rows, int32_t count, uint8_t* out, int32_t n) {
  const D8 d;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  int32_t i = 0;
  for (; i + lanes <= n; i += lanes) {
    V8 acc = hn::LoadU(d, rows[0] + i);
    for (int32_t r = 1; r < count; ++r)
      acc = combine<kErode>(acc, hn::LoadU(d, rows[r] + i));
    hn::StoreU(acc, d, out + i);
  }
  for (; i < n; ++i) {
    uint8_t acc = rows[0][i];
    for (int32_t r = 1; r < count; ++r)
      acc = kErode ? std::min(acc, rows[r][i]) : std::max(acc, rows[r][i]);
    out[i] = acc;
  }
}

void CombineMany(const uint8_t* const* rows, int32_t count, uint8_t* out, int32_t n, bool erode) {
  if (erode)
    CombineManyT<true>(rows, count, out, n);
  else
    CombineManyT<false>(rows, count, out, n);
}

// in - offset (erode) or in + offset, saturated to 0..255: a saturating subtraction or
// addition of |offset| (at most 255), whichever the sign asks for.
template <bool kErode>
void AccumulateCellT(uint8_t* acc, const uint8_t* in, const uint8_t* take, int32_t n,
                     int32_t offset) {
  const D8 d;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  const bool subtract = kErode ? offset > 0 : offset < 0;
  const V8 amount = hn::Set(d, static_cast<uint8_t>(std::min(std::abs(offset), 255)));
  const V8 neutral = hn::Set(d, kErode ? uint8_t{255} : uint8_t{0});
  int32_t i = 0;
  for (; i + lanes <= n; i += lanes) {
    const V8 pels = hn::LoadU(d, in + i);
    V8 term = subtract ? hn::SaturatedSub(pels, amount) : hn::SaturatedAdd(pels, amount);
    if (take != nullptr)
      term = hn::IfThenElse(hn::Ne(hn::LoadU(d, take + i), hn::Zero(d)), term, neutral);
    hn::StoreU(combine<kErode>(hn::LoadU(d, acc + i), term), d, acc + i);
  }
  for (; i < n; ++i) {
    if (take != nullptr && take[i] == 0) continue;
    const uint8_t term = cellTerm(in[i], offset, kErode);
    acc[i] = kErode ? std::min(acc[i], term) : std::max(acc[i], term);
  }
}

void AccumulateCell(uint8_t* acc, const uint8_t* in, const uint8_t* take, int32_t n, int32_t offset,
                    bool erode) {
  if (erode)
    AccumulateCellT<true>(acc, in, take, n, offset);
  else
    AccumulateCellT<false>(acc, in, take, n, offset);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcMorphRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcMorphRows {

HWY_EXPORT(CombineRows);
HWY_EXPORT(AccumulateCell);
HWY_EXPORT(CombineMany);

void combineMany(const uint8_t* const* rows, int32_t count, uint8_t* out, int32_t n, bool erode) {
  HWY_DYNAMIC_DISPATCH(CombineMany)(rows, count, out, n, erode);
}

void combineRows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t n, bool erode) {
  HWY_DYNAMIC_DISPATCH(CombineRows)(a, b, out, n, erode);
}

void accumulateCell(uint8_t* acc, const uint8_t* in, const uint8_t* take, int32_t n, int32_t offset,
                    bool erode) {
  HWY_DYNAMIC_DISPATCH(AccumulateCell)(acc, in, take, n, offset, erode);
}

}  // namespace lcMorphRows
#endif
