#pragma once
// The high-pass filter of 8-bit pixels: out = clamp(in - g + 128, 0, 255), g the input
// smoothed by an approximate Gaussian of standard deviation 1/2 * sqrt(s * (s + 2))
// across (s = smoothnessX) and likewise down.
//
// The smoothing (our rule): three boxes of w = s + 1 pixels one after the other in each
// direction. A box of w pixels has variance (w^2 - 1) / 12, so three have exactly
// s (s + 2) / 4, and their sum is a bell of 3s + 1 integer weights adding up to w^3,
// close to the Gaussian, worked out with running sums at a cost that does not grow with
// s. Its centre is the output pixel for even s; for odd s the bell has an even number of
// weights and its centre lies half a pixel up (left). s = 0 is no smoothing in that
// direction. Pixels beyond the edges are the input mirrored about its edge pixels
// (... 2 1 | 0 1 2 ...), again and again for a bell wider than the image.
//
// Integers throughout: with T = (wx * wy)^3 the sum of the 2-D weights and H the exact
// weighted sum, g = floor((H + floor(T / 2)) / T), the weighted mean rounded half up.
// The output has the input's window and offset.

#include <cstdint>

#include "ip/conv/conv_errors.h"
#include "std/pelbuf/pel_buffer.h"

struct lcHighPassParams {
  int32_t smoothnessX = 2;  // not negative
  int32_t smoothnessY = 2;
};

// The standard deviation of the smoothing for a smoothness: 1/2 * sqrt(s * (s + 2)).
double lcHighPassSigma(int32_t smoothness);

// An unbound dst is allocated like src; a bound one must cover src's window
// (lcPel::BadWindow) and must not share pixels with it (lcPelFunc::Overlap).
// lcConvolveParams::BadArgument for a negative smoothness, lcPel::UnboundWindow for an
// unbound src. Kernel "cip_highPass_8".
void lcHighPass(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                const lcHighPassParams& params);
