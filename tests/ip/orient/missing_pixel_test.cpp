#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "ip/orient/missing_pixel.h"
#include "kernel_test_util.h"

namespace {

using Grid = std::vector<std::vector<int>>;  // -1: missing

lcPelBufferRange16 rangeOf(const Grid& grid) {
  lcPelBuffer<uint16_t> pels;
  lcPelBuffer<uint8_t> mask;
  const int32_t w = int32_t(grid[0].size()), h = int32_t(grid.size());
  pels.allocate(w, h, 4, -3);
  mask.allocate(w, h, 4, -3);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      pels.rows()[y][x] = uint16_t(grid[y][x] < 0 ? 7777 : grid[y][x]);
      mask.rows()[y][x] = grid[y][x] < 0 ? 0 : 1;
    }
  return lcPelBufferRange16(pels, mask, {0, 1000});
}

Grid filled(const Grid& grid, lcMissingPixelParams params) {
  lcPelBufferRange16 dst;
  EXPECT_EQ(lcFillMissingPixels(rangeOf(grid), dst, params), lcMissingPixelStatus::Ok);
  EXPECT_TRUE(allPelsAre(dst.mask(), uint8_t{255}));
  Grid result(grid.size(), std::vector<int>(grid[0].size()));
  for (std::size_t y = 0; y < grid.size(); ++y)
    for (std::size_t x = 0; x < grid[0].size(); ++x)
      result[y][x] = dst.pels().rows()[int32_t(y)][x];
  return result;
}

lcMissingPixelParams rules(int32_t direction, int32_t computation, int32_t mode = 1,
                           int32_t fixed = 1) {
  return {direction, computation, mode, fixed};
}

TEST(MissingPixel, HolesTakeTheirNeighboursOrTheGlobalValue) {
  const Grid hole{{10, -1, -1, 40}};
  EXPECT_EQ(filled(hole, rules(1, 1)), (Grid{{10, 20, 30, 40}}));
  EXPECT_EQ(filled(hole, rules(1, 2)), (Grid{{10, 10, 10, 40}}));
  EXPECT_EQ(filled(hole, rules(1, 3)), (Grid{{10, 40, 40, 40}}));
  EXPECT_EQ(filled(hole, rules(1, 4, 1, 5)), (Grid{{10, 5, 5, 40}}));
  EXPECT_EQ(filled(hole, rules(2, 1, 4)), (Grid{{10, 25, 25, 40}}));  // no column neighbours

  const Grid border{{-1, 10, 21}};
  EXPECT_EQ(filled(border, rules(1, 1, 1, 3)), (Grid{{3, 10, 21}}));
  EXPECT_EQ(filled(border, rules(1, 1, 2)), (Grid{{10, 10, 21}}));
  EXPECT_EQ(filled(border, rules(1, 1, 3)), (Grid{{21, 10, 21}}));
  EXPECT_EQ(filled(border, rules(1, 1, 4)), (Grid{{16, 10, 21}}));  // 15.5 rounds up
}

TEST(MissingPixel, AWholeMissingRowIsFilledDownTheColumnsAndDirectionsCombine) {
  const Grid row{{10, 20, 30}, {-1, -1, -1}, {30, 41, 50}};
  EXPECT_EQ(filled(row, rules(1, 1, 1, 9))[1], (std::vector<int>{9, 9, 9}));
  EXPECT_EQ(filled(row, rules(2, 1))[1], (std::vector<int>{20, 31, 40}));  // 30.5 rounds up
  EXPECT_EQ(filled(row, rules(3, 2))[1], (std::vector<int>{10, 20, 30}));

  const Grid centre{{0, 30, 0}, {10, -1, 20}, {0, 50, 0}};
  EXPECT_EQ(filled(centre, rules(3, 1))[1][1], 28);  // the mean of 15 and 40, rounded up
  EXPECT_EQ(filled(centre, rules(3, 2))[1][1], 10);  // min(min(10, 20), min(30, 50))
  EXPECT_EQ(filled(centre, rules(3, 3))[1][1], 50);
}

TEST(MissingPixel, AnImageWithoutValidPixelsTakesTheFixedValueAndBadParametersAreReported) {
  const Grid none{{-1, -1}, {-1, -1}};
  EXPECT_EQ(filled(none, rules(3, 1, 4, 6)), (Grid{{6, 6}, {6, 6}}));
  const std::tuple<lcMissingPixelParams, lcMissingPixelStatus> cases[] = {
      {rules(0, 1), lcMissingPixelStatus::InvalidDirection},
      {rules(1, 5), lcMissingPixelStatus::InvalidValueComputation},
      {rules(1, 1, 5), lcMissingPixelStatus::InvalidGlobalValueMode},
      {{1, 1, 1, 1, {1, 1, 1, 1}}, lcMissingPixelStatus::InvalidSmoothing},
      {{1, 1, 1, 1, {0, 2, 1, 1}}, lcMissingPixelStatus::InvalidArgument},
      {rules(1, 1, 2, 1001), lcMissingPixelStatus::FixedGlobalValueOutsideDstRange},
      {rules(1, 1, 1, -1), lcMissingPixelStatus::FixedGlobalValueOutsideDstRange}};
  for (const auto& [params, status] : cases) {
    lcPelBufferRange16 dst;
    EXPECT_EQ(lcFillMissingPixels(rangeOf(none), dst, params), status);
    EXPECT_FALSE(dst.pels().isBound());
  }
  lcPelBufferRange16 bound = rangeOf(none);
  EXPECT_EQ(lcFillMissingPixels(rangeOf(none), bound, rules(1, 1)),
            lcMissingPixelStatus::BoundDestRangeImage);
}

TEST(MissingPixel, TwinsAgreeOnRandomMasks) {
  std::mt19937 random(4);
  const auto run = [](const lcPelBufferRange16& src, const lcMissingPixelParams& params) {
    return [&src, params] {
      lcPelBufferRange16 dst;
      lcFillMissingPixels(src, dst, params);
      return dst.pels();
    };
  };
  for (int32_t size : {1, 7, 40}) {
    for (double missing : {0.2, 0.9}) {
      lcPelBuffer<uint8_t> mask = randomPels<uint8_t>(random, size, size + 3, 2, 1);
      for (int32_t y = 0; y < mask.height(); ++y)
        for (int32_t x = 0; x < mask.width(); ++x)
          mask.rows()[y][x] = mask.rows()[y][x] < 256 * missing ? 0 : 1;
      const lcPelBufferRange16 src(randomPels<uint16_t>(random, size, size + 3, 2, 1), mask);
      for (int32_t direction = 1; direction <= 3; ++direction)
        for (int32_t computation = 1; computation <= 3; ++computation)
          expectEveryWayAgrees(run(src, rules(direction, computation, 4)));
    }
  }
  lcPelBuffer<uint8_t> mask = patternPels<uint8_t>(700, 900);
  for (int32_t y = 0; y < 900; ++y)
    for (int32_t x = 0; x < 700; ++x)
      mask.rows()[y][x] = (mask.rows()[y][x] % 7 == 0 || y % 97 < 5) ? 0 : 1;
  const lcPelBufferRange16 large(patternPels<uint16_t>(700, 900), mask);
  expectBandsAgree(run(large, rules(3, 1, 4)));
}

}  // namespace
