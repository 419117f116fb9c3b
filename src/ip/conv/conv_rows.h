#pragma once
// The rows of the convolution kernels, compiled for every SIMD target Highway knows
// (conv_rows_fast.cpp); each call runs the best target of this processor. The scalar
// rules here are what the portable twins apply and what the fast rows apply to rows too
// narrow for a vector.

#include <cstdint>

#include "ip/conv/convolve3x3.h"
#include "std/pelbuf/pel_buffer.h"

namespace lcConvRows {

// The 3 x 3 sum for result (x, y): rows y to y + 2 of `in`, columns x to x + 2.
inline int32_t convolve3x3Sum(const lcPelRows<const uint8_t>& in, int32_t x, int32_t y,
                              const lcConvolve3x3Params& params) {
  int32_t sum = 0;
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 3; ++c)
      sum += params.weights[static_cast<std::size_t>(8 - 3 * r - c)] * in[y + r][x + c];
  return sum;
}

// Results of rows begin to end of the 3 x 3 filter: low 16 or low 8 bits.
void convolve3x3Fast(const lcPelRows<const uint8_t>& in, const lcPelRows<int16_t>& out,
                     int32_t begin, int32_t end, const lcConvolve3x3Params& params);
void convolve3x3Fast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
                     int32_t begin, int32_t end, const lcConvolve3x3Params& params);

// Two 16-bit weights in one word, first in the low half: what a pair of 16-bit lanes
// multiplies by.
constexpr uint32_t weightPair(int16_t first, int16_t second) {
  return uint32_t{static_cast<uint16_t>(first)} | uint32_t{static_cast<uint16_t>(second)} << 16;
}

// What one N x M row needs: the weights turned by 180 degrees (row-major, so rotated[0]
// meets the neighbourhood's first pixel), the same as pairs (per kernel row: columns 0
// and 1, 2 and 3, ..., then the last column with 0 and 0 with the last column), the
// divisor and the sign flag.
struct NxMRowPlan {
  int32_t kernelWidth = 1;
  int32_t kernelHeight = 1;
  const int16_t* rotated = nullptr;
  const uint32_t* pairs = nullptr;
  int32_t divisor = 1;
  int32_t signFlag = 0;
};

// sum / divisor rounded half away from zero.
inline int32_t divideRounded(int64_t sum, int64_t divisor) {
  const int64_t quotient = ((sum < 0 ? -sum : sum) + divisor / 2) / divisor;
  return static_cast<int32_t>(sum < 0 ? -quotient : quotient);
}

// `width` results of one N x M row from kernelHeight rows of 16-bit pixels, each
// holding width + kernelWidth - 1 pixels: the 16-bit result, or the low 8 bits of it
// shifted right by the sign flag. The divisor must be below 2^31 / 256.
void convolveNxMFast(const int16_t* const* rows, int16_t* out, int32_t width,
                     const NxMRowPlan& plan);
void convolveNxMFast(const int16_t* const* rows, uint8_t* out, int32_t width,
                     const NxMRowPlan& plan);

}  // namespace lcConvRows
