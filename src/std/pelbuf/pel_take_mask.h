#pragma once
// Which pixels of a window take part in a neighbourhood kernel: a mask image placed in
// buffer coordinates, read over another buffer's window. Pixels the mask does not cover
// do not take part.

#include <algorithm>
#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

// A buffer of `window` (buffer coordinates) holding 255 where `mask` is bound, covers
// the pixel and is non-zero there, else 0.
inline lcPelBuffer<uint8_t> lcTakeMask(const lcPelBuffer<uint8_t>& mask, const lcPelRect& window) {
  lcPelBuffer<uint8_t> take;
  if (window.isEmpty()) return take;
  take.allocate(window.width(), window.height(), window.x0, window.y0);
  const lcPelRows<uint8_t> out = take.rows();
  for (int32_t y = 0; y < out.height; ++y)
    std::fill_n(out[y], out.width, uint8_t{0});
  if (!mask.isBound()) return take;
  const lcPelRect covered = lcIntersect(mask.bufferRect(), window);
  if (covered.isEmpty()) return take;
  const lcPelRows<const uint8_t> in = mask.rows();
  const lcPelRect at = mask.bufferRect();
  for (int32_t y = covered.y0; y < covered.y1; ++y) {
    const uint8_t* from = in[y - at.y0] + (covered.x0 - at.x0);
    uint8_t* to = out[y - window.y0] + (covered.x0 - window.x0);
    for (int32_t x = 0; x < covered.width(); ++x)
      to[x] = from[x] != 0 ? 255 : 0;
  }
  return take;
}
