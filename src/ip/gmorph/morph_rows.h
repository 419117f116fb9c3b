#pragma once
// The rows of the grey-morphology kernels, compiled for every SIMD target Highway knows
// (morph_rows_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

namespace lcMorphRows {

// `ahead` arguments: rows a later call reads or writes, fetched as lcFetchAhead says.

// out[i] = min(a[i], b[i]) (erode) or max(a[i], b[i]) for i < n. out may be a or b.
void combineRows(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t n, bool erode,
                 const uint8_t* ahead = nullptr);

// out[i] = the minimum (erode) or maximum of rows[r][i] over r < count (count >= 1), in
// one pass: count - 1 vector steps a vector of results. out may be one of the rows.
void combineMany(const uint8_t* const* rows, int32_t count, uint8_t* out, int32_t n, bool erode);

// combineMany of rows[0..count-1] into first and of rows[1..count] into second (count + 1
// rows), sharing the count - 1 rows the two have in common: two results for count + 1
// loads a vector. Fetches aheadA[i] and aheadB[i] alongside.
void combineManyTwice(const uint8_t* const* rows, int32_t count, uint8_t* first, uint8_t* second,
                      int32_t n, bool erode, const uint8_t* aheadA = nullptr,
                      const uint8_t* aheadB = nullptr);

// out[i] = the minimum (erode) or maximum of row[i + c] over c < count (count >= 1).
void combineShifted(const uint8_t* row, int32_t count, uint8_t* out, int32_t n, bool erode,
                    const uint8_t* ahead = nullptr);

// One cell of a weighted element over a row: with v = in[i] - offset (erode) or
// in[i] + offset, clamped to 0..255, acc[i] = min(acc[i], v) (erode) or max(acc[i], v),
// for the pixels whose take[i] is non-zero (all of them when take is null).
void accumulateCell(uint8_t* acc, const uint8_t* in, const uint8_t* take, int32_t n, int32_t offset,
                    bool erode);

// The scalar rule of accumulateCell for one pixel.
inline uint8_t cellTerm(uint8_t pel, int32_t offset, bool erode) {
  const int32_t v = erode ? pel - offset : pel + offset;
  return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace lcMorphRows
