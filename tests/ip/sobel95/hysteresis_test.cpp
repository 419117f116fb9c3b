#include "ip/sobel95/hysteresis.h"

#include <gtest/gtest.h>

#include "kernel_test_util.h"

namespace {

lcPelBuffer<uint8_t> fromRows(std::initializer_list<std::initializer_list<uint8_t>> rows) {
  lcPelBuffer<uint8_t> buffer;
  buffer.allocate(static_cast<int32_t>(rows.begin()->size()), static_cast<int32_t>(rows.size()));
  int32_t y = 0;
  for (const auto& row : rows)
    std::copy(row.begin(), row.end(), buffer.rows()[y++]);
  return buffer;
}

}  // namespace

TEST(Hysteresis, WeakPixelsSurviveOnlyThroughAChainToAStrongOne) {
  const lcPelBuffer<uint8_t> magnitude = fromRows({
      {25, 15, 15, 5, 0, 15, 0},  // a chain to a strong pixel, and an isolated weak one
      {0, 0, 0, 15, 0, 0, 0},     // joined diagonally to the chain
      {0, 0, 0, 0, 9, 15, 15},    // cut off by a pixel below low
      {19, 0, 0, 0, 0, 0, 20},    // high survives alone; one below it does not
  });
  const lcPelBuffer<uint8_t> expected = fromRows({
      {7, 7, 7, 200, 200, 200, 200},
      {200, 200, 200, 7, 200, 200, 200},
      {200, 200, 200, 200, 200, 7, 7},
      {200, 200, 200, 200, 200, 200, 7},
  });
  lcPelBuffer<uint8_t> out;
  const lcHysteresisStats stats = lcHysteresisThreshold(magnitude, out, {10, 20, 7, 200});
  EXPECT_TRUE(samePels(out, expected));
  EXPECT_EQ(stats.survivors, 7);

  // In place, with equal thresholds: nothing is a candidate.
  lcPelBuffer<uint8_t> inPlace = fromRows({{20, 19, 200}});
  lcHysteresisThreshold(inPlace, inPlace, {20, 20, 1, 0});
  EXPECT_TRUE(samePels(inPlace, fromRows({{1, 0, 1}})));
}

TEST(Hysteresis, FollowsAnEdgeOfAMillionPixelsOnABoundedStack) {
  // One serpentine edge through a 1001 x 1001 image: the even rows full, joined at
  // alternate ends, fed from a single strong pixel at its far end.
  constexpr int32_t kSide = 1001;
  lcPelBuffer<uint8_t> magnitude = flatPels<uint8_t>(kSide, kSide, 0);
  for (int32_t y = 0; y < kSide; y += 2) {
    std::fill_n(magnitude.rows()[y], kSide, 15);
    if (y + 1 < kSide) magnitude.rows()[y + 1][(y / 2) % 2 ? 0 : kSide - 1] = 15;
  }
  magnitude.rows()[kSide - 1][kSide - 1] = 30;
  lcPelBuffer<uint8_t> out;
  const lcHysteresisStats stats = lcHysteresisThreshold(magnitude, out, {10, 20, 255, 0});
  EXPECT_EQ(stats.survivors, int64_t{kSide / 2 + 1} * kSide + kSide / 2);
  EXPECT_LT(stats.deepestStack, std::size_t{2 * kSide});  // far below the edge's length
}

TEST(Hysteresis, BandsChangeNothingAndBadThresholdsAreRefused) {
  std::mt19937 random(3);
  const lcPelBuffer<uint8_t> magnitude = randomPels<uint8_t>(random, 1300, 1700, -4, 9);
  expectBandsAgree([&] {
    lcPelBuffer<uint8_t> out;
    lcHysteresisThreshold(magnitude, out, {120, 250, 255, 0});
    return out;
  });
  lcPelBuffer<uint8_t> out;
  EXPECT_THROW(lcHysteresisThreshold(magnitude, out, {-1, 20, 255, 0}), lcPelFunc::BadParams);
  EXPECT_THROW(lcHysteresisThreshold(magnitude, out, {10, 256, 255, 0}), lcPelFunc::BadParams);
}
