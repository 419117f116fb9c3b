#pragma once
// The rows of the sampling kernels, compiled for every SIMD target Highway knows
// (sampling_rows_fast.cpp); each call runs the best target of this processor.

#include <cstdint>

namespace lcSamplingRows {

// `count` outputs, each the mean of a 2 x 2 block rounded half up: block k is columns
// 2k and 2k + 1 of rows a and b.
void average2x2Fast(const uint8_t* a, const uint8_t* b, uint8_t* out, int32_t count);
void average2x2Fast(const uint16_t* a, const uint16_t* b, uint16_t* out, int32_t count);

// out[k] = in[2k] for `count` outputs.
void pickEvenFast(const uint8_t* in, uint8_t* out, int32_t count);
void pickEvenFast(const uint16_t* in, uint16_t* out, int32_t count);

// out[2k] = out[2k + 1] = in[k] for `count` inputs.
void doubleFast(const uint8_t* in, uint8_t* out, int32_t count);
void doubleFast(const uint16_t* in, uint16_t* out, int32_t count);

// column[x] = sum of weights[r] * rows[r][x] over `count` rows, for `width` columns; the
// sums must fit 16 bits. Fetches aheadA and aheadB (rows of a later call, or null) as
// lcFetchAhead says.
void verticalBellFast(const uint8_t* const* rows, const uint16_t* weights, int32_t count,
                      uint16_t* column, int32_t width, const uint8_t* aheadA = nullptr,
                      const uint8_t* aheadB = nullptr);

// How a smoothed sum h becomes a pixel: min(floor((min(h, hMax) * mul + add) / div), 255),
// where hMax gives 255 already and hMax * mul + add stays below 2^31.
// `narrow`: the columns and the weights lie below 2^15.
struct BellFinish {
  uint32_t hMax;
  int32_t mul, add, div;
  bool narrow;
};

// out[a] = finish(sum of weights[c] * column[rate * a + c] over `taps` weights) for rate
// 1 or 2, the sums below 2^32; column is readable one element beyond the last tap. Fills
// whole vectors from the start and returns how many outputs it wrote (none on a target
// without vectors); the caller finishes the rest.
int32_t horizontalBellFast(const uint16_t* column, int32_t rate, const uint32_t* weights,
                           int32_t taps, const BellFinish& finish, uint8_t* out, int32_t count);

}  // namespace lcSamplingRows
