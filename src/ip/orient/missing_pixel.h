#pragma once
// Filling the missing pixels of a 16-bit range buffer (mask value 0) from valid ones.
//
// A missing pixel's neighbours in a direction are the nearest valid pixels before and
// after it in its row (horizontal) or column (vertical) within the window; a direction
// gives a value only when both exist:
//   interpolation  (vb da + va db) / (db + da) rounded half up, db and da the distances
//                  to the neighbour before (value vb) and after (va): the straight line
//                  between them;
//   minimum, maximum  of the two.
// With both directions, two values are combined by the same rule (interpolation: their
// mean rounded half up); one value is used as it is. A pixel no direction gives a value
// for, and every missing pixel with the global computation, takes the global value:
//   fixed  the given value, which must lie in the buffer's value range whatever the mode;
//   image minimum, maximum, average (rounded half up) of the window's valid pixels, or
//   the fixed value when none is valid.
// The result has the source's window, offset, transform and value range; every pixel of
// it is valid. Valid pixels keep their values.

#include <cstdint>

#include "std/pelbuf/pel_range16.h"

// What the kernel reports; the caller turns a failure into its own error.
enum class lcMissingPixelStatus : int32_t {
  Ok = 0,
  InvalidDirection,
  InvalidValueComputation,
  InvalidGlobalValueMode,
  InvalidSmoothing,
  FixedGlobalValueOutsideDstRange,
  BoundDestRangeImage,
  InvalidArgument,
};

struct lcMissingPixelParams {
  int32_t direction = 1;        // 1 row, 2 column, 3 both
  int32_t computation = 1;      // 1 interpolation, 2 minimum, 3 maximum, 4 global
  int32_t globalValueMode = 1;  // 1 fixed, 2 image minimum, 3 image maximum, 4 image average
  int32_t fixedGlobalValue = 1;
  // Smoothing passes over the filled pixels (only 0, none, is known), then three
  // reserved values that must be 1.
  int32_t extra[4] = {0, 1, 1, 1};
};

// dst must be unbound (BoundDestRangeImage); an unbound src is InvalidArgument. Kernel
// "cip_missingPixel_16".
lcMissingPixelStatus lcFillMissingPixels(const lcPelBufferRange16& src, lcPelBufferRange16& dst,
                                         const lcMissingPixelParams& params);
