#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "ip/conv/convolve_nxm.h"
#include "kernel_test_util.h"
#include "mirror.h"

namespace {

lcPelBuffer<double> kernelOf(int32_t width, int32_t height, const std::vector<double>& values) {
  lcPelBuffer<double> kernel;
  kernel.allocate(width, height);
  for (int32_t i = 0; i < width * height; ++i)
    kernel.rows()[i / width][i % width] = values[static_cast<std::size_t>(i)];
  return kernel;
}

TEST(ConvolveNxM, PreparationScalesTheLargestMagnitudeTo32767AndFlagsMixedSigns) {
  const lcConvolveNxMKernel mixed = lcPrepareConvolveNxM(kernelOf(3, 1, {1, -0.5, 0.25}));
  EXPECT_EQ(mixed.weights, (std::vector<int16_t>{32767, -16384, 8192}));  // -16383.5, 8191.75
  EXPECT_EQ(mixed.signFlag, 1);
  const lcConvolveNxMKernel negative = lcPrepareConvolveNxM(kernelOf(1, 3, {-4, 0, -1}));
  EXPECT_EQ(negative.weights, (std::vector<int16_t>{-32767, 0, -8192}));
  EXPECT_EQ(negative.signFlag, 0);
  EXPECT_EQ(negative.width, 1);
  EXPECT_EQ(negative.height, 3);

  EXPECT_THROW(lcPrepareConvolveNxM(kernelOf(3, 3, std::vector<double>(9))),
               lcConvolveParams::ZeroKernel);
  EXPECT_THROW(lcPrepareConvolveNxM(kernelOf(2, 3, std::vector<double>(6, 1))),
               lcConvolveParams::BadArgument);
  EXPECT_THROW(lcPrepareConvolveNxM(kernelOf(1, 1, {std::nan("")})), lcConvolveParams::BadArgument);
  EXPECT_THROW(lcPrepareConvolveNxM(lcPelBuffer<double>()), lcConvolveParams::BadArgument);
}

// The rule stated plainly: the exact weighted sum with the kernel turned by 180 degrees,
// divided by the larger sign sum and rounded half away from zero, in doubles.
int32_t referencePel(const lcPelBuffer<uint8_t>& src, const lcConvolveNxMKernel& kernel,
                     bool reflected, int32_t x, int32_t y) {
  const int32_t hx = kernel.width / 2, hy = kernel.height / 2;
  double sum = 0, positive = 0, negative = 0;
  for (int32_t r = 0; r < kernel.height; ++r) {
    for (int32_t c = 0; c < kernel.width; ++c) {
      const double w = kernel.weights[static_cast<std::size_t>(r * kernel.width + c)];
      (w > 0 ? positive : negative) += std::fabs(w);
      int32_t sx = x + hx - c, sy = y + hy - r;
      if (reflected) {
        sx = mirrored(sx, src.width());
        sy = mirrored(sy, src.height());
      }
      sum += w * src.rows()[sy][sx];
    }
  }
  const double q = sum / std::max(positive, negative);
  return static_cast<int32_t>(q < 0 ? -std::floor(-q + 0.5) : std::floor(q + 0.5));
}

TEST(ConvolveNxM, MatchesTheRuleInBothBoundaryModesWhicheverWayItRuns) {
  std::mt19937 random(29);
  std::uniform_int_distribution<int32_t> size(1, 60), offset(-20, 20);
  std::uniform_real_distribution<double> value(-1, 1);
  const std::pair<int32_t, int32_t> shapes[] = {{1, 1}, {3, 5}, {7, 7}, {1, 9}, {9, 1}, {31, 31}};
  for (const auto& [n, m] : shapes) {
    std::vector<double> values(static_cast<std::size_t>(n * m));
    for (double& v : values)
      v = n == 31 ? 1 : value(random);  // 31 x 31 ones: a divisor only the portable twin takes
    const lcConvolveNxMKernel kernel = lcPrepareConvolveNxM(kernelOf(n, m, values));
    for (lcBoundaryMode mode : {lcBoundaryMode::Reflected, lcBoundaryMode::Clipped}) {
      const bool reflected = mode == lcBoundaryMode::Reflected;
      const lcPelBuffer<uint8_t> src =
          randomPels<uint8_t>(random, size(random) + (reflected ? 0 : n),
                              size(random) + (reflected ? 0 : m), offset(random), offset(random));
      const lcConvolveNxMParams params{kernel, mode};
      const lcPelBuffer<int16_t> wide = expectEveryWayAgrees([&] {
        lcPelBuffer<int16_t> dst;
        lcConvolveNxM(src, dst, params);
        return dst;
      });
      const lcPelBuffer<uint8_t> narrow = expectEveryWayAgrees([&] {
        lcPelBuffer<uint8_t> dst;
        lcConvolveNxM(src, dst, params);
        return dst;
      });
      const int32_t cut = reflected ? 0 : 1;  // clipped: the kernel's half on each side
      const lcPelRect in = src.bufferRect();
      ASSERT_EQ(wide.bufferRect(), (lcPelRect{in.x0 + cut * (n / 2), in.y0 + cut * (m / 2),
                                              in.x1 - cut * (n / 2), in.y1 - cut * (m / 2)}));
      for (int32_t y = 0; y < wide.height(); ++y)
        for (int32_t x = 0; x < wide.width(); ++x) {
          const int32_t expected =
              referencePel(src, kernel, reflected, x + cut * (n / 2), y + cut * (m / 2));
          ASSERT_EQ(wide.rows()[y][x], expected) << n << "x" << m << " at " << x << "," << y;
          ASSERT_EQ(narrow.rows()[y][x], static_cast<uint8_t>(expected >> kernel.signFlag));
        }
    }
  }
}

TEST(ConvolveNxM, BandsOfALargeImageChangeNoPixel) {
  std::mt19937 random(31);
  std::vector<double> values(49);
  for (double& v : values)
    v = std::uniform_real_distribution<double>(-0.3, 1)(random);
  const lcConvolveNxMParams params{lcPrepareConvolveNxM(kernelOf(7, 7, values)),
                                   lcBoundaryMode::Reflected};
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 643, 411, 0, 0);
  expectBandsAgree([&] {
    lcPelBuffer<uint8_t> dst;
    lcConvolveNxM(src, dst, params);
    return dst;
  });
}

TEST(ConvolveNxM, RefusesKernelsItCannotUseAndClippedInputsSmallerThanTheKernel) {
  const lcConvolveNxMKernel kernel =
      lcPrepareConvolveNxM(kernelOf(5, 3, std::vector<double>(15, 1)));
  lcPelBuffer<uint8_t> dst;
  EXPECT_THROW(lcConvolveNxM(flatPels<uint8_t>(4, 9, 1), dst, {kernel, lcBoundaryMode::Clipped}),
               lcConvolveParams::BadArgument);
  EXPECT_NO_THROW(
      lcConvolveNxM(flatPels<uint8_t>(4, 2, 1), dst, {kernel, lcBoundaryMode::Reflected}));
  lcConvolveNxMKernel zeros = kernel, even = kernel;
  std::fill(zeros.weights.begin(), zeros.weights.end(), int16_t{0});
  even.width = 4;
  EXPECT_THROW(lcConvolveNxM(flatPels<uint8_t>(9, 9, 1), dst, {zeros, lcBoundaryMode::Reflected}),
               lcConvolveParams::ZeroKernel);
  EXPECT_THROW(lcConvolveNxM(flatPels<uint8_t>(9, 9, 1), dst, {even, lcBoundaryMode::Reflected}),
               lcConvolveParams::BadArgument);
}

}  // namespace
