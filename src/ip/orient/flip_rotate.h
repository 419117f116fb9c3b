#pragma once
// Re-orienting a buffer on its pixel grid: the eight right-angle rotations (clockwise)
// and mirrorings, each made of three primitives on buffer coordinates, applied in order
// (T transpose, H mirror left-right, V mirror top-bottom):
//
//   0 copy   1 T, H (rotate 90)    2 V, H (rotate 180)   3 T, V (rotate 270)
//   4 H      5 T, V, H             6 V                   7 T (transpose)
//
// For a source window of W x H pixels at offset (ox, oy), H gives D(x, y) =
// S(2 ox + W - 1 - x, y), V gives D(x, y) = S(x, 2 oy + H - 1 - y) and T gives D(x, y) =
// S(y, x) with the offset becoming (oy, ox). The destination's transform is the source's
// followed by the inverse of the primitives' maps (destination pixel to source pixel,
// pixel x spanning [x, x + 1): H is x' = -x + 2 ox + W), so every pixel keeps its client
// position. The whole operation runs as one pass over the pixels; the transposing ones
// work in tiles that stay in the cache.

#include <cstdint>

#include "std/math/xform_linear.h"
#include "std/pelbuf/pel_buffer.h"

// The map from destination buffer coordinates to source buffer coordinates of
// `operation` on a source whose window is `source` (buffer coordinates), and where the
// destination's window lies. lcPelFunc::BadParams for an operation outside 0 to 7.
struct lcFlipRotatePlacement {
  lc2XformLinear sourceFromDestination;
  lcPelRect destination;
};
lcFlipRotatePlacement lcFlipRotatePlace(int32_t operation, const lcPelRect& source);

// dst becomes src re-oriented by `operation`. An unbound dst is allocated at the
// destination's window with the derived transform; a bound one must cover that window
// (lcPel::BadWindow), keeps its transform, and must not share pixels with src
// (lcPelFunc::Overlap). lcPel::UnboundWindow for an unbound src, lcPelFunc::BadParams for
// an operation outside 0 to 7. Kernels "cip_flipRotate_8" and "cip_flipRotate_16".
void lcFlipRotate(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst, int32_t operation);
void lcFlipRotate(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst, int32_t operation);
