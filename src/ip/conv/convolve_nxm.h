#pragma once
// The N x M convolution of 8-bit pixels with a kernel of real values (N and M odd).
//
// Preparation: with max and min over the values, a kernel of zeros throws
// lcConvolveParams::ZeroKernel; the sign flag is 1 when max > 0 and min < 0, else 0;
// with M = max(max, |min|) each 16-bit weight is value * 32767 / M rounded half away
// from zero.
//
// Filtering (our rule): the weights are applied turned by 180 degrees, as the 3 x 3
// filter applies them: the weight at kernel column c, row r meets the pixel (hx - c,
// hy - r) from the result's own, with hx = (N - 1) / 2 and hy = (M - 1) / 2. The result
// is the exact integer sum S of weight * pixel divided by D, the larger of the sums of
// the positive weights and of the magnitudes of the negative ones, rounded half away
// from zero. An all-positive kernel thus gives a weighted mean (0 to 255), a kernel of
// both signs a value from -255 to 255. The 16-bit output is that result; the 8-bit
// output is the low 8 bits of result >> sign flag (arithmetic shift).
//
// Boundary modes:
// - clipped: results only where the kernel lies inside the input: (w - N + 1) x
//   (h - M + 1) pixels at the input offset plus (hx, hy), each on the pixel its kernel
//   is centred on; an input smaller than the kernel throws lcConvolveParams::BadArgument.
// - reflected: a result for every input pixel, in its place; pixels beyond the edges are
//   the input mirrored about its edge pixels (... 2 1 | 0 1 2 ...), again and again for
//   a kernel larger than the input.

#include <cstdint>
#include <vector>

#include "ip/conv/conv_errors.h"
#include "std/pelbuf/pel_buffer.h"

enum class lcBoundaryMode : int32_t { Clipped = 0, Reflected = 2 };

struct lcConvolveNxMKernel {
  int32_t width = 0;             // N
  int32_t height = 0;            // M
  std::vector<int16_t> weights;  // row-major, N * M
  int32_t signFlag = 0;
};

struct lcConvolveNxMParams {
  lcConvolveNxMKernel kernel;
  lcBoundaryMode boundary = lcBoundaryMode::Reflected;
};

// The kernel is the window of `values`. lcConvolveParams::BadArgument for an unbound
// buffer, an even size or a value that is not a finite number;
// lcConvolveParams::ZeroKernel when every value is 0.
lcConvolveNxMKernel lcPrepareConvolveNxM(const lcPelBuffer<double>& values);

// An unbound dst is allocated at the result's place with src's transform; a bound one
// must cover it (lcPel::BadWindow) and must not share pixels with src
// (lcPelFunc::Overlap). lcConvolveParams::BadArgument for a kernel that was not prepared
// (even or empty sizes, too few weights). Kernels "cip_convolveNxM_16s" and
// "cip_convolveNxM_8".
void lcConvolveNxM(const lcPelBuffer<uint8_t>& src, lcPelBuffer<int16_t>& dst,
                   const lcConvolveNxMParams& params);
void lcConvolveNxM(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcConvolveNxMParams& params);
