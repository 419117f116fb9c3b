// The grey-morphology rows for every SIMD target: this file is compiled once per target
// by Highway's foreach_target, and the exported functions pick the best one at run time.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/gmorph/morph_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "ip/gmorph/morph_rows.h"
#include "std/util/fetch_ahead.h"

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
void CombineRowsT(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t n,
                  const uint8_t* ahead) {
  const D8 d;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  int32_t i = 0;
  for (; i + lanes <= n; i += lanes) {
    lcFetchAhead(ahead, i);
    hn::StoreU(combine<kErode>(hn::LoadU(d, a + i), hn::LoadU(d, b + i)), d, out + i);
  }
  for (; i < n; ++i)
    out[i] = kErode ? std::min(a[i], b[i]) : std::max(a[i], b[i]);
}

void CombineRows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t n, bool erode,
                 const uint8_t* ahead) {
  if (erode)
    CombineRowsT<true>(a, b, out, n, ahead);
  else
    CombineRowsT<false>(a, b, out, n, ahead);
}

template <bool kErode>
HWY_INLINE uint8_t combinePel(uint8_t a, uint8_t b) {
  return kErode ? std::min(a, b) : std::max(a, b);
}

// The most rows combineMany and combineManyTwice unroll; more take a loop.
constexpr int32_t kMaxUnrolled = 16;

// Calls run(std::integral_constant<int32_t, count>) when count is at most kMaxUnrolled,
// else run(std::integral_constant<int32_t, 0>): loops then read the count at run time.
template <int32_t kCount = 1, class Run>
HWY_INLINE void WithCount(int32_t count, const Run& run) {
  if (count == kCount) return run(std::integral_constant<int32_t, kCount>{});
  if constexpr (kCount < kMaxUnrolled)
    WithCount<kCount + 1>(count, run);
  else
    run(std::integral_constant<int32_t, 0>{});
}

// out[i] = combine of rows[r][i] for r in first..last-1 (rows[r] + i stands at r's
// offset), a vector at a time; kCount is last - first when it is known, else 0.
template <bool kErode, int32_t kCount>
HWY_INLINE V8 CombineAt(const D8 d, const uint8_t* const* rows, int32_t first, int32_t last,
                        int32_t i) {
  const int32_t end = kCount != 0 ? first + kCount : last;
  V8 acc = hn::LoadU(d, rows[first] + i);
  for (int32_t r = first + 1; r < end; ++r)
    acc = combine<kErode>(acc, hn::LoadU(d, rows[r] + i));
  return acc;
}

template <bool kErode, int32_t kCount>
HWY_INLINE uint8_t CombinePelsAt(const uint8_t* const* rows, int32_t first, int32_t last,
                                 int32_t i) {
  const int32_t end = kCount != 0 ? first + kCount : last;
  uint8_t acc = rows[first][i];
  for (int32_t r = first + 1; r < end; ++r)
    acc = combinePel<kErode>(acc, rows[r][i]);
  return acc;
}

template <bool kErode>
void CombineManyT(const uint8_t* const* rows, int32_t count, uint8_t* out, int32_t n) {
  WithCount(count, [&](auto known) HWY_ATTR {
    constexpr int32_t kCount = decltype(known)::value;
    const D8 d;
    const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
    int32_t i = 0;
    for (; i + lanes <= n; i += lanes)
      hn::StoreU(CombineAt<kErode, kCount>(d, rows, 0, count, i), d, out + i);
    for (; i < n; ++i)
      out[i] = CombinePelsAt<kErode, kCount>(rows, 0, count, i);
  });
}

void CombineMany(const uint8_t* const* rows, int32_t count, uint8_t* out, int32_t n, bool erode) {
  if (erode)
    CombineManyT<true>(rows, count, out, n);
  else
    CombineManyT<false>(rows, count, out, n);
}

// The rows both results share are 1..count-1.
template <bool kErode>
void CombineManyTwiceT(const uint8_t* const* rows, int32_t count, uint8_t* first, uint8_t* second,
                       int32_t n, const uint8_t* aheadA, const uint8_t* aheadB) {
  WithCount(count - 1, [&](auto known) HWY_ATTR {
    constexpr int32_t kShared = decltype(known)::value;
    const D8 d;
    const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
    int32_t i = 0;
    for (; i + lanes <= n; i += lanes) {
      lcFetchAhead(aheadA, i);
      lcFetchAhead(aheadB, i);
      const V8 shared = CombineAt<kErode, kShared>(d, rows, 1, count, i);
      hn::StoreU(combine<kErode>(shared, hn::LoadU(d, rows[0] + i)), d, first + i);
      hn::StoreU(combine<kErode>(shared, hn::LoadU(d, rows[count] + i)), d, second + i);
    }
    for (; i < n; ++i) {
      const uint8_t shared = CombinePelsAt<kErode, kShared>(rows, 1, count, i);
      first[i] = combinePel<kErode>(shared, rows[0][i]);
      second[i] = combinePel<kErode>(shared, rows[count][i]);
    }
  });
}

void CombineManyTwice(const uint8_t* const* rows, int32_t count, uint8_t* first, uint8_t* second,
                      int32_t n, bool erode, const uint8_t* aheadA, const uint8_t* aheadB) {
  if (erode)
    CombineManyTwiceT<true>(rows, count, first, second, n, aheadA, aheadB);
  else
    CombineManyTwiceT<false>(rows, count, first, second, n, aheadA, aheadB);
}

// out[i] = combine of row[i + c] for c < count: the row window of count columns, with
// constant offsets when the count is known.
template <bool kErode>
void CombineShiftedT(const uint8_t* row, int32_t count, uint8_t* out, int32_t n,
                     const uint8_t* ahead) {
  WithCount(count, [&](auto known) HWY_ATTR {
    constexpr int32_t kCount = decltype(known)::value;
    const int32_t end = kCount != 0 ? kCount : count;
    const D8 d;
    const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
    int32_t i = 0;
    for (; i + lanes <= n; i += lanes) {
      lcFetchAhead(ahead, i);
      V8 acc = hn::LoadU(d, row + i);
      for (int32_t c = 1; c < end; ++c)
        acc = combine<kErode>(acc, hn::LoadU(d, row + i + c));
      hn::StoreU(acc, d, out + i);
    }
    for (; i < n; ++i) {
      uint8_t acc = row[i];
      for (int32_t c = 1; c < end; ++c)
        acc = combinePel<kErode>(acc, row[i + c]);
      out[i] = acc;
    }
  });
}

void CombineShifted(const uint8_t* row, int32_t count, uint8_t* out, int32_t n, bool erode,
                    const uint8_t* ahead) {
  if (erode)
    CombineShiftedT<true>(row, count, out, n, ahead);
  else
    CombineShiftedT<false>(row, count, out, n, ahead);
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
HWY_EXPORT(CombineManyTwice);
HWY_EXPORT(CombineShifted);

void combineShifted(const uint8_t* row, int32_t count, uint8_t* out, int32_t n, bool erode,
                    const uint8_t* ahead) {
  HWY_DYNAMIC_DISPATCH(CombineShifted)(row, count, out, n, erode, ahead);
}

void combineManyTwice(const uint8_t* const* rows, int32_t count, uint8_t* first, uint8_t* second,
                      int32_t n, bool erode, const uint8_t* aheadA, const uint8_t* aheadB) {
  HWY_DYNAMIC_DISPATCH(CombineManyTwice)(rows, count, first, second, n, erode, aheadA, aheadB);
}

void combineMany(const uint8_t* const* rows, int32_t count, uint8_t* out, int32_t n, bool erode) {
  HWY_DYNAMIC_DISPATCH(CombineMany)(rows, count, out, n, erode);
}

void combineRows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t n, bool erode,
                 const uint8_t* ahead) {
  HWY_DYNAMIC_DISPATCH(CombineRows)(a, b, out, n, erode, ahead);
}

void accumulateCell(uint8_t* acc, const uint8_t* in, const uint8_t* take, int32_t n, int32_t offset,
                    bool erode) {
  HWY_DYNAMIC_DISPATCH(AccumulateCell)(acc, in, take, n, offset, erode);
}

}  // namespace lcMorphRows
#endif
