#pragma once
// A rectangle of pixels: columns x0 to x1 and rows y0 to y1, both ends exclusive. It
// names a buffer's window in root pixels or a region in buffer coordinates.

#include <algorithm>
#include <cstdint>

struct lcPelRect {
  int32_t x0 = 0;
  int32_t y0 = 0;
  int32_t x1 = 0;
  int32_t y1 = 0;

  int32_t width() const { return x1 - x0; }
  int32_t height() const { return y1 - y0; }
  bool isEmpty() const { return x1 <= x0 || y1 <= y0; }
  // True when `inner` lies within this rectangle (an empty `inner` too, if its corners do).
  bool contains(const lcPelRect& inner) const {
    return x0 <= inner.x0 && inner.x0 <= inner.x1 && inner.x1 <= x1 && y0 <= inner.y0 &&
           inner.y0 <= inner.y1 && inner.y1 <= y1;
  }
  friend bool operator==(const lcPelRect&, const lcPelRect&) = default;
};

// The pixels that `a` and `b` share; the empty rectangle at (0, 0) when there are none.
inline lcPelRect lcIntersect(const lcPelRect& a, const lcPelRect& b) {
  const lcPelRect common{std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1),
                         std::min(a.y1, b.y1)};
  return common.isEmpty() ? lcPelRect{} : common;
}
