#pragma once
// Hysteresis thresholding of a magnitude image: a pixel survives when it is at least the
// high threshold, or at least the low one and 8-connected through such pixels to one at
// least the high one. Survivors become the survivor value, everything else the
// non-survivor value.
//
// The growth from the strong pixels runs on an explicit stack of pixel positions, so a
// single connected edge of any length needs no recursion; each pixel is pushed at most
// once, so the stack never holds more entries than there are candidate pixels.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

struct lcHysteresisParams {
  int32_t low = 10;   // 0..255
  int32_t high = 20;  // 0..255; values from high up survive even below low
  uint8_t survivor = 255;
  uint8_t nonSurvivor = 0;
};

struct lcHysteresisStats {
  int64_t survivors = 0;
  std::size_t deepestStack = 0;  // most positions the growth held at once
};

// Writes the source window into `dst`: an unbound dst is allocated there with the
// source's transform, a bound one must cover it (lcPel::BadWindow). Thresholds outside
// 0..255 are lcPelFunc::BadParams; lcPel::UnboundWindow for an unbound source. dst may be
// the source itself (in place).
lcHysteresisStats lcHysteresisThreshold(const lcPelBuffer<uint8_t>& magnitude,
                                        lcPelBuffer<uint8_t>& dst,
                                        const lcHysteresisParams& params);
