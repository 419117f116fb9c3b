// The pixels of every region shape, checked against contains(): the encoding holds a
// pixel exactly when the shape contains its centre, and no contained centre lies
// outside the encoding's window.
#include <gtest/gtest.h>

#include <functional>

#include "random_shapes.h"
#include "std/rlebuf/region_encoding.h"
#include "std/rlebuf/rle_mask.h"

namespace {

// Every pixel of the window and a two-pixel ring around it; adds the inside ones to
// `insideCount`.
void checkPixels(const lcShape& shape, const std::string& what, int64_t& insideCount) {
  const lcRLEBuffer rle = lcEncodeRegion(shape, 255, 0);
  const lcPelRect window = shape.pixelWindow();
  ASSERT_EQ(rle.window(), window) << what;
  const lcPelBuffer<uint8_t> mask = lcExpandRLE(rle);
  for (int32_t y = window.y0 - 2; y < window.y1 + 2; ++y)
    for (int32_t x = window.x0 - 2; x < window.x1 + 2; ++x) {
      const bool inside = shape.contains({x + 0.5, y + 0.5});
      const bool inWindow = x >= window.x0 && x < window.x1 && y >= window.y0 && y < window.y1;
      if (!inWindow) {
        ASSERT_FALSE(inside) << what << " holds (" << x << ", " << y << ") outside its window";
        continue;
      }
      ASSERT_EQ(*mask.pelAddress(x, y), inside ? 255 : 0) << what << " at " << x << ", " << y;
      insideCount += inside;
    }
}

TEST(RegionPixels, MaskHoldsExactlyTheContainedCentresOfRandomShapes) {
  RandomShapes random(20261206);
  int64_t insideCount = 0;
  for (int i = 0; i < 600; ++i) {
    const lcShapeHandle shape = random.shape();
    const lcShapeHandle mapped = random.pick(2) ? shape->map(random.transform()) : shape;
    checkPixels(*mapped, "shape " + std::to_string(i) + " (" + typeid(*mapped).name() + ")",
                insideCount);
  }
  EXPECT_GT(insideCount, 20000);  // the shapes are not empty
}

// Polygon edges step from row to row by their slope; vertices on the half-pixel grid put
// crossings exactly on pixel centres, where only the exact crossing may decide.
TEST(RegionPixels, PolygonCrossingsOnPixelCentresMatchContains) {
  std::mt19937 engine(17);
  int64_t insideCount = 0;
  for (int i = 0; i < 60; ++i) {
    std::vector<lc2Vector> vertices(3 + engine() % 9);
    for (lc2Vector& v : vertices)
      v = {0.5 * static_cast<int>(engine() % 240), 0.5 * static_cast<int>(engine() % 240)};
    checkPixels(lcGenPoly(vertices), "polygon " + std::to_string(i), insideCount);
  }
  EXPECT_GT(insideCount, 20000);
}

TEST(RegionPixels, WholePixelRectangleEncodesAllInside) {
  const lcRLEBuffer rle = lcEncodeRegion(lcRect(2, 3, 300, 2), 255, 0);
  EXPECT_EQ(rle.window(), (lcPelRect{2, 3, 302, 5}));
  EXPECT_FALSE(rle.hasRunOf(0));
  const std::vector<uint8_t> row(rle.row(3).begin(), rle.row(3).end());
  EXPECT_EQ(row, (std::vector<uint8_t>{255, 255, 255, 45, 0, 0}));
}

TEST(RegionPixels, CircleRowsHaveOutsideRunsOnBothSides) {
  const lcCircle circle({10, 10}, 6);
  const lcRLEBuffer rle = lcEncodeRegion(circle, 255, 0);
  const std::span<const uint8_t> top = rle.row(rle.offsetY() + 1);
  ASSERT_EQ(top.size(), 8u);  // outside, inside, outside, end
  EXPECT_EQ(top[0], 0);
  EXPECT_EQ(top[2], 255);
  EXPECT_EQ(top[4], 0);
}

TEST(RegionPixels, EncodingARegionFarBeyondAnyImageIsRefused) {
  EXPECT_THROW(lcEncodeRegion(lcCircle({0, 0}, 1e12), 255, 0), lcShapesError::InfiniteExtent);
  EXPECT_THROW(lcEncodeRegion(lcCircle({0, 0}, 1e5), 255, 0), lcShapesError::InfiniteExtent);
}

}  // namespace
