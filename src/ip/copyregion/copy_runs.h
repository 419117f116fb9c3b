#pragma once
// The pixel work of copy region: a region's pixels copied from one buffer into another
// a whole run at a time, and the region or the rest of its bounding box filled with
// constants. Rows go in bands on the worker pool; each row's runs are memory copies and
// fills, so no pixel depends on the band count.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"
#include "std/rlebuf/rle_buffer.h"

// What one plane receives: inside the region the source's pixels or `regionValue`,
// outside it (within the bounding box) the destination's own pixels or `boxValue`.
template <class T>
struct lcCopyRegionFill {
  bool fillRegion = false;
  T regionValue{};
  bool fillBox = false;
  T boxValue{};
};

// Writes `dst` (of `src`'s window size) from `src`. `runs` (null: every pixel is inside)
// is the region's encoding in the grid of src's buffer coordinates; a pixel it does not
// cover counts as outside. `src` must not share pixels with `dst`.
// lcPel::UnboundWindow for an unbound buffer, lcPel::BadWindow for windows of other sizes.
template <class T>
void lcCopyRegionRuns(const lcPelBuffer<T>& src, lcPelBuffer<T>& dst, const lcRLEBuffer* runs,
                      const lcCopyRegionFill<T>& fill);
