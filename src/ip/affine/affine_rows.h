#pragma once
// The vector runs of the affine and polar samplers, compiled for every SIMD target
// Highway knows (affine_rows_fast.cpp); each call runs the best target of this processor.
// Every sample equals the one lcAffinePixel's function for its mode gives, to the bit.

#include <cstdint>

#include "ip/affine/affine_pixel.h"
#include "ip/affine/polar_sampling.h"

namespace lcAffineRows {

// Samples out[0, n) at the 16.16 positions (x + k * stepX, y + k * stepY), each of whose
// taps, with one more pixel on every side, lies inside the source window. `mode` is an
// lcAffineSamplingParams::Mode. Returns how many leading samples it wrote: whole vectors
// only, and none for a mode without a vector form or a window too large for 32-bit
// lanes. The caller samples the rest.
int64_t affineRun(int32_t mode, const lcAffineSource<uint8_t>& source, int64_t x, int64_t y,
                  int64_t stepX, int64_t stepY, int64_t n, uint8_t* out);
int64_t affineRun(int32_t mode, const lcAffineSource<uint16_t>& source, int64_t x, int64_t y,
                  int64_t stepX, int64_t stepY, int64_t n, uint16_t* out);

// Samples rows [begin, end) of a polar unwrap whose every tap lies inside the source
// window (the caller has tested), nearest or accurate bilinear. False, writing nothing,
// when the window is too large for 32-bit lanes.
bool polarRows(bool nearest, const lcAffineSource<uint8_t>& source, const lcPolarPositions& at,
               const lcPelRows<uint8_t>& out, int32_t begin, int32_t end);
bool polarRows(bool nearest, const lcAffineSource<uint16_t>& source, const lcPolarPositions& at,
               const lcPelRows<uint16_t>& out, int32_t begin, int32_t end);

}  // namespace lcAffineRows
