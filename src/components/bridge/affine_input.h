#pragma once
// Affine rectangle regions on input buffers: the sampling parameters that straighten a
// region into an upright image, shared by the affine transform and by every operator's
// region mode 2.
//
// Every function throws lcCOMError or a core exception; call inside a call boundary.

#include "components/framework/export.h"
#include "ip/affine/affine_sampling.h"
#include "lumxip/HalvexCore.h"
#include "std/pelbuf/pel_3plane.h"

// How a region is straightened: output pixels per input pixel along each side, and the
// sampler mode.
struct lcAffineRequest {
  double scalingX = 1.0;
  double scalingY = 1.0;
  int32_t mode = lcAffineSamplingParams::kBilinearAccurate;
};

// The region (none: the whole window of `buffer`, which views all of `image`) mapped into
// pixel space, as an affine rectangle there. A region that is no affine rectangle gives
// 0x8004E402 with message 0x8004E301.
LUM_FRAMEWORK_API lcAffineRectangle lcAffineRegionInPixels(ILumImage* image, ILumRegion* region,
                                                           const lcPelFrame& buffer);

// Sampling parameters for `pixelRect` (pixel space of `buffer`): the output is its side
// lengths times the scalings, rounded half away from zero (ZeroSize below 1; OverSize
// above 32767 unless the mode is bilinear accurate), over the rectangle rebuilt about the
// same centre with sides that are whole multiples of the output step, in client space.
LUM_FRAMEWORK_API lcAffineSamplingParams lcAffineParamsFor(const lcAffineRectangle& pixelRect,
                                                           const lcPelFrame& buffer,
                                                           const lcAffineRequest& request);

// Samples every plane with the same parameters; the mask (when asked for) comes from
// plane 0. Returns whether any sample was clipped.
LUM_FRAMEWORK_API bool lcAffineSample24(const lc3PlanePelBuffer& src, lc3PlanePelBuffer& dst,
                                        const lcAffineSamplingParams& params,
                                        lcPelBuffer<uint8_t>* mask);
