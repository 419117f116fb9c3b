#include "std/shapes/pixel_aligned_box.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace {

// Pixel k belongs when its centre k + 0.5 lies in the half-open interval.
TEST(PixelAlignedBox, TakesThePixelsWhoseCentresLieInside) {
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  const std::pair<lcRect, lcPelRect> cases[] = {
      {{0, 0, 4, 3}, {0, 0, 4, 3}},          // whole pixels
      {{0.5, 1.5, 2, 1}, {0, 1, 2, 2}},      // lower centres on an edge count, upper ones not
      {{0.4, 1.4, 0.2, 0.2}, {0, 1, 1, 2}},  // around one centre
      {{0.6, 0.6, 0.8, 0.8}, {1, 1, 1, 1}},  // between centres: empty
      {{-2.5, -0.7, 1.0, 1.9}, {-3, -1, -2, 1}},
      {{3, 3, -2, 1}, {3, 3, 3, 4}},  // a negative width
      {{-1e12, -1e300, 2e12, 1}, {kMin, kMin, kMax, kMin}},
      {{std::numeric_limits<double>::quiet_NaN(), 0, 1, 1}, {0, 0, 0, 0}},
  };
  for (const auto& [box, pixels] : cases)
    EXPECT_EQ(lcPixelAlignedBox(box), pixels) << box.x() << " " << box.y() << " " << box.width();
}

}  // namespace
