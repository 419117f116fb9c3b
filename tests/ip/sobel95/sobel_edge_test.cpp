#include "ip/sobel95/sobel_edge.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "ip/sobel95/sobel_rows.h"
#include "kernel_test_util.h"

namespace {

struct Edges {
  lcPelBuffer<uint8_t> magnitude, angle;
};

Edges detect(const lcPelBuffer<uint8_t>& source, double scale = 1.0) {
  Edges edges;
  lcSobelEdgeDetector({scale}).run(source, edges.magnitude, edges.angle);
  return edges;
}

// The magnitude and angle side by side, so one comparison covers both.
lcPelBuffer<uint8_t> sideBySide(const Edges& edges) {
  const lcPelRows<const uint8_t> m = edges.magnitude.rows(), a = edges.angle.rows();
  lcPelBuffer<uint8_t> both;
  both.allocate(2 * m.width, m.height);
  for (int32_t y = 0; y < m.height; ++y)
    for (int32_t x = 0; x < m.width; ++x) {
      both.rows()[y][x] = m[y][x];
      both.rows()[y][m.width + x] = a[y][x];
    }
  return both;
}

// The detector stated plainly: neighbours outside the image are the nearest image pixel,
// magnitude and angle from their defining formulas.
Edges reference(const lcPelBuffer<uint8_t>& source) {
  const auto& root = source.root();
  const lcPelRect window = source.window();
  auto p = [&](int32_t x, int32_t y) -> int32_t {
    x = std::clamp(x, 0, root.width() - 1);
    y = std::clamp(y, 0, root.height() - 1);
    return root.base()[y * root.pitch() + x];
  };
  auto reduce = [](int32_t g) {
    return static_cast<int32_t>(std::trunc(g / 8.0 + (g >= 0 ? 0.375 : -0.375)));
  };
  Edges edges;
  edges.magnitude.allocate(source.width(), source.height());
  edges.angle.allocate(source.width(), source.height());
  for (int32_t y = window.y0; y < window.y1; ++y)
    for (int32_t x = window.x0; x < window.x1; ++x) {
      const int32_t gx = p(x + 1, y - 1) + 2 * p(x + 1, y) + p(x + 1, y + 1) - p(x - 1, y - 1) -
                         2 * p(x - 1, y) - p(x - 1, y + 1);
      const int32_t gy = p(x - 1, y + 1) + 2 * p(x, y + 1) + p(x + 1, y + 1) - p(x - 1, y - 1) -
                         2 * p(x, y - 1) - p(x + 1, y - 1);
      const int32_t a = reduce(gx), b = reduce(gy);
      const double length = 2 * std::sqrt(double(a * a + b * b)) * 255 / 254;
      double theta = std::atan2(double(b), double(a));
      if (theta < 0) theta += 2 * std::numbers::pi;
      edges.magnitude.rows()[y - window.y0][x - window.x0] =
          static_cast<uint8_t>(std::min(length, 255.0) + 0.499);
      edges.angle.rows()[y - window.y0][x - window.x0] =
          static_cast<uint8_t>(int(theta * 256 / (2 * std::numbers::pi) + 0.5) & 255);
    }
  return edges;
}

// A 5 x 5 image p = 128 + u x + v y: every gradient component is exactly (8u, 8v).
lcPelBuffer<uint8_t> plane(int32_t u, int32_t v) {
  lcPelBuffer<uint8_t> image;
  image.allocate(5, 5);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 5; ++x)
      image.rows()[y][x] = static_cast<uint8_t>(128 + u * (x - 2) + v * (y - 2));
  return image;
}

}  // namespace

TEST(SobelEdge, ReducesByEightRoundingHalvesTowardZero) {
  const int32_t cases[][2] = {{0, 0},  {3, 0},    {4, 0},  {5, 1},      {-4, 0},      {-5, -1},
                              {12, 1}, {-12, -1}, {13, 2}, {1020, 127}, {-1020, -127}};
  for (const auto& [g, reduced] : cases)
    EXPECT_EQ(lcSobelRows::reduce(g), reduced) << g;
}

TEST(SobelEdge, GivesTheWorkedValuesOfPlanesAndSteps) {
  struct Case {
    int32_t u, v;
    double scale;
    uint8_t magnitude, angle;
  } const cases[] = {
      {0, 0, 1, 0, 0},  // flat: atan2(0, 0) is 0
      {10, 0, 1, 20, 0},    {10, 10, 1, 28, 32},    {0, 10, 1, 20, 64},   {-10, 10, 1, 28, 96},
      {-10, 0, 1, 20, 128}, {-10, -10, 1, 28, 160}, {0, -10, 1, 20, 192}, {10, -10, 1, 28, 224},
      {10, 4, 1, 22, 16},   {10, 0, 2, 40, 0},      {10, 0, 50, 255, 0},  // the scale saturates at
                                                                          // 255
  };
  for (const Case& c : cases) {
    const Edges edges = detect(plane(c.u, c.v), c.scale);
    EXPECT_EQ(edges.magnitude.rows()[2][2], c.magnitude) << c.u << "," << c.v << " x" << c.scale;
    EXPECT_EQ(edges.angle.rows()[2][2], c.angle) << c.u << "," << c.v;
  }

  // A step from 0 to 255: full magnitude across it, the angle pointing to the bright side.
  struct Step {
    bool vertical, brightFirst;
    uint8_t angle;
  } const steps[] = {{true, false, 0}, {true, true, 128}, {false, false, 64}, {false, true, 192}};
  for (const Step& s : steps) {
    lcPelBuffer<uint8_t> image = flatPels<uint8_t>(6, 6, 0);
    for (int32_t y = 0; y < 6; ++y)
      for (int32_t x = 0; x < 6; ++x)
        if (((s.vertical ? x : y) >= 3) != s.brightFirst) image.rows()[y][x] = 255;
    const Edges edges = detect(image);
    const int32_t across = s.vertical ? 0 : 1;
    EXPECT_EQ(edges.magnitude.rows()[across ? 2 : 3][across ? 3 : 2], 255);
    EXPECT_EQ(edges.angle.rows()[across ? 2 : 3][across ? 3 : 2], s.angle);
    EXPECT_EQ(edges.magnitude.rows()[0][0], 0);  // far from the step
  }
}

TEST(SobelEdge, EveryWayAgreesWithTheReferenceOnRandomWindows) {
  std::mt19937 random(95);
  for (auto [width, height] : {std::pair{3, 3}, {4, 7}, {17, 5}, {67, 9}, {130, 40}}) {
    const lcPelBuffer<uint8_t> source = randomPels<uint8_t>(random, width, height, 5, -3);
    const lcPelBuffer<uint8_t> got =
        expectEveryWayAgrees([&] { return sideBySide(detect(source)); });
    EXPECT_TRUE(samePels(got, sideBySide(reference(source)))) << width << "x" << height;

    // The results sit on the source window, inside a zero margin of one pixel.
    const Edges edges = detect(source);
    EXPECT_EQ(edges.magnitude.bufferRect(), source.bufferRect());
    lcPelBuffer<uint8_t> framed(edges.angle.rootHandle());
    ASSERT_EQ(framed.width(), width + 2);
    for (int32_t x = 0; x < width + 2; ++x)
      EXPECT_EQ(framed.rows()[0][x] | framed.rows()[height + 1][x], 0);
  }
  const lcPelBuffer<uint8_t> large = patternPels<uint8_t>(1500, 700);
  expectBandsAgree([&] { return sideBySide(detect(large)); });
}

TEST(SobelEdge, RefusesSmallWindowsAndBadScales) {
  EXPECT_THROW(detect(flatPels<uint8_t>(2, 5, 0)), lcPel::BadWindow);
  EXPECT_THROW(detect(flatPels<uint8_t>(5, 2, 0)), lcPel::BadWindow);
  EXPECT_THROW(detect(lcPelBuffer<uint8_t>()), lcPel::UnboundWindow);
  for (double scale : {0.0, -1.0, std::nan("")})
    EXPECT_THROW(lcSobelEdgeDetector({scale}), lcEdgeletDefs::BadParams) << scale;
}

// The magnitude and angle tables are checked through the reference above; the axis
// table serves no kernel yet.
TEST(SobelEdge, AxisTableHoldsHalfIndexMagnitudesOfAtLeastOne) {
  const lcSobelTables& tables = lcSobelEdgeTables();
  EXPECT_EQ(tables.axis[0], 1);
  EXPECT_EQ(tables.axis[5], tables.magnitude[2 * 128]);
  EXPECT_EQ(tables.axis[255], 255);
}
