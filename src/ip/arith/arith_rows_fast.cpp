// The arithmetic rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported functions pick the best one at run time.
// Each row runs whole vectors, then the scalar rule on the last few pixels.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/arith/arith_rows_fast.cpp"
#include <hwy/cache_control.h>
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>

#include "ip/arith/aligned_head.h"
#include "ip/arith/arith_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcArithRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// out = op(in) a vector at a time, then rule(in) for the last few pixels. Streamed
// stores go past the caches (the run then starts with the rule up to the first aligned
// vector): an output too large for them would only evict the input.
template <class T, class Op, class Rule>
HWY_INLINE void mapRun(const T* in, T* out, std::ptrdiff_t length, bool stream, const Op& op,
                       const Rule& rule) {
  const hn::ScalableTag<T> d;
  const auto lanes = static_cast<std::ptrdiff_t>(hn::Lanes(d));
  std::ptrdiff_t x = 0;
  if (stream) {
    const std::ptrdiff_t head = lcPelsBeforeAlignedVector(out, hn::Lanes(d));
    for (; x < std::min(head, length); ++x)
      out[x] = rule(in[x]);
    for (; x + lanes <= length; x += lanes)
      hn::Stream(op(d, hn::LoadU(d, in + x)), d, out + x);
  } else {
    for (; x + lanes <= length; x += lanes)
      hn::StoreU(op(d, hn::LoadU(d, in + x)), d, out + x);
  }
  for (; x < length; ++x)
    out[x] = rule(in[x]);
}

// Every row of `in` into `out`; rows that lie end to end in both are one run.
template <class T, class Op, class Rule>
HWY_INLINE void mapRows(const lcPelRows<const T>& in, const lcPelRows<T>& out, bool stream,
                        const Op& op, const Rule& rule) {
  if (in.pitch == in.width && out.pitch == out.width) {
    mapRun(in.first, out.first, std::ptrdiff_t{in.width} * in.height, stream, op, rule);
  } else {
    for (int32_t y = 0; y < in.height; ++y)
      mapRun(in[y], out[y], in.width, stream, op, rule);
  }
  if (stream) hwy::FlushStream();  // before another thread may read the rows
}

template <class T>
void addRows(const lcPelRows<const T>& in, const lcPelRows<T>& out,
             const lcAddConstantParams& params, bool stream) {
  constexpr int32_t kMax = T(~T{0});
  const int32_t c = params.constant;
  const bool wrap = params.wrap;
  const auto rule = [c, wrap](T pel) { return lcAddPel(pel, c, wrap); };
  if (wrap) {
    mapRows(
        in, out, stream,
        [c](auto d, auto v) HWY_ATTR { return hn::Add(v, hn::Set(d, static_cast<T>(c))); }, rule);
  } else if (c >= kMax || c <= -kMax) {  // every pixel lands on one end of the range
    const T end = c > 0 ? T(kMax) : T(0);
    mapRows(
        in, out, stream, [end](auto d, auto) HWY_ATTR { return hn::Set(d, end); }, rule);
  } else if (c >= 0) {
    mapRows(
        in, out, stream,
        [c](auto d, auto v) HWY_ATTR { return hn::SaturatedAdd(v, hn::Set(d, static_cast<T>(c))); },
        rule);
  } else {
    mapRows(
        in, out, stream,
        [c](auto d, auto v)
            HWY_ATTR { return hn::SaturatedSub(v, hn::Set(d, static_cast<T>(-c))); },
        rule);
  }
}

void AddRows8(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
              const lcAddConstantParams& params, bool stream) {
  addRows(in, out, params, stream);
}

void AddRows16(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out,
               const lcAddConstantParams& params, bool stream) {
  addRows(in, out, params, stream);
}

// 256 entries through byte shuffles: the low four bits of a pixel pick an entry in each
// of the sixteen 16-entry parts of the table, then bits 4 to 7 choose among the sixteen
// results by halving, so a vector costs 16 shuffles and 15 selects.
void TableMapRows8(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
                   const uint8_t* table, bool stream) {
  const auto rule = [table](uint8_t pel) { return table[pel]; };
#if HWY_TARGET == HWY_SCALAR
  mapRows(
      in, out, stream, [table](auto d, auto v) { return hn::Set(d, table[hn::GetLane(v)]); },
      rule);  // one lane
#else
  mapRows(
      in, out, stream,
      [table](auto d, auto v) HWY_ATTR {
        using V = decltype(v);
        const V low = hn::And(v, hn::Set(d, uint8_t{0x0F}));
        const auto bit4 = hn::TestBit(v, hn::Set(d, uint8_t{0x10}));
        V picked[8];
        for (int k = 0; k < 8; ++k) {
          const V even = hn::TableLookupBytes(hn::LoadDup128(d, table + 32 * k), low);
          const V odd = hn::TableLookupBytes(hn::LoadDup128(d, table + 32 * k + 16), low);
          picked[k] = hn::IfThenElse(bit4, odd, even);
        }
        for (int count = 8, bit = 0x20; count > 1; count /= 2, bit <<= 1) {
          const auto upper = hn::TestBit(v, hn::Set(d, static_cast<uint8_t>(bit)));
          for (int k = 0; k < count / 2; ++k)
            picked[k] = hn::IfThenElse(upper, picked[2 * k + 1], picked[2 * k]);
        }
        return picked[0];
      },
      rule);
#endif
}

// No SIMD target gathers 16-bit entries faster than scalar loads (a 65536-entry table
// lives in the second-level cache); four independent lookups a step keep them flowing.
void tableMapRun16(const uint16_t* in, uint16_t* out, std::ptrdiff_t length,
                   const uint16_t* table) {
  std::ptrdiff_t x = 0;
  for (; x + 4 <= length; x += 4) {
    const uint16_t a = table[in[x]], b = table[in[x + 1]], c = table[in[x + 2]],
                   e = table[in[x + 3]];
    out[x] = a;
    out[x + 1] = b;
    out[x + 2] = c;
    out[x + 3] = e;
  }
  for (; x < length; ++x)
    out[x] = table[in[x]];
}

void TableMapRows16(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out,
                    const uint16_t* table) {
  if (in.pitch == in.width && out.pitch == out.width) {
    tableMapRun16(in.first, out.first, std::ptrdiff_t{in.width} * in.height, table);
    return;
  }
  for (int32_t y = 0; y < in.height; ++y)
    tableMapRun16(in[y], out[y], in.width, table);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcArithRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcArithRows {

HWY_EXPORT(AddRows8);
HWY_EXPORT(AddRows16);
HWY_EXPORT(TableMapRows8);

void addFast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
             const lcAddConstantParams& params, bool stream) {
  HWY_DYNAMIC_DISPATCH(AddRows8)(in, out, params, stream);
}

void addFast(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out,
             const lcAddConstantParams& params, bool stream) {
  HWY_DYNAMIC_DISPATCH(AddRows16)(in, out, params, stream);
}

void tableMapFast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
                  const uint8_t* table, bool stream) {
  HWY_DYNAMIC_DISPATCH(TableMapRows8)(in, out, table, stream);
}

void tableMapFast(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out,
                  const uint16_t* table) {
  HWY_STATIC_DISPATCH(TableMapRows16)(in, out, table);
}

}  // namespace lcArithRows
#endif
