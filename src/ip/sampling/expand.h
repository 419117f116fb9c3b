#pragma once
// Expansion by whole factors ex x ey (each at least 1): every source pixel becomes a
// block of ex x ey equal pixels. Source pixel (x, y) (buffer coordinates) fills the
// output pixels (x ex .. x ex + ex - 1, y ey .. y ey + ey - 1), so the output's window
// is the source's scaled by the factors, offset included, and source x = x / ex.

#include <cstdint>

#include "ip/sampling/sampling_place.h"
#include "std/pelbuf/pel_buffer.h"

struct lcExpandParams {
  int32_t factorX = 1;
  int32_t factorY = 1;
};

// lcPelFunc::BadParams for a factor below 1; lcPelFunc::Range when the output window
// would leave the 32-bit range.
lcSamplingPlacement lcExpandPlace(const lcExpandParams& params, const lcPelRect& source);

// Destination rules as lcSubSample's. Kernels "cip_expand_8" and "cip_expand_16".
void lcExpand(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
              const lcExpandParams& params);
void lcExpand(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
              const lcExpandParams& params);
