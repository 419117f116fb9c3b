#pragma once
// Separable convolution with one-dimensional integer kernels, sampled at real rates.
//
// Output pixel i (buffer coordinates) covers source columns [i r, (i + 1) r) for the
// rate r, so it lies over the same client area at 1 / r times the pixel scale; its
// sample point is the centre of that span, source column u = (i + 1/2) r - 1/2 in pixel
// indexes, rounded to 1/256 of a pixel. Between the two source columns around u the
// convolved values are interpolated linearly (rate 1 samples the source pixels
// themselves). Likewise in y. The output window holds the pixels whose span's centre
// lies in the source window; the kernels and the interpolation reach beyond it into the
// window mirrored about its edge pixels (... 2 1 | 0 1 2 ...), again and again.
//
// Kernels have odd sizes n and weights -128 to 128; as a convolution turns its kernel,
// weight k falls on the pixel n / 2 - k after the sampled one, so the centre weight lies
// over the sample.
// Integers throughout: with H the exact sum of weights, interpolation weights (in
// 256ths) and pixels, and D the larger of a kernel's positive and negative weight sums,
// the result is H / (256 Dx 256 Dy) rounded half away from zero, clamped to the pixel
// range (negative results give 0). An all-zero kernel has no scale: BadParams.

#include <cstdint>
#include <vector>

#include "std/except/exception.h"
#include "std/math/xform_linear.h"
#include "std/pelbuf/pel_buffer.h"

namespace lcSampleConvolveDefs {
LC_ERROR_GROUP();
LC_ERROR(lcSampleConvolveDefs, BadParams, 0x10002400);
LC_ERROR(lcSampleConvolveDefs, NotImplemented, 0x10002401);
}  // namespace lcSampleConvolveDefs

inline constexpr int32_t lcMaxSampleKernelSize = 127;
inline constexpr int32_t lcMaxSampleKernelWeight = 128;

struct lcSampleConvolveParams {
  std::vector<int32_t> kernelX{1};
  std::vector<int32_t> kernelY{1};
  double sampleX = 1.0;
  double sampleY = 1.0;
};

// BadParams unless both kernels have odd sizes 1 to 127, weights -128 to 128 and a
// non-zero weight, and both rates are finite and positive.
void lcCheckSampleConvolveParams(const lcSampleConvolveParams& params);

struct lcSampleConvolvePlacement {
  lc2XformLinear sourceFromDestination;  // x' = rx x, y' = ry y
  lcPelRect destination;                 // empty when no span centre lies in the source
};

// BadParams as lcCheckSampleConvolveParams; lcPelFunc::Range when the output window
// leaves the 32-bit range.
lcSampleConvolvePlacement lcSampleConvolvePlace(const lcSampleConvolveParams& params,
                                                const lcPelRect& source);

// An unbound dst is allocated at the placement's window with the derived transform (and
// stays unbound when that is empty); a bound one must cover it (lcPel::BadWindow), keeps
// its transform and must not share pixels with src (lcPelFunc::Overlap).
// lcPel::UnboundWindow for an unbound src. Kernels "cip_sampleConvolve_8", "_16".
void lcSampleConvolve(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                      const lcSampleConvolveParams& params);
void lcSampleConvolve(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                      const lcSampleConvolveParams& params);
