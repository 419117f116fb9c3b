#pragma once
// Where the result of a resampling kernel lies: its window in buffer coordinates and the
// map from its buffer coordinates to the source's (pixel x spanning [x, x + 1)), from
// which the result's transform is derived so that it covers the source's client area.

#include <cstdint>

#include "std/math/xform_linear.h"
#include "std/pelbuf/pel_rect.h"

struct lcSamplingPlacement {
  lc2XformLinear sourceFromDestination;
  lcPelRect destination;
};

// The integers i with from <= i * factor + pick < to (factor >= 1), as [first, last).
struct lcSampleRange {
  int32_t first = 0;
  int32_t last = 0;
};
lcSampleRange lcPickedRange(int32_t from, int32_t to, int32_t factor, int32_t pick);
