#pragma once
// The run-length encoding of a region shape over the pixel grid.

#include "std/rlebuf/rle_buffer.h"
#include "std/shapes/shape.h"

// Encodes `shape` over its pixel window: `inside` for the pixels whose centres it
// contains, `outside` for the rest, one row at a time from the shape's pixel spans.
// lcShapesError::NotRegion for a shape without area; lcShapesError::InfiniteExtent
// when the encoding could need more than kMaxRLEBytes (a window far beyond any image).
LC_CORE_API lcRLEBuffer lcEncodeRegion(const lcShape& shape, uint8_t inside, uint8_t outside);

inline constexpr int64_t kMaxRLEBytes = int64_t{1} << 28;
