#pragma once
// Sub-sampling by whole factors fx x fy (each at least 1).
//
// The buffer-coordinate grid is cut into blocks of fx x fy pixels. Output pixel (i, j)
// (buffer coordinates) belongs to the block whose first pixel is (i fx, j fy) and picks
// its most central pixel, (i fx + (fx - 1) / 2, j fy + (fy - 1) / 2): the upper-left one
// of the central four for even factors. The output window holds exactly the output
// pixels whose picked pixel lies in the source window, so a window whose size is no
// multiple of the factor keeps its edge blocks when their picked pixels lie inside.
//
// With averaging, an output pixel is the mean of its block's pixels that lie in the
// source window (all of them, away from the window's edges), rounded half up.
//
// Placement: source x = fx * x - (fx even ? 1/2 : 0), and likewise in y. It puts each
// output pixel over its picked pixel, which for an even factor lies half a source pixel
// up and left of the block's centre.

#include <cstdint>

#include "ip/sampling/sampling_place.h"
#include "std/pelbuf/pel_buffer.h"

struct lcSubSampleParams {
  int32_t factorX = 1;
  int32_t factorY = 1;
  bool average = false;
};

// lcPelFunc::BadParams for a factor below 1.
lcSamplingPlacement lcSubSamplePlace(const lcSubSampleParams& params, const lcPelRect& source);

// An unbound dst is allocated at the placement's window with the derived transform; a
// bound one must cover it (lcPel::BadWindow), keeps its transform and must not share
// pixels with src (lcPelFunc::Overlap). A window holding no picked pixel leaves an
// unbound dst unbound. lcPel::UnboundWindow for an unbound src. Kernels
// "cip_subSample_8" and "cip_subSample_16".
void lcSubSample(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                 const lcSubSampleParams& params);
void lcSubSample(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                 const lcSubSampleParams& params);
