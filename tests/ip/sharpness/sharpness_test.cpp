#include <gtest/gtest.h>

#include <functional>

#include "ip/sharpness/gradient_energy.h"
#include "ip/sharpness/sharpness.h"
#include "kernel_test_util.h"

using namespace lcImageSharpnessDefs;

namespace {

lcPelBuffer<uint8_t> imageOf(int32_t width, int32_t height,
                             const std::function<int(int32_t, int32_t)>& pel) {
  lcPelBuffer<uint8_t> buffer = flatPels<uint8_t>(width, height, 0);
  const lcPelRows<uint8_t> rows = buffer.rows();
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      rows[y][x] = static_cast<uint8_t>(pel(x, y));
  return buffer;
}

// Squares of `side` pixels, 40 and 200.
int checker(int32_t x, int32_t y, int32_t side) {
  return ((x / side + y / side) % 2) ? 200 : 40;
}

// The checkerboard averaged over a (2r + 1)-pixel box: edges become ramps.
lcPelBuffer<uint8_t> blurredChecker(int32_t size, int32_t side, int32_t r) {
  return imageOf(size, size, [=](int32_t x, int32_t y) {
    int sum = 0;
    for (int32_t j = -r; j <= r; ++j)
      for (int32_t i = -r; i <= r; ++i)
        sum += checker(x + i + side, y + j + side, side);
    return sum / ((2 * r + 1) * (2 * r + 1));
  });
}

// The gradient sums as two pixels, for the twin checks that compare buffers.
lcPelBuffer<double> sumsOf(const lcPelBuffer<uint8_t>& src) {
  const lcGradientSums sums = lcGradientEnergySums(src);
  lcPelBuffer<double> out = flatPels<double>(2, 1, 0.0);
  out.rows()[0][0] = double(sums.energy), out.rows()[0][1] = double(sums.sum);
  return out;
}

Params paramsFor(int32_t algorithm) {
  Params params;
  params.algorithm = algorithm;
  return params;
}

}  // namespace

TEST(GradientEnergy, FastAndPortableSumsAgree) {
  std::mt19937 random(5);
  for (int32_t width : {1, 2, 15, 16, 17, 33, 70, 257}) {
    const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, width, 9, 1, 2);
    expectEveryWayAgrees([&] { return sumsOf(src); });
  }
  const lcPelBuffer<uint8_t> large = patternPels<uint8_t>(1500, 1100);  // several bands
  expectBandsAgree([&] { return sumsOf(large); });
}

TEST(ImageSharpness, EachMeasureIsZeroWhenFlatAndPrefersTheSharperImage) {
  const lcPelBuffer<uint8_t> flat = flatPels<uint8_t>(48, 48, 90);
  const lcPelBuffer<uint8_t> sharp =
      imageOf(48, 48, [](int32_t x, int32_t y) { return checker(x, y, 4); });
  const lcPelBuffer<uint8_t> blurred = blurredChecker(48, 4, 1);
  for (int32_t algorithm : {autoCorrelation, absDiff, bandPass, gradientEnergy}) {
    const Params params = paramsFor(algorithm);
    EXPECT_EQ(lcImageSharpnessScore(flat, params), 0.0) << "algorithm " << algorithm;
    EXPECT_GT(lcImageSharpnessScore(sharp, params), lcImageSharpnessScore(blurred, params))
        << "algorithm " << algorithm;
  }
}

TEST(ImageSharpness, OnePixelCheckerboardGivesTheExtremeScores) {
  const int32_t w = 9, h = 6;
  const lcPelBuffer<uint8_t> board =
      imageOf(w, h, [](int32_t x, int32_t y) { return (x + y) % 2 ? 255 : 0; });
  EXPECT_EQ(lcImageSharpnessScore(board, paramsFor(absDiff)), 255.0);
  const double energy = double(w - 1) * (h - 1) * 2 * 255 * 255, sum = 27.0 * 255;
  EXPECT_DOUBLE_EQ(lcImageSharpnessScore(board, paramsFor(gradientEnergy)),
                   w * h * energy / (sum * sum));

  // Every pixel caring changes nothing; smoothing blurs the board and lowers its score.
  const lcPelBuffer<uint8_t> care = flatPels<uint8_t>(w, h, 255);
  EXPECT_DOUBLE_EQ(lcImageSharpnessScore(board, paramsFor(gradientEnergy), &care),
                   w * h * energy / (sum * sum));
  Params smoothed = paramsFor(gradientEnergy);
  smoothed.lowPassSmoothing = 1;
  EXPECT_LT(lcImageSharpnessScore(board, smoothed),
            lcImageSharpnessScore(board, paramsFor(gradientEnergy)));
}

TEST(ImageSharpness, RefusesWhatItCannotScore) {
  const lcPelBuffer<uint8_t> image = flatPels<uint8_t>(8, 8, 3);
  const lcPelBuffer<uint8_t> mask = flatPels<uint8_t>(8, 8, 255);
  const lcPelBuffer<uint8_t> smallMask = flatPels<uint8_t>(7, 8, 255);
  Params noisy = paramsFor(autoCorrelation), inverted = paramsFor(bandPass),
         negative = paramsFor(gradientEnergy);
  noisy.noiseLevel = -1;
  inverted.lowFrequency = 0.4, inverted.highFrequency = 0.3;
  negative.lowPassSmoothing = -1;
  EXPECT_THROW(lcImageSharpnessScore(lcPelBuffer<uint8_t>(), paramsFor(absDiff)), UnboundWindow);
  EXPECT_THROW(lcImageSharpnessScore(image, paramsFor(7)), InternalError);
  EXPECT_THROW(lcImageSharpnessScore(image, paramsFor(sobelMagnitude)), NotImplemented);
  EXPECT_THROW(lcImageSharpnessScore(image, paramsFor(absDiff), &mask), NotImplemented);
  EXPECT_THROW(lcImageSharpnessScore(image, paramsFor(gradientEnergy), &smallMask), BadMask);
  EXPECT_THROW(lcImageSharpnessScore(image, noisy), BadParams);
  EXPECT_THROW(lcImageSharpnessScore(image, inverted), BadParams);
  EXPECT_THROW(lcImageSharpnessScore(image, negative), BadParams);
  EXPECT_THROW(lcImageSharpnessScore(flatPels<uint8_t>(2, 8, 1), paramsFor(autoCorrelation)),
               lcPel::BadWindow);
  EXPECT_THROW(lcImageSharpnessScore(flatPels<uint8_t>(1, 8, 1), paramsFor(gradientEnergy)),
               ImageTooSmall);
}
