// The re-orienting rows for every SIMD target: this file is compiled once per target by
// Highway's foreach_target, and the exported functions pick the best one at run time.
//
// Mirrored rows are reversed a vector at a time. The transposing operations move square
// tiles of one 128-bit vector a row (16 x 16 bytes, 8 x 8 16-bit pixels) through the
// register file: rounds of interleaving the rows pairwise at growing lane widths turn
// the tile's rows into its columns. The tiles are walked in blocks of 64 x 64 output
// pixels, so that the source lines a block reads stay in the first-level cache until
// every byte of them has been used.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/orient/orient_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ip/orient/orient_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcOrientRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

constexpr int32_t kBlock = 64;

// Output rows rowBegin to rowEnd, columns columnBegin to columnEnd, in blocks of scalars.
template <class T>
void scalarBlocks(const lcPelRows<const T>& in, const lcPelRows<T>& out, int32_t rowBegin,
                  int32_t rowEnd, int32_t columnBegin, int32_t columnEnd, const Plan& plan) {
  for (int32_t jBlock = rowBegin; jBlock < rowEnd; jBlock += kBlock)
    for (int32_t iBlock = columnBegin; iBlock < columnEnd; iBlock += kBlock)
      for (int32_t j = jBlock; j < std::min(jBlock + kBlock, rowEnd); ++j)
        for (int32_t i = iBlock; i < std::min(iBlock + kBlock, columnEnd); ++i)
          out[j][i] = sourcePel(in, i, j, plan);
}

#if HWY_TARGET == HWY_SCALAR

template <class T>
void mirroredRow(const T* in, T* out, int32_t width) {
  for (int32_t x = 0; x < width; ++x)
    out[x] = in[width - 1 - x];
}

template <class T>
void transposedRows(const lcPelRows<const T>& in, const lcPelRows<T>& out, int32_t begin,
                    int32_t end, const Plan& plan) {
  scalarBlocks(in, out, begin, end, 0, out.width, plan);
}

#else

// The lanes of v in reverse order.
template <class D>
HWY_INLINE hn::Vec<D> reversed(D d, hn::Vec<D> v) {
  if constexpr (sizeof(hn::TFromD<D>) == 1) {
    // Highway 1.0 reverses no 8-bit lanes: bytes within each block, then the blocks.
    alignas(64) static constexpr uint8_t kReverse[64] = {
        15, 14, 13, 12, 11, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1,  0,  15, 14, 13, 12, 11, 10,
        9,  8,  7,  6,  5,  4,  3,  2,  1,  0,  15, 14, 13, 12, 11, 10, 9,  8,  7,  6,  5,  4,
        3,  2,  1,  0,  15, 14, 13, 12, 11, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1,  0};
    return hn::ReverseBlocks(d, hn::TableLookupBytes(v, hn::Load(d, kReverse)));
  } else {
    return hn::Reverse(d, v);
  }
}

template <class T>
void mirroredRow(const T* in, T* out, int32_t width) {
  const hn::ScalableTag<T> d;
  const int32_t lanes = static_cast<int32_t>(hn::Lanes(d));
  int32_t x = 0;
  for (; x + lanes <= width; x += lanes)
    hn::StoreU(reversed(d, hn::LoadU(d, in + width - x - lanes)), d, out + x);
  for (; x < width; ++x)
    out[x] = in[width - 1 - x];
}

using V8 = hn::Vec<hn::Full128<uint8_t> >;

// One round of the tile transpose at lane type W: rows 2k and 2k + 1 interleaved give
// rows k (lower halves) and k + n/2 (upper halves).
template <class W, size_t n>
HWY_INLINE void interleaveRound(V8 (&rows)[n]) {
  const hn::Full128<uint8_t> d8;
  const hn::Full128<W> dw;
  V8 next[n];
  for (size_t k = 0; k < n / 2; ++k) {
    const auto a = hn::BitCast(dw, rows[2 * k]), b = hn::BitCast(dw, rows[2 * k + 1]);
    next[k] = hn::BitCast(d8, hn::InterleaveLower(dw, a, b));
    next[k + n / 2] = hn::BitCast(d8, hn::InterleaveUpper(dw, a, b));
  }
  for (size_t k = 0; k < n; ++k)
    rows[k] = next[k];
}

// After the rounds, vector k holds the column whose index is k with its bits reversed.
constexpr int32_t bitReversed(size_t k, size_t n) {
  size_t r = 0;
  for (size_t bit = 1; bit < n; bit <<= 1, k >>= 1)
    r = (r << 1) | (k & 1);
  return static_cast<int32_t>(r);
}

// The n x n tile whose output rows start at jb and columns at ib.
template <class T>
HWY_INLINE void tile(const lcPelRows<const T>& in, const lcPelRows<T>& out, int32_t jb, int32_t ib,
                     const Plan& plan) {
  constexpr size_t n = 16 / sizeof(T);
  const hn::Full128<uint8_t> d8;
  const int32_t column = plan.reverseX ? in.width - jb - int32_t(n) : jb;
  V8 rows[n];
  for (size_t k = 0; k < n; ++k) {
    const int32_t i = ib + int32_t(k);
    const int32_t y = plan.reverseY ? in.height - 1 - i : i;
    rows[k] = hn::LoadU(d8, reinterpret_cast<const uint8_t*>(in[y] + column));
  }
  if constexpr (sizeof(T) == 1) interleaveRound<uint8_t>(rows);
  interleaveRound<uint16_t>(rows);
  interleaveRound<uint32_t>(rows);
  interleaveRound<uint64_t>(rows);
  for (size_t k = 0; k < n; ++k) {
    const int32_t m = bitReversed(k, n);  // the tile's source column
    const int32_t j = plan.reverseX ? jb + int32_t(n) - 1 - m : jb + m;
    hn::StoreU(rows[k], d8, reinterpret_cast<uint8_t*>(out[j] + ib));
  }
}

template <class T>
void transposedRows(const lcPelRows<const T>& in, const lcPelRows<T>& out, int32_t begin,
                    int32_t end, const Plan& plan) {
  constexpr int32_t n = 16 / sizeof(T);
  const int32_t rowsEnd = begin + (end - begin) / n * n;
  const int32_t columnsEnd = out.width / n * n;
  for (int32_t jBlock = begin; jBlock < rowsEnd; jBlock += kBlock) {
    const int32_t jBlockEnd = std::min(jBlock + kBlock, rowsEnd);
    for (int32_t iBlock = 0; iBlock < columnsEnd; iBlock += kBlock) {
      const int32_t iBlockEnd = std::min(iBlock + kBlock, columnsEnd);
      for (int32_t jb = jBlock; jb < jBlockEnd; jb += n)
        for (int32_t ib = iBlock; ib < iBlockEnd; ib += n)
          tile(in, out, jb, ib, plan);
    }
  }
  scalarBlocks(in, out, begin, rowsEnd, columnsEnd, out.width, plan);
  scalarBlocks(in, out, rowsEnd, end, 0, out.width, plan);
}

#endif

template <class T>
void orient(const lcPelRows<const T>& in, const lcPelRows<T>& out, int32_t begin, int32_t end,
            const Plan& plan) {
  if (plan.transpose) return transposedRows(in, out, begin, end, plan);
  for (int32_t j = begin; j < end; ++j) {
    const T* source = in[plan.reverseY ? in.height - 1 - j : j];
    if (plan.reverseX)
      mirroredRow(source, out[j], out.width);
    else
      std::memcpy(out[j], source, sizeof(T) * std::size_t(out.width));
  }
}

void Orient8(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
             int32_t end, const Plan& plan) {
  orient(in, out, begin, end, plan);
}

void Orient16(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out, int32_t begin,
              int32_t end, const Plan& plan) {
  orient(in, out, begin, end, plan);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcOrientRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcOrientRows {

HWY_EXPORT(Orient8);
HWY_EXPORT(Orient16);

void orientFast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                int32_t end, const Plan& plan) {
  HWY_DYNAMIC_DISPATCH(Orient8)(in, out, begin, end, plan);
}

void orientFast(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out, int32_t begin,
                int32_t end, const Plan& plan) {
  HWY_DYNAMIC_DISPATCH(Orient16)(in, out, begin, end, plan);
}

}  // namespace lcOrientRows
#endif
