#pragma once
// The 3 x 3 convolution of 8-bit pixels with nine real weights made integers.
//
// Preparation: with P the sum of the positive weights, N that of the magnitudes of the
// negative ones and M = max(P, N), the shift s is 0 when M <= 0 or M >= 32767, else 0
// when q = 32767 / M <= 2, else the largest s >= 1 with 2^s < q. Each integer weight is
// k * 2^s rounded half away from zero, kept as signed 16 bits (its low 16 bits, should
// it not fit). The origin position p (0 to 8, row-major from north-west) becomes the
// offset (p mod 3 - 1, p div 3 - 1) from the centre.
//
// Filtering a w x h window (both at least 3) gives (w - 2) x (h - 2) pixels. Result
// pixel (x, y), counted from the window's first pixel, comes from the 3 x 3 block whose
// first pixel is input (x, y): the 32-bit sum over the block of K(c, r) * in(2 - c,
// 2 - r) (the weights turned by 180 degrees: the north-west weight meets the block's
// south-east pixel), shifted right arithmetically by s (by 31 at most, which is what a
// larger shift of a 32-bit sum gives). The result lies at the input offset plus
// (1 + dx, 1 + dy), so with the centre origin each result sits on its block's centre.
// The 16-bit result is the low 16 bits of the shifted sum, the 8-bit one its low 8 bits.

#include <array>
#include <cstdint>

#include "ip/conv/conv_errors.h"
#include "std/pelbuf/pel_buffer.h"

struct lcConvolve3x3Params {
  std::array<int16_t, 9> weights{};  // integer weights, row-major from north-west
  int32_t shift = 0;                 // 0 to 31
  int32_t originX = 0;               // dx, -1 to 1
  int32_t originY = 0;               // dy, -1 to 1
};

// lcConvolveParams::BadArgument for an origin outside 0 to 8 or a weight that is not a
// finite number.
lcConvolve3x3Params lcPrepareConvolve3x3(const std::array<double, 9>& weights, int32_t origin);

// An unbound dst is allocated at the result's place with src's transform; a bound one
// must cover it (lcPel::BadWindow) and must not share pixels with src
// (lcPelFunc::Overlap). lcConvolveParams::BadArgument for a window below 3 x 3,
// lcPel::UnboundWindow for an unbound src. Kernels "cip_convolve3x3_16s" and
// "cip_convolve3x3_8".
void lcConvolve3x3(const lcPelBuffer<uint8_t>& src, lcPelBuffer<int16_t>& dst,
                   const lcConvolve3x3Params& params);
void lcConvolve3x3(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcConvolve3x3Params& params);
