#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "ip/smplconv/gauss_kernels.h"
#include "ip/smplconv/sample_convolve.h"
#include "kernel_test_util.h"

namespace {

template <class T>
lcPelBuffer<T> convolved(const lcPelBuffer<T>& src, const lcSampleConvolveParams& params) {
  lcPelBuffer<T> dst;
  lcSampleConvolve(src, dst, params);
  return dst;
}

template <class T>
lcPelBuffer<T> row(const std::vector<int>& values, int32_t x0 = 0) {
  lcPelBuffer<T> buffer;
  buffer.allocate(int32_t(values.size()), 1, x0, 0);
  for (std::size_t x = 0; x < values.size(); ++x)
    buffer.rows()[0][x] = T(values[x]);
  return buffer;
}

template <class T>
std::vector<int> valuesOf(const lcPelBuffer<T>& buffer) {
  std::vector<int> values;
  for (int32_t x = 0; x < buffer.width(); ++x)
    values.push_back(buffer.rows()[0][x]);
  return values;
}

lcSampleConvolveParams across(std::vector<int32_t> kernel, double rate) {
  return {std::move(kernel), {1}, rate, 1.0};
}

TEST(SampleConvolve, ConvolvesMirroredRowsAndInterpolatesBetweenPixels) {
  // 1 2 1 over 0 | 8 0 0 4 | 0 mirrored: (0 + 16 + 0) / 4, (8 + 0 + 0) / 4, ...
  EXPECT_EQ(valuesOf(convolved(row<uint8_t>({8, 0, 0, 4}), across({1, 2, 1}, 1.0))),
            (std::vector<int>{4, 2, 1, 2}));
  // The kernel is turned: 0 0 1 puts each pixel's left neighbour in its place.
  EXPECT_EQ(valuesOf(convolved(row<uint8_t>({5, 6, 7}), across({0, 0, 1}, 1.0))),
            (std::vector<int>{6, 5, 6}));
  // Rate 2 samples the centre of each pair: their mean, halves away from zero.
  EXPECT_EQ(valuesOf(convolved(row<uint8_t>({10, 20, 1, 2, 7}), across({1}, 2.0))),
            (std::vector<int>{15, 2}));
  // Rate 1/2: samples at -1/4, 1/4, 3/4, 5/4 of the pixel indexes.
  EXPECT_EQ(valuesOf(convolved(row<uint16_t>({1000, 2000}), across({3}, 0.5))),
            (std::vector<int>{1250, 1250, 1750, 1750}));
  // Negative results clamp to 0; D is the larger of the weight sums.
  EXPECT_EQ(valuesOf(convolved(row<uint8_t>({0, 200, 0}), across({-1, 2, -1}, 1.0))),
            (std::vector<int>{0, 200, 0}));
  EXPECT_EQ(valuesOf(convolved(row<uint16_t>({65535, 65534, 65535}), across({1, 1, 1}, 1.0))),
            (std::vector<int>{65534, 65535, 65534}));
}

TEST(SampleConvolve, TheOutputHoldsThePixelsWhoseSpanCentreLiesInTheWindow) {
  // window x0, x1, rate; first and last output (exclusive)
  const std::tuple<int32_t, int32_t, double, int32_t, int32_t> cases[] = {
      {0, 4, 2.0, 0, 2},   {1, 6, 2.0, 0, 3},    {0, 2, 0.5, 0, 4}, {0, 2, 3.0, 0, 1},
      {-5, 0, 2.5, -2, 0}, {3, 4, 0.25, 12, 16}, {0, 7, 1.0, 0, 7}};
  for (const auto& [x0, x1, rate, first, last] : cases) {
    const lcPelRect rect = lcSampleConvolvePlace(across({1}, rate), {x0, 0, x1, 1}).destination;
    EXPECT_EQ(rect.x0, first) << x0 << ".." << x1 << " at " << rate;
    EXPECT_EQ(rect.x1, last) << x0 << ".." << x1 << " at " << rate;
  }
  EXPECT_TRUE(lcSampleConvolvePlace(across({1}, 3.0), {2, 0, 3, 1}).destination.isEmpty());
  EXPECT_THROW(lcSampleConvolvePlace(across({1}, 1e-300), {0, 0, 5, 1}), lcPelFunc::Range);
  for (const auto& bad : {across({1, 1}, 1.0), across({0, 0, 0}, 1.0), across({129}, 1.0),
                          across({1}, 0.0), across(std::vector<int32_t>(129, 1), 1.0)})
    EXPECT_THROW(lcSampleConvolvePlace(bad, {0, 0, 2, 1}), lcSampleConvolveDefs::BadParams);
}

TEST(SampleConvolve, GaussKernelsPeakAt128AndWidenWithTheRate) {
  EXPECT_EQ(lcGaussKernel(0), (std::vector<int32_t>{128}));
  EXPECT_EQ(lcGaussKernel(1), (std::vector<int32_t>{1, 17, 78, 128, 78, 17, 1}));
  EXPECT_EQ(lcGaussKernel(1e9).size(), 127u);
  EXPECT_EQ(lcGaussSampleSigma(1), 0);
  EXPECT_DOUBLE_EQ(lcGaussSampleSigma(2), std::sqrt(3.0) / 2);
  EXPECT_THROW(lcGaussKernel(-1), lcSampleConvolveDefs::BadParams);
}

TEST(SampleConvolve, TwinsAgreeOnOddSizesOffsetsRatesAndKernels) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int32_t> size(1, 70), offset(-20, 20), weight(-128, 128);
  std::uniform_int_distribution<int32_t> half(0, 5);
  const double rates[] = {1.0, 2.0, 0.7, 1.5, 3.3, 0.25};
  const auto kernel = [&](int32_t n) {
    std::vector<int32_t> k(std::size_t(2 * n + 1));
    for (auto& w : k)
      w = weight(random);
    k[std::size_t(n)] = 128;  // never all zeros
    return k;
  };
  for (int round = 0; round < 12; ++round) {
    const int32_t w = size(random), h = size(random) / 3 + 1;
    const lcSampleConvolveParams params{kernel(round == 3 ? 63 : half(random)),
                                        kernel(half(random)), rates[round % 6],
                                        rates[(round + 2) % 6]};
    const auto pels8 = randomPels<uint8_t>(random, w, h, offset(random), offset(random));
    const auto pels16 = randomPels<uint16_t>(random, w, h, offset(random), offset(random));
    expectEveryWayAgrees([&] { return convolved(pels8, params); });
    expectEveryWayAgrees([&] { return convolved(pels16, params); });
  }
  const lcPelBuffer<uint8_t> large = patternPels<uint8_t>(1201, 1403);
  expectBandsAgree([&] {
    return convolved(large, {lcGaussKernel(1.2), lcGaussKernel(0.9), 1.7, 1.3});
  });
}

}  // namespace
