#pragma once
// The pixels of a real rectangle. Pixel k covers [k, k + 1) with its centre at k + 0.5,
// and it belongs to a rectangle when its centre lies inside: a real interval [x0, x1)
// covers pixels ceil(x0 - 0.5) to ceil(x1 - 0.5) - 1. Regions cut their windows and
// run-length encodings their rows by this one rule.

#include "std/pelbuf/pel_rect.h"
#include "std/shapes/rect.h"

// The window (ends exclusive) of the pixels whose centres lie in `box`. An edge beyond
// the 32-bit range is held at its end; a box without pixels gives an empty window
// (x1 == x0 or y1 == y0), and one with a NaN edge the empty window at (0, 0).
LC_CORE_API lcPelRect lcPixelAlignedBox(const lcRect& box);
