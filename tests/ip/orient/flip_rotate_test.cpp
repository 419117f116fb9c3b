#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ip/orient/flip_rotate.h"
#include "kernel_test_util.h"
#include "std/math/xform_linear_object.h"

namespace {

template <class T>
lcPelBuffer<T> oriented(const lcPelBuffer<T>& src, int32_t operation) {
  lcPelBuffer<T> dst;
  lcFlipRotate(src, dst, operation);
  return dst;
}

// Every output pixel holds the source pixel that lies under its centre, where the
// output's transform places it: the pixels and the placement tell one story.
template <class T>
void expectPixelsKeepTheirPlace(const lcPelBuffer<T>& src, const lcPelBuffer<T>& dst) {
  const lc2XformLinear clientToSource = src.linearXform();
  const lc2XformLinear destinationToClient = dst.linearXform().inverse();
  const lcPelRect rect = dst.bufferRect();
  for (int32_t y = rect.y0; y < rect.y1; ++y)
    for (int32_t x = rect.x0; x < rect.x1; ++x) {
      const lc2Vector at =
          clientToSource.mapPoint(destinationToClient.mapPoint({x + 0.5, y + 0.5}));
      const int32_t sx = int32_t(std::floor(at.x)), sy = int32_t(std::floor(at.y));
      ASSERT_NEAR(at.x, sx + 0.5, 1e-6);
      ASSERT_NEAR(at.y, sy + 0.5, 1e-6);
      ASSERT_EQ(*dst.pelAddress(x, y), *src.pelAddress(sx, sy)) << x << "," << y;
    }
}

TEST(FlipRotate, Rotating90MovesTheBottomLeftPixelTopLeft) {
  lcPelBuffer<uint8_t> src;
  src.allocate(3, 2);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 3; ++x)
      *src.pelAddress(x, y) = uint8_t(10 * y + x);
  const lcPelBuffer<uint8_t> dst = oriented(src, 1);
  ASSERT_EQ(dst.bufferRect(), (lcPelRect{0, 0, 2, 3}));
  // Output (x, y) is input (y, H - 1 - x).
  for (int32_t y = 0; y < 3; ++y)
    for (int32_t x = 0; x < 2; ++x)
      EXPECT_EQ(*dst.pelAddress(x, y), *src.pelAddress(y, 1 - x));
}

TEST(FlipRotate, EveryOperationKeepsClientPositionsOnTransformedWindows) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int32_t> size(1, 40), offset(-30, 30);
  std::uniform_real_distribution<double> value(-3, 3);
  for (int round = 0; round < 6; ++round) {
    lcPelBuffer<uint16_t> src =
        randomPels<uint16_t>(random, size(random), size(random), offset(random), offset(random));
    src.setXform(lc2XformCache(lcMakeXform(lc2XformLinear(
        lc2Matrix(1 + value(random), value(random), value(random), 4 + value(random)),
        lc2Vector{value(random), value(random)}))));
    for (int32_t operation = 0; operation < 8; ++operation) {
      const lcPelBuffer<uint16_t> dst = oriented(src, operation);
      const bool transposed = operation % 2 == 1 || operation == 7;
      EXPECT_EQ(dst.offsetX(), transposed ? src.offsetY() : src.offsetX()) << operation;
      expectPixelsKeepTheirPlace(src, dst);
    }
  }
}

TEST(FlipRotate, MirrorsAndTransposeUndoThemselvesAndQuarterTurnsAddUp) {
  std::mt19937 random(6);
  const lcPelBuffer<uint8_t> src = randomPels<uint8_t>(random, 37, 21, 5, -8);
  for (int32_t operation : {2, 4, 6, 7})
    EXPECT_TRUE(samePels(oriented(oriented(src, operation), operation), src)) << operation;
  EXPECT_TRUE(samePels(oriented(oriented(src, 1), 3), src));
  EXPECT_TRUE(samePels(oriented(oriented(src, 1), 1), oriented(src, 2)));
  EXPECT_TRUE(samePels(oriented(oriented(src, 4), 2), oriented(src, 6)));
  lcPelBuffer<uint8_t> dst;
  EXPECT_THROW(lcFlipRotate(src, dst, 8), lcPelFunc::BadParams);
  lcPelBuffer<uint8_t> overlapping = src;
  EXPECT_THROW(lcFlipRotate(src, overlapping, 4), lcPelFunc::Overlap);
}

TEST(FlipRotate, TwinsAgreeOnOddSizesTilesAndBlocks) {
  std::mt19937 random(7);
  const int32_t sizes[][2] = {{1, 1}, {17, 3}, {15, 33}, {70, 131}, {129, 66}};
  for (const auto& [w, h] : sizes) {
    const auto pels8 = randomPels<uint8_t>(random, w, h, 3, -2);
    const auto pels16 = randomPels<uint16_t>(random, w, h, -1, 4);
    for (int32_t operation = 0; operation < 8; ++operation) {
      expectEveryWayAgrees([&] { return oriented(pels8, operation); });
      expectEveryWayAgrees([&] { return oriented(pels16, operation); });
    }
  }
  const lcPelBuffer<uint8_t> large = patternPels<uint8_t>(1531, 1203);
  for (int32_t operation : {1, 4, 5})
    expectBandsAgree([&] { return oriented(large, operation); });
}

}  // namespace
