#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "ip/median/median3x3.h"
#include "ip/median/median_nxm.h"
#include "kernel_test_util.h"
#include "std/pelbuf/pel_errors.h"

namespace {

// Sorts what takes part, by the rules of median_nxm.h: positions beyond the input, not
// cared for, or masked out do not; the lower middle of an even count; 0 for none.
template <class T>
std::pair<T, bool> referenceMedian(const lcPelBuffer<T>& src, const lcPelBuffer<uint8_t>& kernel,
                                   const lcPelBuffer<uint8_t>* take, int32_t x, int32_t y) {
  std::vector<T> values;
  const lcPelRect in = src.bufferRect();
  for (int32_t r = 0; r < kernel.height(); ++r)
    for (int32_t c = 0; c < kernel.width(); ++c) {
      const int32_t ix = x - kernel.width() / 2 + c, iy = y - kernel.height() / 2 + r;
      if (*kernel.pelAddress(c, r) == 0 || ix < in.x0 || ix >= in.x1 || iy < in.y0 || iy >= in.y1)
        continue;
      if (take != nullptr) {
        const lcPelRect at = take->bufferRect();
        if (ix < at.x0 || ix >= at.x1 || iy < at.y0 || iy >= at.y1 ||
            *take->pelAddress(ix, iy) == 0)
          continue;
      }
      values.push_back(*src.pelAddress(ix, iy));
    }
  if (values.empty()) return {T{0}, false};
  std::sort(values.begin(), values.end());
  return {values[(values.size() - 1) / 2], true};
}

lcPelBuffer<uint8_t> randomMask(std::mt19937& random, int32_t width, int32_t height, int percent,
                                int32_t x0 = 0, int32_t y0 = 0) {
  lcPelBuffer<uint8_t> mask = randomPels<uint8_t>(random, width, height, x0, y0);
  std::uniform_int_distribution<int> chance(0, 99);
  const lcPelRows<uint8_t> rows = mask.rows();
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      rows[y][x] = chance(random) < percent ? uint8_t(1 + chance(random)) : 0;
  return mask;
}

// carePercent 100 gives whole rectangles of care positions.
template <class T>
void expectNxMMatchesTheReference(uint32_t seed, int carePercent = 75) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int32_t> size(1, 13), odd(0, 4), place(-5, 5);
  for (int round = 0; round < 12; ++round) {
    const int32_t width = round == 0 ? 1 : size(random), height = round == 1 ? 1 : size(random);
    const lcPelBuffer<T> src = randomPels<T>(random, width, height, place(random), place(random));
    lcMedianNxMParams params;
    // Windows up to 9 x 9, larger than many of the images.
    params.kernelMask = randomMask(random, 2 * odd(random) + 1, 2 * odd(random) + 1, carePercent);
    if (round % 2 == 1)
      params.imageMask =
          randomMask(random, size(random), size(random), 70, src.bufferRect().x0 + place(random),
                     src.bufferRect().y0 + place(random));
    const lcPelBuffer<T> result = expectEveryWayAgrees([&] {
      lcPelBuffer<T> dst;
      lcMedianNxM(src, dst, params);
      return dst;
    });
    ASSERT_EQ(result.bufferRect(), src.bufferRect());
    const lcPelRect at = src.bufferRect();
    for (int32_t y = at.y0; y < at.y1; ++y)
      for (int32_t x = at.x0; x < at.x1; ++x)
        ASSERT_EQ(*result.pelAddress(x, y),
                  (referenceMedian(src, params.kernelMask,
                                   params.imageMask.isBound() ? &params.imageMask : nullptr, x, y)
                       .first))
            << "round " << round << " at " << x << "," << y;
  }
}

}  // namespace

TEST(Median3x3, TwinsAgreeWithTheSortedMiddleOfEveryBlock) {
  std::mt19937 random(3);
  for (auto [width, height] : {std::pair{3, 3}, {70, 5}, {3, 40}, {131, 17}}) {
    const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, width, height, -4, 9);
    const lcPelBuffer<uint8_t> result = expectEveryWayAgrees([&] {
      lcPelBuffer<uint8_t> dst;
      lcMedian3x3(src, dst);
      return dst;
    });
    ASSERT_EQ(result.bufferRect(), (lcPelRect{-3, 10, -4 + width - 1, 9 + height - 1}));
    lcPelBuffer<uint8_t> all = flatPels<uint8_t>(3, 3, 255);
    for (int32_t y = 0; y < height - 2; ++y)
      for (int32_t x = 0; x < width - 2; ++x)
        ASSERT_EQ(result.rows()[y][x], referenceMedian(src, all, nullptr, x - 3, y + 10).first);
  }
}

TEST(Median3x3, RemovesAnImpulseKeepsAStepAndRefusesSmallInputs) {
  lcPelBuffer<uint8_t> src = flatPels<uint8_t>(6, 5, 10);
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 3; x < 6; ++x)
      *src.pelAddress(x, y) = 200;
  *src.pelAddress(1, 2) = 255;
  lcPelBuffer<uint8_t> dst;
  lcMedian3x3(src, dst);
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(dst.rows()[y][x], x + 1 < 3 ? 10 : 200) << x << "," << y;
  lcPelBuffer<uint8_t> unbound, out;
  EXPECT_THROW(lcMedian3x3(unbound, out), lcPel::UnboundWindow);
  EXPECT_THROW(lcMedian3x3(flatPels<uint8_t>(2, 9, 1), out), lcPel::BadWindow);
}

TEST(MedianNxM, EightBitTwinsAgreeWithTheReference) {
  expectNxMMatchesTheReference<uint8_t>(5);
}

TEST(MedianNxM, EightBitRectanglesAgreeWithTheReference) {
  expectNxMMatchesTheReference<uint8_t>(7, 100);
}

// Rows of several vectors and a ragged end, for every window size the selection networks
// take; the edge results come from the rule.
TEST(MedianNxM, SmallRectanglesAgreeWithTheReferenceOnWideRows) {
  std::mt19937 random(11);
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 151, 12, -2, 3);
  for (int32_t columns = 1; columns <= 9; columns += 2)
    for (int32_t rows = 1; rows <= 9; rows += 2) {
      lcMedianNxMParams params;
      params.kernelMask = flatPels<uint8_t>(columns, rows, 255);
      const lcPelBuffer<uint8_t> result = expectEveryWayAgrees([&] {
        lcPelBuffer<uint8_t> dst;
        lcMedianNxM(src, dst, params);
        return dst;
      });
      const lcPelRect at = src.bufferRect();
      for (int32_t y = at.y0; y < at.y1; ++y)
        for (int32_t x = at.x0; x < at.x1; ++x)
          ASSERT_EQ(*result.pelAddress(x, y),
                    referenceMedian(src, params.kernelMask, nullptr, x, y).first)
              << columns << "x" << rows << " at " << x << "," << y;
    }
}

// Wide enough for several stripes of column histograms, tall enough for many bands.
TEST(MedianNxM, LargeRectanglesAgreeAcrossStripesAndBands) {
  std::mt19937 random(9);
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 600, 60, 3, -2);
  for (int32_t size : {5, 21}) {
    lcMedianNxMParams params;
    params.kernelMask = flatPels<uint8_t>(size, size - 2 * (size / 4), 255);
    params.imageMask = randomMask(random, 560, 50, 90, 20, 4);
    expectBandsAgree([&] {
      lcPelBuffer<uint8_t> dst;
      lcMedianNxM(src, dst, params);
      return dst;
    });
  }
}

TEST(MedianNxM, SixteenBitTwinsAgreeWithTheReference) {
  expectNxMMatchesTheReference<uint16_t>(6);
}

TEST(MedianNxM, EvenCountsTakeTheLowerMiddleAndNoCarePixelGivesZero) {
  lcPelBuffer<uint8_t> src = flatPels<uint8_t>(2, 1, 10);
  *src.pelAddress(1, 0) = 20;
  lcMedianNxMParams params;
  params.kernelMask = flatPels<uint8_t>(3, 1, 255);
  lcPelBuffer<uint8_t> dst;
  lcMedianNxM(src, dst, params);
  EXPECT_EQ(*dst.pelAddress(0, 0), 10);
  EXPECT_EQ(*dst.pelAddress(1, 0), 10);
  params.imageMask = flatPels<uint8_t>(2, 1, 255);
  *params.imageMask.pelAddress(0, 0) = 0;
  lcPelBuffer<uint8_t> masked;
  lcMedianNxM(src, masked, params);
  EXPECT_EQ(*masked.pelAddress(0, 0), 20);
  params.kernelMask = flatPels<uint8_t>(1, 1, 0);
  lcPelBuffer<uint8_t> none;
  lcMedianNxM(src, none, params);
  EXPECT_TRUE(allPelsAre<uint8_t>(none, 0));
  params.kernelMask = flatPels<uint8_t>(2, 1, 255);
  EXPECT_THROW(lcMedianNxM(src, none, params), lcFilterDefs::BadKernelSize);
}

TEST(MedianNxM, RangeBuffersUseOnlyValidPixelsAndMarkEmptyWindowsInvalid) {
  std::mt19937 random(8);
  const lcPelBuffer<uint16_t> pels = randomPels<uint16_t>(random, 9, 7, 2, 3);
  const lcPelBuffer<uint8_t> validity = randomMask(random, 9, 7, 30, 2, 3);
  const lcPelBufferRange16 src(pels, validity, {0, 4000});
  lcMedianNxMParams params;
  params.kernelMask = flatPels<uint8_t>(3, 3, 255);
  params.imageMask = randomMask(random, 8, 8, 80, 1, 2);
  lcPelBufferRange16 dst;
  lcMedianNxM(src, dst, params);
  EXPECT_EQ(dst.range(), src.range());
  lcPelBuffer<uint8_t> take = flatPels<uint8_t>(9, 7, 0);
  take.setOffset(2, 3);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 9; ++x) {
      const lcPelRect m = params.imageMask.bufferRect();
      const int32_t mx = x + 2, my = y + 3;
      const bool masked = mx >= m.x0 && mx < m.x1 && my >= m.y0 && my < m.y1 &&
                          *params.imageMask.pelAddress(mx, my) != 0;
      *take.pelAddress(mx, my) = masked && *validity.pelAddress(mx, my) != 0 ? 255 : 0;
    }
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 9; ++x) {
      const auto [value, valid] = referenceMedian(pels, params.kernelMask, &take, x + 2, y + 3);
      EXPECT_EQ(dst.pels().rows()[y][x], value);
      EXPECT_EQ(dst.mask().rows()[y][x], valid ? 255 : 0);
    }
}
