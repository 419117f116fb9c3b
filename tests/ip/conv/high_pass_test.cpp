#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "ip/conv/high_pass.h"
#include "kernel_test_util.h"
#include "mirror.h"

namespace {

// Three boxes of s + 1 ones convolved: 3s + 1 weights.
std::vector<int64_t> bell(int32_t s) {
  std::vector<int64_t> weights{1};
  for (int pass = 0; pass < 3; ++pass) {
    std::vector<int64_t> wider(weights.size() + static_cast<std::size_t>(s), 0);
    for (std::size_t i = 0; i < weights.size(); ++i)
      for (std::size_t k = 0; k <= static_cast<std::size_t>(s); ++k)
        wider[i + k] += weights[i];
    weights = wider;
  }
  return weights;
}

// The filter stated plainly: the bell centred on the pixel (half a pixel up or left for
// odd s), the exact weighted sum over the mirrored image, the mean rounded half up.
lcPelBuffer<uint8_t> referenceHighPass(const lcPelBuffer<uint8_t>& src, int32_t sx, int32_t sy) {
  const std::vector<int64_t> across = bell(sx), down = bell(sy);
  const int32_t left = (3 * sx + 1) / 2, up = (3 * sy + 1) / 2;
  const int64_t total = static_cast<int64_t>(std::pow((sx + 1) * (sy + 1), 3));
  lcPelBuffer<uint8_t> out = flatPels<uint8_t>(src.width(), src.height(), 0);
  out.setOffset(src.offsetX(), src.offsetY());
  for (int32_t y = 0; y < src.height(); ++y) {
    for (int32_t x = 0; x < src.width(); ++x) {
      int64_t sum = 0;
      for (std::size_t j = 0; j < down.size(); ++j)
        for (std::size_t i = 0; i < across.size(); ++i)
          sum += down[j] * across[i] *
                 src.rows()[mirrored(y - up + int32_t(j), src.height())]
                           [mirrored(x - left + int32_t(i), src.width())];
      const auto g = static_cast<int32_t>((sum + total / 2) / total);
      out.rows()[y][x] = static_cast<uint8_t>(std::clamp(src.rows()[y][x] - g + 128, 0, 255));
    }
  }
  return out;
}

lcPelBuffer<uint8_t> highPassEveryWay(const lcPelBuffer<uint8_t>& src, int32_t sx, int32_t sy) {
  return expectEveryWayAgrees([&] {
    lcPelBuffer<uint8_t> dst;
    lcHighPass(src, dst, {sx, sy});
    return dst;
  });
}

TEST(HighPass, SigmaIsHalfTheRootOfSTimesSPlusTwo) {
  EXPECT_EQ(lcHighPassSigma(0), 0);
  EXPECT_DOUBLE_EQ(lcHighPassSigma(2), std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(lcHighPassSigma(7), 0.5 * std::sqrt(63.0));
}

TEST(HighPass, MatchesTheTripleBoxRuleOnRandomImagesWhicheverWayItRuns) {
  std::mt19937 random(37);
  std::uniform_int_distribution<int32_t> size(1, 70), offset(-9, 9);
  const std::pair<int32_t, int32_t> smoothness[] = {{0, 0}, {1, 2}, {2, 2}, {3, 0},
                                                    {0, 4}, {5, 1}, {6, 9}, {15, 15}};
  for (const auto& [sx, sy] : smoothness) {
    const lcPelBuffer<uint8_t> src =
        randomPels<uint8_t>(random, size(random), size(random), offset(random), offset(random));
    EXPECT_TRUE(samePels(highPassEveryWay(src, sx, sy), referenceHighPass(src, sx, sy)))
        << "smoothness " << sx << ", " << sy << " on " << src.width() << "x" << src.height();
  }
  // Bells many times wider than the image reflect again and again.
  const lcPelBuffer<uint8_t> tiny = randomPels<uint8_t>(random, 2, 3);
  EXPECT_TRUE(samePels(highPassEveryWay(tiny, 7, 4), referenceHighPass(tiny, 7, 4)));
}

TEST(HighPass, FlatImagesAndNoSmoothingGive128AndBandsChangeNoPixel) {
  EXPECT_TRUE(allPelsAre(highPassEveryWay(flatPels<uint8_t>(99, 5, 201), 3, 2), uint8_t{128}));
  std::mt19937 random(41);
  EXPECT_TRUE(allPelsAre(highPassEveryWay(randomPels<uint8_t>(random, 77, 6), 0, 0), uint8_t{128}));
  const lcPelBuffer<uint8_t> large = randomPels<uint8_t>(random, 700, 640);  // several bands
  expectBandsAgree([&] {
    lcPelBuffer<uint8_t> dst;
    lcHighPass(large, dst, {2, 3});
    return dst;
  });
}

TEST(HighPass, RefusesSmoothnessOutside0To255) {
  lcPelBuffer<uint8_t> dst;
  for (const auto& [sx, sy] : {std::pair{-1, 0}, {0, -1}, {256, 0}, {0, 256}})
    EXPECT_THROW(lcHighPass(flatPels<uint8_t>(4, 4, 0), dst, {sx, sy}),
                 lcConvolveParams::BadArgument);
}

}  // namespace
