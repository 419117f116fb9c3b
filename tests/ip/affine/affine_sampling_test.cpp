#include "ip/affine/affine_sampling.h"

#include <cmath>

#include "ip/affine/affine_pixel.h"
#include "ip/affine/polar_sampling.h"
#include "kernel_test_util.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
using Params = lcAffineSamplingParams;

// The rectangle with this origin corner and sides along (cos r, sin r) and
// (-sin r, cos r).
lcAffineRectangle rotated(double x, double y, double lx, double ly, double r) {
  return lcAffineRectangle(lc2XformLinear(
      lc2Matrix(lx * std::cos(r), -ly * std::sin(r), lx * std::sin(r), ly * std::cos(r)), {x, y}));
}

// The value of the continuous image a mode stands for at pixel-space position (x, y):
// pixels read 0 outside, centres at k + 0.5.
template <class T>
double reference(const lcPelBuffer<T>& src, int32_t mode, double x, double y) {
  const lcPelRows<const T> rows = src.rows();
  const auto pel = [&](double px, double py) -> double {
    const auto ix = static_cast<int64_t>(std::floor(px)), iy = static_cast<int64_t>(std::floor(py));
    if (ix < 0 || iy < 0 || ix >= rows.width || iy >= rows.height) return 0;
    return rows[int32_t(iy)][ix];
  };
  if (mode == Params::kNearest) return pel(x, y);
  const double cx = x - 0.5, cy = y - 0.5, bx = std::floor(cx), by = std::floor(cy);
  const double fx = cx - bx, fy = cy - by;
  return (1 - fx) * (1 - fy) * pel(bx, by) + fx * (1 - fy) * pel(bx + 1, by) +
         (1 - fx) * fy * pel(bx, by + 1) + fx * fy * pel(bx + 1, by + 1);
}

template <class T>
void expectNearReference(int32_t mode, double tolerance) {
  std::mt19937 random(7 + mode);
  const lcPelBuffer<T> src = randomPels<T>(random, 40, 30);
  std::uniform_real_distribution<double> place(-5, 35), angle(-kPi, kPi);
  for (int round = 0; round < 20; ++round) {
    const Params params(rotated(place(random), place(random), 17.3, 9.7, angle(random)), 23, 13,
                        mode);
    lcPelBuffer<T> out;
    lcAffineSample(src, out, params);
    // At the 16.16 positions the rule gives, in doubles.
    const lcAffineGeometry g = lcAffineGeometryFor(params, src);
    for (int32_t j = 0; j < 13; ++j)
      for (int32_t i = 0; i < 23; ++i) {
        const double x = double(g.startX + i * g.columnStepX + j * g.rowStepX) / 65536;
        const double y = double(g.startY + i * g.columnStepY + j * g.rowStepY) / 65536;
        ASSERT_NEAR(out.rows()[j][i], reference(src, mode, x, y), tolerance)
            << "mode " << mode << ", round " << round << ", " << i << "," << j;
      }
  }
}

}  // namespace

TEST(AffineSampling, ModesFollowTheContinuousImage) {
  expectNearReference<uint8_t>(Params::kBilinearAccurate, 0.51);
  expectNearReference<uint16_t>(Params::kBilinearAccurate, 0.51);
  // Two truncating passes lose at most one unit each, the 15-bit weights a little more.
  expectNearReference<uint8_t>(Params::kBilinear, 2.01);
  expectNearReference<uint16_t>(Params::kBilinear, 4.01);
  expectNearReference<uint8_t>(Params::kNearest, 0);
}

TEST(AffineSampling, CubicTableInterpolatesAndReproducesPixels) {
  EXPECT_EQ(lcAffineCubicTable[0], (lcCubicWeights{0, 32767, 0, 0}));
  for (const lcCubicWeights& w : lcAffineCubicTable)
    EXPECT_NEAR(w[0] + w[1] + w[2] + w[3], 32768, 4);
  // A flat image stays flat away from its edges, up to the capped weight's loss.
  const lcPelBuffer<uint8_t> flat = flatPels<uint8_t>(30, 30, 200);
  lcPelBuffer<uint8_t> out;
  lcAffineSample(flat, out, Params(rotated(8, 5, 12, 12, 0.4), 17, 17, Params::kCubic));
  for (int32_t j = 0; j < 17; ++j)
    for (int32_t i = 0; i < 17; ++i)
      EXPECT_NEAR(out.rows()[j][i], 200, 1);
}

TEST(AffineSampling, PositionsFollowTheTruncatingFixedPointRule) {
  lcPelBuffer<uint8_t> src = flatPels<uint8_t>(8, 8, 1);
  src.setOffset(3, 2);
  // Output pixel (0, 0)'s centre lands on buffer (2, 2.5), window-relative (-1, 0.5); the
  // column step is -1: both negative values are 1/65536 short.
  const lcAffineRectangle r(lc2XformLinear(lc2Matrix(-4, 0, 0, 4), {2.5, 2}));
  const lcAffineGeometry g = lcAffineGeometryFor(Params(r, 4, 4), src);
  EXPECT_EQ(g.startX, -65535);
  EXPECT_EQ(g.startY, 32768);
  EXPECT_EQ(g.columnStepX, -65535);
  EXPECT_EQ(g.rowStepY, 65536);
  EXPECT_FALSE(g.wholePixels);  // the corner sits half a pixel off
  EXPECT_THROW(Params(r, 0, 4), Params::BadNumSamples);
  EXPECT_THROW(Params(r, 32768, 4).numSamplesX16(), Params::BadNumSamples);
  EXPECT_THROW(lcAffineGeometryFor(Params(r, 4, 4, 4), lcPelBuffer<uint8_t>()),
               lcPel::UnboundWindow);
}

TEST(AffineSampling, WholePixelMovesCopyInEveryOrientation) {
  std::mt19937 random(3);
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 9, 7, 2, 1);
  // The identity window reproduces the pixels and places them where they were.
  lcPelBuffer<uint8_t> out;
  lcAffineSample(src, out,
                 Params(lcAffineRectangle(lc2XformLinear(lc2Matrix(9, 0, 0, 7), {2, 1})), 9, 7,
                        Params::kCubic));
  lcPelBuffer<uint8_t> shifted = out;
  shifted.setOffset(2, 1);
  EXPECT_TRUE(samePels(shifted, src));
  EXPECT_EQ(out.linearXform().inverse().mapPoint({0, 0}), (lc2Vector{2, 1}));
  // A quarter turn built from centre, side lengths and rotation (its translation misses
  // whole pixels by rounding) copies the transposed, mirrored pixels.
  const lcAffineRectangle quarter({6.5, 4.5}, 7, 9, kPi / 2, 0);
  lcPelBuffer<uint8_t> turned;
  const lcAffineGeometry g = lcAffineGeometryFor(Params(quarter, 7, 9), src);
  EXPECT_TRUE(g.wholePixels);
  EXPECT_FALSE(lcAffineSample(src, turned, Params(quarter, 7, 9, Params::kBilinear)));
  // Side X runs down the image from the top-right corner, side Y leftwards.
  for (int32_t j = 0; j < 9; ++j)
    for (int32_t i = 0; i < 7; ++i)
      ASSERT_EQ(turned.rows()[j][i], src.rows()[i][8 - j]) << i << "," << j;
}

TEST(AffineSampling, ClipTestAndMaskAgreeAtEveryBorder) {
  std::mt19937 random(11);
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 20, 16);
  // Halving the whole image reads only inside: the taps beyond the last centres weigh 0.
  EXPECT_FALSE(lcAffineIsClipped(
      Params(lcAffineRectangle(lc2XformLinear(lc2Matrix(20, 0, 0, 16), {0, 0})), 10, 8, 4), src));
  std::uniform_real_distribution<double> place(-6, 22), angle(-kPi, kPi);
  for (int32_t mode : {1, 2, 3, 4}) {
    for (int round = 0; round < 25; ++round) {
      const Params params(rotated(place(random), place(random), 9, 7, angle(random)), 11, 6, mode);
      lcPelBuffer<uint8_t> out, mask;
      const bool clipped = lcAffineSample(src, out, params, &mask);
      EXPECT_EQ(clipped, lcAffineIsClipped(params, src));
      EXPECT_EQ(clipped, !allPelsAre<uint8_t>(mask, 255));
      // Where nothing was clipped, the samples equal those made without a mask.
      lcPelBuffer<uint8_t> plain;
      lcAffineSample(src, plain, params);
      EXPECT_TRUE(samePels(plain, out));
    }
  }
  // Wholly outside: every sample clipped and zero.
  lcPelBuffer<uint8_t> out, mask;
  EXPECT_TRUE(lcAffineSample(src, out, Params(rotated(-40, -40, 5, 5, 0.3), 5, 5, 4), &mask));
  EXPECT_TRUE(allPelsAre<uint8_t>(mask, 0));
  EXPECT_TRUE(allPelsAre<uint8_t>(out, 0));
}

TEST(AffineSampling, TwinsAndStripesGiveTheSameBytes) {
  std::mt19937 random(5);
  const lcPelBuffer<uint8_t> src8 = randomPels<uint8_t>(random, 61, 47, 3, -2);
  const lcPelBuffer<uint16_t> src16 = randomPels<uint16_t>(random, 61, 47);
  for (int32_t mode : {1, 2, 3, 4}) {
    // Partly outside, so both the checked and the trusted columns run.
    const Params params(rotated(-8, 10, 70, 45, 0.52), 67, 49, mode);
    for (bool wantMask : {false, true})
      expectEveryWayAgrees([&] {
        lcPelBuffer<uint8_t> out, mask;
        lcAffineSample(src8, out, params, &mask);
        return wantMask ? mask : out;
      });
    expectEveryWayAgrees([&] {
      lcPelBuffer<uint16_t> out;
      lcAffineSample(src16, out, params);
      return out;
    });
  }
  // Large enough to run in stripes on the workers (nearest and bilinear accurate), and
  // for the rare roundings of the vector runs to show.
  const lcPelBuffer<uint8_t> big = patternPels<uint8_t>(700, 700);
  for (int32_t mode : {1, 2, 3, 4})
    for (bool wantMask : {false, true})
      expectBandsAgree([&] {
        lcPelBuffer<uint8_t> out, mask;
        lcAffineSample(big, out, Params(rotated(100, -50, 600, 640, 0.5), 600, 640, mode), &mask);
        return wantMask ? mask : out;
      });
}

TEST(PolarSampling, TwinsAndBandsAgreeAndClippingIsRefused) {
  std::mt19937 random(9);
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 90, 70, 4, 3);
  const lcEllipseAnnulusSection section(lc2XformLinear(lc2Matrix(20, -6, 5, 15), {49, 38}), 1.8,
                                        -0.5, 3.9, false, true);
  for (int32_t mode : {1, 2}) {
    const lcPolarSamplingParams params(section, 130, 17, mode);
    EXPECT_FALSE(lcPolarIsClipped(params, src));
    const lcPelBuffer<uint8_t> out = expectEveryWayAgrees([&] {
      lcPelBuffer<uint8_t> result;
      lcPolarUnwrap(src, result, params);
      return result;
    });
    // Sample (i, j) lies at pointAt((i + 0.5) / 130, (j + 0.5) / 17).
    const lc2Vector p = section.pointAt(40.5 / 130, 3.5 / 17) - lc2Vector{4, 3};
    if (mode == 1) {
      EXPECT_EQ(out.rows()[3][40], src.rows()[int32_t(p.y)][int32_t(p.x)]);
    }
  }
  const lcEllipseAnnulusSection moved(lc2XformLinear(lc2Matrix(20, -6, 5, 15), {20, 38}), 1.8, -0.5,
                                      3.9);
  lcPelBuffer<uint8_t> out;
  EXPECT_THROW(lcPolarUnwrap(src, out, lcPolarSamplingParams(moved, 50, 10)),
               lcPolarTransDefs::Clipped);
  EXPECT_THROW(lcPolarSamplingParams(moved, 0, 10), lcPolarTransDefs::BadParams);
}

// Every way of running sample(source, output) gives the same bytes, on both depths.
template <class Sample>
void expectBothDepthsAgree(const lcPelBuffer<uint8_t>& src8, const lcPelBuffer<uint16_t>& src16,
                           const Sample& sample) {
  expectEveryWayAgrees([&] {
    lcPelBuffer<uint8_t> out;
    sample(src8, out);
    return out;
  });
  expectEveryWayAgrees([&] {
    lcPelBuffer<uint16_t> out;
    sample(src16, out);
    return out;
  });
}

TEST(AffineSampling, TwinsAgreeOnRandomGeometry) {
  // Negative positions, clipping at every border, single-pixel outputs, shrinking and
  // growing scales, and rows wide enough for the vector runs to take most columns.
  std::mt19937 random(21);
  const lcPelBuffer<uint8_t> src8 = randomPels<uint8_t>(random, 53, 41, -4, 2);
  const lcPelBuffer<uint16_t> src16 = randomPels<uint16_t>(random, 53, 41, -4, 2);
  std::uniform_real_distribution<double> place(-20, 60), side(1, 90), angle(-kPi, kPi);
  std::uniform_int_distribution<int32_t> count(2, 90);
  for (int round = 0; round < 16; ++round) {
    const double sx = round % 2 ? side(random) : -side(random);
    const int32_t nx = round % 5 == 0 ? 1 : count(random), ny = round % 3 == 0 ? 1 : count(random);
    const Params params(rotated(place(random), place(random), sx, side(random), angle(random)), nx,
                        ny, 1 + round % 4);
    expectBothDepthsAgree(src8, src16,
                          [&](const auto& src, auto& out) { lcAffineSample(src, out, params); });
  }
}

TEST(PolarSampling, TwinsAgreeOnRandomRings) {
  // Rings from well inside to touching the window's borders, where the vector rows fall
  // back to single samples.
  std::mt19937 random(17);
  const lcPelBuffer<uint8_t> src8 = randomPels<uint8_t>(random, 120, 90, 3, -5);
  const lcPelBuffer<uint16_t> src16 = randomPels<uint16_t>(random, 120, 90, 3, -5);
  std::uniform_real_distribution<double> centre(45, 75), radius(3, 44), angle(-4, 4), scale(0.2, 3);
  std::uniform_int_distribution<int32_t> count(1, 150);
  int unclipped = 0;
  for (int round = 0; round < 30; ++round) {
    const double r = radius(random);
    const lcEllipseAnnulusSection ring(lc2XformLinear(lc2Matrix(r, angle(random), angle(random), r),
                                                      {centre(random), centre(random)}),
                                       scale(random), angle(random), angle(random), round % 2 == 0,
                                       round % 3 == 0);
    const lcPolarSamplingParams params(ring, count(random), count(random) / 4 + 1, 1 + round % 2);
    if (lcPolarIsClipped(params, src8)) continue;
    ++unclipped;
    expectBothDepthsAgree(src8, src16,
                          [&](const auto& src, auto& out) { lcPolarUnwrap(src, out, params); });
  }
  EXPECT_GE(unclipped, 10);
}
