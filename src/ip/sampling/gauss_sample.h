#pragma once
// Gaussian sampling of 8-bit pixels: smoothing by an approximate Gaussian, sub-sampling
// by whole rates, and scaling by a power of two.
//
// The smoothing in each direction is three boxes of w = s + 1 pixels one after the other
// (s the smoothness): a bell of 3s + 1 integer weights adding up to w^3 whose variance
// is exactly s (s + 2) / 4, so its standard deviation is 1/2 * sqrt(s * (s + 2)). Its
// centre is the sampled pixel for even s; for odd s the bell has an even number of
// weights and its centre lies half a pixel up (left). s = 0 is no smoothing. Pixels
// beyond the source window are the window mirrored about its edge pixels (... 2 1 | 0 1
// 2 ...), again and again for a bell wider than the window.
//
// Sampling picks the pixels, and places the output, as lcSubSample picks without
// averaging (subsample.h): output pixel (i, j) is the smoothed pixel (i rx + (rx - 1) / 2,
// j ry + (ry - 1) / 2), for the output pixels whose picked pixel lies in the window.
//
// Integers throughout: with H the exact weighted sum at the picked pixel, N = (wx wy)^3
// and the scale factor 2^k, the result is H 2^k / N rounded half up, then saturated to
// 255 (or, without saturation, its low 8 bits).

#include <cstdint>

#include "ip/sampling/sampling_place.h"
#include "std/except/exception.h"
#include "std/pelbuf/pel_buffer.h"

class lcGaussSampleParams {
 public:
  LC_ERROR_GROUP();
  LC_ERROR(lcGaussSampleParams, BadParams, 0x10002370);

  // Rates at least 1, smoothness 0 to 255, a scale factor 2^k with k from -16 to 16;
  // BadParams otherwise. `saturate`: results above 255 become 255, else keep their low
  // 8 bits.
  lcGaussSampleParams(int32_t sampleX = 1, int32_t sampleY = 1, int32_t smoothnessX = 2,
                      int32_t smoothnessY = 2, double scaleFactor = 1.0, bool saturate = true);

  int32_t sampleX() const { return sampleX_; }
  int32_t sampleY() const { return sampleY_; }
  int32_t smoothnessX() const { return smoothnessX_; }
  int32_t smoothnessY() const { return smoothnessY_; }
  int32_t scaleShift() const { return scaleShift_; }  // k of the factor 2^k
  bool saturates() const { return saturate_; }

 private:
  int32_t sampleX_, sampleY_, smoothnessX_, smoothnessY_, scaleShift_;
  bool saturate_;
};

// The standard deviation of the smoothing for a smoothness: 1/2 * sqrt(s * (s + 2)).
double lcGaussSigma(int32_t smoothness);

lcSamplingPlacement lcGaussSamplePlace(const lcGaussSampleParams& params, const lcPelRect& source);

// Destination rules as lcSubSample's. Kernel "cip_gaussSample_8".
void lcGaussSample(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcGaussSampleParams& params);
