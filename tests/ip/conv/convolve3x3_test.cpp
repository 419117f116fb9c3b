#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <tuple>

#include "ip/conv/convolve3x3.h"
#include "kernel_test_util.h"
#include "std/pelbuf/pel_errors.h"

namespace {

using Weights = std::array<double, 9>;

Weights single(int position, double value = 1.0) {
  Weights weights{};
  weights[static_cast<std::size_t>(position)] = value;
  return weights;
}

TEST(Convolve3x3, PreparationScalesByThePowerOfTwoBelow32767OverTheLargerSignSum) {
  Weights halves = single(4);
  halves[0] = 3.0 / 32768;  // 1.5 once scaled by 2^14: rounds away from zero
  halves[8] = -3.0 / 32768;
  // weights, shift, the weights at positions 0, 4 and 8
  const std::tuple<Weights, int32_t, int16_t, int16_t, int16_t> cases[] = {
      {Weights{1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9.}, 14, 1820,
       1820, 1820},
      {single(4), 14, 0, 16384, 0},
      {Weights{1, 1, 1, 1, 1, 1, 1, 1, 1}, 11, 2048, 2048, 2048},
      {Weights{-1, 0, 0, 0, 2, 0, 0, 0, -0.5}, 13, -8192, 16384, -4096},  // M = 2
      {single(4, 5000), 2, 0, 20000, 0},                                  // q = 6.55
      {single(4, 20000), 0, 0, 20000, 0},                                 // q <= 2
      {single(4, -40000.4), 0, 0, static_cast<int16_t>(-40000), 0},       // low 16 bits
      {Weights{}, 0, 0, 0, 0},
      {halves, 14, 2, 16384, -2}};
  for (const auto& [weights, shift, nw, centre, se] : cases) {
    const lcConvolve3x3Params params = lcPrepareConvolve3x3(weights, 4);
    EXPECT_EQ(params.shift, shift) << weights[4];
    EXPECT_EQ(params.weights[0], nw) << weights[4];
    EXPECT_EQ(params.weights[4], centre) << weights[4];
    EXPECT_EQ(params.weights[8], se) << weights[4];
  }
  for (int32_t origin = 0; origin < 9; ++origin) {
    const lcConvolve3x3Params params = lcPrepareConvolve3x3(single(4), origin);
    EXPECT_EQ(params.originX, origin % 3 - 1);
    EXPECT_EQ(params.originY, origin / 3 - 1);
  }
  EXPECT_THROW(lcPrepareConvolve3x3(single(4), 9), lcConvolveParams::BadArgument);
  EXPECT_THROW(lcPrepareConvolve3x3(single(4), -1), lcConvolveParams::BadArgument);
  EXPECT_THROW(lcPrepareConvolve3x3(single(2, std::nan("")), 4), lcConvolveParams::BadArgument);
  EXPECT_THROW(lcPrepareConvolve3x3(single(2, INFINITY), 4), lcConvolveParams::BadArgument);
}

template <class Out>
lcPelBuffer<Out> filtered(const lcPelBuffer<uint8_t>& src, const lcConvolve3x3Params& params) {
  return expectEveryWayAgrees([&] {
    lcPelBuffer<Out> dst;
    lcConvolve3x3(src, dst, params);
    return dst;
  });
}

TEST(Convolve3x3, TheDefaultKernelGivesOneLessOnFlatAreasAndZeroForZero) {
  // Blocks of 4 columns of 0, 1, ..., 255: results 4v and 4v + 1 see only value v.
  lcPelBuffer<uint8_t> src;
  src.allocate(1024, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 1024; ++x)
      src.rows()[y][x] = static_cast<uint8_t>(x / 4);
  const auto params = lcPrepareConvolve3x3(
      Weights{1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9., 1 / 9.}, 4);
  const lcPelBuffer<uint8_t> result = filtered<uint8_t>(src, params);
  for (int32_t v = 0; v < 256; ++v)
    for (int32_t x : {4 * v, 4 * v + 1})
      for (int32_t y = 0; y < 2; ++y)
        ASSERT_EQ(result.rows()[y][x], v == 0 ? 0 : v - 1) << v;
}

TEST(Convolve3x3, ASingleWeightMovesPixelsAndTheOriginMovesTheResult) {
  std::mt19937 random(11);
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 9, 7, 20, 30);
  for (int position = 0; position < 9; ++position) {
    for (int32_t origin = 0; origin < 9; ++origin) {
      const auto params = lcPrepareConvolve3x3(single(position), origin);
      lcPelBuffer<int16_t> dst;
      lcConvolve3x3(src, dst, params);
      const int32_t dx = origin % 3 - 1, dy = origin / 3 - 1;
      ASSERT_EQ(dst.bufferRect(), (lcPelRect{21 + dx, 31 + dy, 28 + dx, 36 + dy}));
      // The weight at column c, row r meets the pixel (1 - c, 1 - r) from the centre.
      const int32_t c = position % 3, r = position / 3;
      for (int32_t y = 31 + dy; y < 36 + dy; ++y)
        for (int32_t x = 21 + dx; x < 28 + dx; ++x)
          ASSERT_EQ(*dst.pelAddress(x, y), *src.pelAddress(x - dx + 1 - c, y - dy + 1 - r))
              << "weight at " << position << ", origin " << origin;
    }
  }
}

TEST(Convolve3x3, ResultsBeyondTheRangeKeepTheirLowBits) {
  // weights, flat value, 16-bit result, 8-bit result
  const std::tuple<Weights, uint8_t, int16_t, uint8_t> cases[] = {
      {Weights{1, 1, 1, 1, 1, 1, 1, 1, 1}, 100, 900, 132},
      {single(4, -1), 100, -100, 156},
      {single(4, 40000), 3, static_cast<int16_t>(3 * static_cast<int16_t>(40000)), 192},
      {single(0, 2), 255, 510, 254}};
  for (const auto& [weights, value, wide, narrow] : cases) {
    const auto params = lcPrepareConvolve3x3(weights, 4);
    const lcPelBuffer<uint8_t> src = flatPels<uint8_t>(70, 4, value);
    EXPECT_TRUE(allPelsAre(filtered<int16_t>(src, params), wide)) << weights[4];
    EXPECT_TRUE(allPelsAre(filtered<uint8_t>(src, params), narrow)) << weights[4];
  }
}

TEST(Convolve3x3, TwinsAgreeOnRandomImagesWeightsAndOrigins) {
  std::mt19937 random(23);
  std::uniform_int_distribution<int32_t> size(3, 120), offset(-40, 40), origin(0, 8);
  std::uniform_real_distribution<double> weight(-3, 3), huge(-90000, 90000);
  for (int round = 0; round < 12; ++round) {
    Weights weights;
    for (double& w : weights)
      w = round % 4 == 3 ? huge(random) : weight(random);
    const auto params = lcPrepareConvolve3x3(weights, origin(random));
    const lcPelBuffer<uint8_t> src =
        randomPels<uint8_t>(random, size(random), size(random), offset(random), offset(random));
    filtered<int16_t>(src, params);
    filtered<uint8_t>(src, params);
  }
  const lcPelBuffer<uint8_t> large = patternPels<uint8_t>(1501, 1203);  // several bands
  const auto params = lcPrepareConvolve3x3(Weights{1, -2, 1, 3, 0.5, -3, 1, 2, 1}, 0);
  expectBandsAgree([&] {
    lcPelBuffer<uint8_t> dst;
    lcConvolve3x3(large, dst, params);
    return dst;
  });
}

TEST(Convolve3x3, RefusesTinyInputsDestinationsThatMissAndWorkingInPlace) {
  const auto params = lcPrepareConvolve3x3(single(4), 4);
  lcPelBuffer<uint8_t> dst, small = flatPels<uint8_t>(2, 2, 0);
  EXPECT_THROW(lcConvolve3x3(flatPels<uint8_t>(2, 9, 1), dst, params),
               lcConvolveParams::BadArgument);
  EXPECT_THROW(lcConvolve3x3(flatPels<uint8_t>(9, 2, 1), dst, params),
               lcConvolveParams::BadArgument);
  EXPECT_THROW(lcConvolve3x3(flatPels<uint8_t>(5, 5, 1), small, params), lcPel::BadWindow);
  lcPelBuffer<uint8_t> image = flatPels<uint8_t>(5, 5, 1), same = image;
  EXPECT_THROW(lcConvolve3x3(image, same, params), lcPelFunc::Overlap);
  EXPECT_THROW(lcConvolve3x3(lcPelBuffer<uint8_t>(), dst, params), lcPel::UnboundWindow);
}

}  // namespace
