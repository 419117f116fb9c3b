#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "ip/sampling/expand.h"
#include "ip/sampling/gauss_sample.h"
#include "ip/sampling/subsample.h"
#include "kernel_test_util.h"

namespace {

template <class T>
lcPelBuffer<T> subSampled(const lcPelBuffer<T>& src, const lcSubSampleParams& params) {
  lcPelBuffer<T> dst;
  lcSubSample(src, dst, params);
  return dst;
}

template <class T>
lcPelBuffer<T> expanded(const lcPelBuffer<T>& src, const lcExpandParams& params) {
  lcPelBuffer<T> dst;
  lcExpand(src, dst, params);
  return dst;
}

lcPelBuffer<uint8_t> gaussSampled(const lcPelBuffer<uint8_t>& src, const lcGaussSampleParams& p) {
  lcPelBuffer<uint8_t> dst;
  lcGaussSample(src, dst, p);
  return dst;
}

lcPelBuffer<uint8_t> row(const std::vector<uint8_t>& values, int32_t x0 = 0) {
  lcPelBuffer<uint8_t> buffer;
  buffer.allocate(int32_t(values.size()), 1, x0, 0);
  for (std::size_t x = 0; x < values.size(); ++x)
    buffer.rows()[0][x] = values[x];
  return buffer;
}

std::vector<int> valuesOf(const lcPelBuffer<uint8_t>& buffer) {
  std::vector<int> values;
  for (int32_t x = 0; x < buffer.width(); ++x)
    values.push_back(buffer.rows()[0][x]);
  return values;
}

TEST(SubSample, TheOutputHoldsThePixelsWhosePickedPixelLiesInTheWindow) {
  // window x0, x1, factor; first and last output (exclusive)
  const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t> cases[] = {
      {0, 7, 3, 0, 2}, {0, 8, 3, 0, 3}, {2, 9, 3, 1, 3}, {-5, 0, 2, -2, 0},
      {0, 1, 2, 0, 1}, {5, 6, 4, 1, 2}, {0, 5, 1, 0, 5}, {-7, -1, 4, -2, 0}};
  for (const auto& [x0, x1, factor, first, last] : cases) {
    const lcPelRect rect = lcSubSamplePlace({factor, 1, false}, {x0, 0, x1, 1}).destination;
    EXPECT_EQ(rect.x0, first) << x0 << ".." << x1 << " by " << factor;
    EXPECT_EQ(rect.x1, last) << x0 << ".." << x1 << " by " << factor;
  }
  EXPECT_TRUE(lcSubSamplePlace({2, 1, false}, {1, 0, 2, 1}).destination.isEmpty());
  EXPECT_THROW(lcSubSamplePlace({0, 1, false}, {0, 0, 2, 1}), lcPelFunc::BadParams);

  const lcPelBuffer<uint8_t> src = patternPels<uint8_t>(8, 8);
  for (int32_t factor : {2, 3}) {
    const lcPelBuffer<uint8_t> dst = subSampled(src, {factor, factor, false});
    const int32_t pick = (factor - 1) / 2;  // by 3: 1, 4, 7; by 2: 0, 2, 4, 6
    for (int32_t j = 0; j < dst.height(); ++j)
      for (int32_t i = 0; i < dst.width(); ++i)
        EXPECT_EQ(*dst.pelAddress(i, j), *src.pelAddress(i * factor + pick, j * factor + pick));
  }
  EXPECT_TRUE(samePels(subSampled(src, {1, 1, true}), src));
}

TEST(SubSample, AveragesRoundHalfUpOverTheBlockPixelsInsideTheWindow) {
  EXPECT_EQ(valuesOf(subSampled(row({1, 2, 4}), {2, 1, true})), (std::vector<int>{2, 4}));
  EXPECT_EQ(valuesOf(subSampled(row({1, 2, 4, 9, 9, 9}, 1), {3, 1, true})),
            (std::vector<int>{2, 7}));  // blocks {1, 2}, {4, 9, 9}; pick 7 lies outside
}

TEST(Expand, EveryPixelBecomesABlockAndTheOffsetScales) {
  lcPelBuffer<uint8_t> src = row({5, 6});
  src.setOffset(-1, 2);
  const lcPelBuffer<uint8_t> dst = expanded(src, {3, 2});
  EXPECT_EQ(dst.bufferRect(), (lcPelRect{-3, 4, 3, 6}));
  for (int32_t y = 4; y < 6; ++y)
    for (int32_t x = -3; x < 3; ++x)
      EXPECT_EQ(*dst.pelAddress(x, y), x < 0 ? 5 : 6);
  EXPECT_THROW(expanded(row({1}, 1 << 20), {1 << 12, 1}), lcPelFunc::Range);
}

TEST(GaussSample, TheBellIsThreeBoxesAndFlatImagesStayFlat) {
  // An impulse of 243 across, smoothness 2: 243 / 27 times the bell 1 3 6 7 6 3 1.
  std::vector<uint8_t> impulse(11, 0);
  impulse[5] = 243;
  EXPECT_EQ(valuesOf(gaussSampled(row(impulse), {1, 1, 2, 0})),
            (std::vector<int>{0, 0, 9, 27, 54, 63, 54, 27, 9, 0, 0}));
  // Odd smoothness: the bell 1 3 3 1 reaches two pixels left, one right.
  std::vector<uint8_t> step(6, 0);
  step[3] = 64;
  EXPECT_EQ(valuesOf(gaussSampled(row(step), {1, 1, 1, 0})),
            (std::vector<int>{0, 0, 8, 24, 24, 8}));
  EXPECT_EQ(valuesOf(gaussSampled(row(step), {1, 1, 1, 0, 0.5})),
            (std::vector<int>{0, 0, 4, 12, 12, 4}));
  for (int32_t s : {0, 1, 2, 5, 9})
    EXPECT_TRUE(allPelsAre(gaussSampled(flatPels<uint8_t>(9, 4, 77), {2, 3, s, s}), uint8_t(77)));
  EXPECT_TRUE(
      allPelsAre(gaussSampled(flatPels<uint8_t>(3, 3, 100), {1, 1, 2, 2, 4.0}), uint8_t(255)));
  EXPECT_TRUE(allPelsAre(gaussSampled(flatPels<uint8_t>(3, 3, 100), {1, 1, 2, 2, 4.0, false}),
                         uint8_t(144)));  // 400 keeps its low 8 bits
  EXPECT_THROW(lcGaussSampleParams(1, 1, 2, 2, 3.0), lcGaussSampleParams::BadParams);
  EXPECT_THROW(lcGaussSampleParams(0, 1), lcGaussSampleParams::BadParams);
  EXPECT_THROW(lcGaussSampleParams(1, 1, -1), lcGaussSampleParams::BadParams);
}

TEST(Sampling, TwinsAgreeOnOddSizesOffsetsAndFactors) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int32_t> size(1, 90), offset(-20, 20), factor(1, 4);
  for (int round = 0; round < 10; ++round) {
    const int32_t w = size(random), h = size(random) / 3 + 1;
    const auto pels8 = randomPels<uint8_t>(random, w, h, offset(random), offset(random));
    const auto pels16 = randomPels<uint16_t>(random, w, h, offset(random), offset(random));
    const int32_t fx = round < 4 ? 2 : factor(random), fy = round < 4 ? 2 : factor(random);
    for (bool average : {false, true}) {
      expectEveryWayAgrees([&] { return subSampled(pels8, {fx, fy, average}); });
      expectEveryWayAgrees([&] { return subSampled(pels16, {fx, fy, average}); });
    }
    expectEveryWayAgrees([&] { return expanded(pels8, {fx, fy}); });
    expectEveryWayAgrees([&] { return expanded(pels16, {fx, fy}); });
    const int32_t s = round % 7;  // 6: sums beyond 16 bits, the portable rule
    const double scale = std::ldexp(1.0, round % 5 - 2);
    expectEveryWayAgrees([&] { return gaussSampled(pels8, {fx, fy, s, (s + 1) % 4, scale}); });
  }
  const lcPelBuffer<uint8_t> large = patternPels<uint8_t>(1201, 1403);
  expectBandsAgree([&] { return subSampled(large, {2, 2, true}); });
  expectBandsAgree([&] { return expanded(large, {2, 2}); });
  expectBandsAgree([&] { return gaussSampled(large, {2, 2, 2, 2}); });
}

}  // namespace
