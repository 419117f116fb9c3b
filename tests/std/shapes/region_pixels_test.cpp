// The pixels of every region shape, checked against contains(): the encoding holds a
// pixel exactly when the shape contains its centre, and no contained centre lies
// outside the encoding's window.
#include <gtest/gtest.h>

#include <functional>
#include <numbers>
#include <random>

#include "std/rlebuf/region_encoding.h"
#include "std/rlebuf/rle_mask.h"
#include "std/shapes/affine_rectangle.h"
#include "std/shapes/annulus.h"
#include "std/shapes/circle.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/ellipse_annulus_section.h"
#include "std/shapes/gen_poly.h"
#include "std/shapes/gen_rect.h"

namespace {

constexpr double kPi = std::numbers::pi;

class RandomShapes {
 public:
  explicit RandomShapes(uint32_t seed) : engine_(seed) {}

  double uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(engine_); }
  // Half-integers and quarter values now and then, so centres land on boundaries.
  double coordinate(double lo, double hi) {
    const double x = uniform(lo, hi);
    return pick(4) == 0 ? std::round(x * 4) / 4 : x;
  }
  int pick(int n) { return std::uniform_int_distribution<>(0, n - 1)(engine_); }
  lc2Vector point() { return {coordinate(-5, 25), coordinate(-5, 25)}; }

  lc2XformLinear transform() {
    const double r = uniform(-kPi, kPi), sx = uniform(0.3, 2), sy = uniform(0.3, 2);
    const double skew = uniform(-0.8, 0.8), flip = pick(2) ? 1.0 : -1.0;
    return lc2XformLinear(lc2Matrix(sx * std::cos(r), -sy * std::sin(r + skew), sx * std::sin(r),
                                    flip * sy * std::cos(r + skew)),
                          point());
  }

  lcShapeHandle shape() {
    switch (pick(9)) {
      case 0:
        return lcMakeHandle<lcRect>(coordinate(-5, 20), coordinate(-5, 20), coordinate(0, 15),
                                    coordinate(0, 15));
      case 1:
        return lcMakeHandle<lcAffineRectangle>(point(), uniform(1, 15), uniform(1, 15),
                                               uniform(-kPi, kPi), uniform(-1, 1));
      case 2:
        return lcMakeHandle<lcCircle>(point(), coordinate(0, 12));
      case 3:
        return lcMakeHandle<lcEllipse2>(
            lcEllipseAxes{point(), uniform(0.5, 12), uniform(0.5, 12), uniform(-kPi, kPi)});
      case 4: {
        const double outer = coordinate(1, 12);
        return lcMakeHandle<lcAnnulus>(point(), uniform(0, outer), outer);
      }
      case 5:
        return lcMakeHandle<lcEllipseAnnulus>(ellipse(), uniform(0, 2));
      case 6:
        return lcMakeHandle<lcEllipseAnnulusSection>(ellipse(), uniform(0, 2), uniform(-7, 7),
                                                     uniform(-7, 7));
      case 7:
        return lcMakeHandle<lcGenRect>(transform() * lc2XformLinear(lc2Matrix(8, 0, 0, 5), {}),
                                       uniform(0, 0.5), uniform(0, 0.5));
      default: {
        std::vector<lc2Vector> vertices(3 + pick(8));
        for (lc2Vector& v : vertices)
          v = point();
        return lcMakeHandle<lcGenPoly>(std::move(vertices));
      }
    }
  }

 private:
  lc2XformLinear ellipse() {
    return lc2XformLinear(lc2Matrix(uniform(-8, 8), uniform(-8, 8), uniform(-8, 8), uniform(-8, 8)),
                          point());
  }
  std::mt19937 engine_;
};

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
