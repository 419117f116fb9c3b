#include "std/shapes/pixel_aligned_box.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The first pixel whose centre lies at or beyond `edge`.
int32_t firstPixelFrom(double edge) {
  constexpr double kLowest = std::numeric_limits<int32_t>::min();
  constexpr double kHighest = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(std::ceil(edge - 0.5), kLowest, kHighest));
}

}  // namespace

lcPelRect lcPixelAlignedBox(const lcRect& box) {
  const double left = box.x(), top = box.y();
  const double right = left + box.width(), bottom = top + box.height();
  if (std::isnan(right) || std::isnan(bottom)) return {};
  const int32_t x0 = firstPixelFrom(left), y0 = firstPixelFrom(top);
  return {x0, y0, std::max(x0, firstPixelFrom(right)), std::max(y0, firstPixelFrom(bottom))};
}
