#pragma once
// Whole-pixel peak detection: thins a magnitude image along the gradient direction its
// angle image gives, keeping only the pixels that are a maximum across the edge.
//
// Each pixel of the inner window (one pixel less on every side) with magnitude m:
//   m below the threshold: 0;
//   otherwise with sector s = ((angle + 16) >> 5) mod 8 (eight 45 degree sectors
//   centred on 0, 45, ...), `behind` the neighbour against the gradient and `ahead` the
//   one along it (s = 0: (x-1, y) and (x+1, y); s = 1: (x-1, y-1) and (x+1, y+1); s = 2:
//   (x, y-1) and (x, y+1); s = 3: (x+1, y-1) and (x-1, y+1); s = 4..7 the same turned
//   half round): m when m > M(behind) and m >= M(ahead), else 0.
// The strict and non-strict comparisons keep exactly one pixel of a flat-topped ridge
// two pixels wide.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

// Writes the inner window of `magnitude` into `dst` and returns the number of peaks. An
// unbound dst is allocated there with the magnitude's transform; a bound one must cover it
// (lcPel::BadWindow). A window below 3 x 3 gives no pixels (dst unbound, or unchanged
// when bound). The angle image must have the magnitude's buffer rectangle
// (lcPel::BadWindow); lcPel::UnboundWindow for an unbound input; lcPelFunc::Overlap when
// dst shares pixels with the magnitude.
int64_t lcPeakDetect(const lcPelBuffer<uint8_t>& magnitude, const lcPelBuffer<uint8_t>& angle,
                     lcPelBuffer<uint8_t>& dst, int32_t threshold);
