#pragma once
// What masked operators do with a run-length buffer: expand it into an 8-bit mask, or
// count pixels run by run without one.

#include <span>

#include "std/pelbuf/pel_buffer.h"
#include "std/rlebuf/rle_buffer.h"

// An 8-bit buffer over the encoding's window cut to `clip` (grid coordinates), each
// pixel the value of the run it lies in, with the encoding's transform. An empty cut
// gives an unbound buffer. Degenerate for an empty encoding.
LC_CORE_API lcPelBuffer<uint8_t> lcExpandRLE(const lcRLEBuffer& rle, const lcPelRect& clip);
// The same over the whole window.
LC_CORE_API lcPelBuffer<uint8_t> lcExpandRLE(const lcRLEBuffer& rle);

// Adds, for every pixel of `image` covered by a run whose insideness (value != 0) is
// `countInside`, one to bin min(pixel, bins.size() - 1). Pixels of the encoding outside
// the image's buffer rectangle are not counted. lcPelFunc::BadParams for no bins.
LC_CORE_API void lcAccumulateHistogram(const lcPelBuffer<uint8_t>& image, const lcRLEBuffer& rle,
                                       bool countInside, std::span<uint64_t> bins);
