#include <gtest/gtest.h>

#include <atomic>
#include <type_traits>
#include <vector>

#include "pel_test_util.h"
#include "std/pelbuf/pel_bands.h"
#include "test_util.h"

namespace {

// A kernel cannot write the source it was handed.
static_assert(std::is_same_v<decltype(std::declval<const lcPelBuffer<uint8_t>&>().rows()),
                             lcPelRows<const uint8_t>>);
static_assert(std::is_same_v<decltype(std::declval<const lcPelBuffer<int16_t>&>().pelAddress(0, 0)),
                             const int16_t*>);
static_assert(
    std::is_same_v<decltype(std::declval<const lcPelRoot<uint8_t>&>().base()), const uint8_t*>);

// Restores the built-in pool's worker count when a test ends.
class PelBands : public ::testing::Test {
 protected:
  ~PelBands() override { lcSetWorkerCount(saved_); }

 private:
  int saved_ = lcWorkerCount();
};

TEST(KernelBands, CutOnlyWhatIsWorthAWorkerAndKeepBandsTallerThanTheirHalo) {
  const lcBandRule rule{1000, 0}, haloed{1000, 10};
  // rows, width, rule, workers -> band count
  const std::tuple<int32_t, int32_t, lcBandRule, int, std::size_t> cases[] = {
      {1000, 1000, rule, 1, 1},      // one worker: one band
      {1000, 1000, rule, 2, 8},      // 4 per worker
      {1000, 1, rule, 5, 1},         // 1000 pixels: not worth a second band
      {1000, 3, rule, 5, 3},         // 3000 pixels
      {40, 1000, rule, 5, 2},        // at least 16 rows each
      {1000, 1000, haloed, 64, 12},  // at least 80 rows each
      {0, 1000, rule, 5, 0}};
  for (const auto& [rows, width, bandRule, workers, count] : cases) {
    const auto bands = lcKernelBands(rows, width, bandRule, workers);
    EXPECT_EQ(bands.size(), count) << rows << "x" << width << ", " << workers << " workers";
    if (!bands.empty()) {
      EXPECT_EQ(bands.back().end, rows);
    }
  }
}

TEST_F(PelBands, RowsInBandsVisitEveryRowOnceLikeTheUnbandedDriver) {
  lcPelBuffer<uint16_t> src = numbered<uint16_t>(300, 700, 5, 9);
  src.setWindow(3, 4, 290, 690);
  for (int workers : {1, 5}) {
    lcSetWorkerCount(workers);
    lcPelBuffer<uint16_t> dst;
    std::vector<std::atomic<int>> seen(690);
    lcForEachRowInBands(src, dst, lcBandRule{1000, 0},
                        [&](const uint16_t* in, uint16_t* out, int32_t width) {
                          seen[static_cast<std::size_t>((in - src.rows()[0]) / src.pitch())]++;
                          for (int32_t x = 0; x < width; ++x)
                            out[x] = static_cast<uint16_t>(in[x] * 3);
                        });
    ASSERT_EQ(dst.bufferRect(), src.bufferRect());
    EXPECT_EQ(dst.linearXform(), src.linearXform());
    for (const auto& n : seen)
      ASSERT_EQ(n, 1);
    for (int32_t y = 13; y < 703; y += 7)
      for (int32_t x = 8; x < 298; x += 3)
        ASSERT_EQ(*dst.pelAddress(x, y), static_cast<uint16_t>(numberAt<uint16_t>(x, y) * 3));
  }
}

TEST_F(PelBands, BandsOfANeighbourhoodKernelTileItsOutputAndPlaceItOnTheSource) {
  lcSetWorkerCount(5);
  const lcPelBuffer<uint8_t> src = numbered<uint8_t>(200, 400, -4, 7);
  const lcPelRect outRect{-3, 8, 195, 406};  // a one-pixel border less
  lcPelBuffer<int32_t> dst;
  std::vector<std::atomic<int>> seen(static_cast<std::size_t>(outRect.height()));
  lcForEachBand(src, dst, outRect, lcBandRule{100, 1}, [&](const lcPelBand<uint8_t, int32_t>& job) {
    EXPECT_EQ(job.dx, 1);
    EXPECT_EQ(job.dy, 1);
    for (int32_t y = job.band.begin; y < job.band.end; ++y) {
      seen[static_cast<std::size_t>(y)]++;
      for (int32_t x = 0; x < job.out.width; ++x)  // the pixel above minus the one below
        job.out[y][x] = job.in[y + job.dy - 1][x + job.dx] - job.in[y + job.dy + 1][x + job.dx];
    }
  });
  ASSERT_EQ(dst.bufferRect(), outRect);
  EXPECT_EQ(dst.linearXform(), src.linearXform());
  for (const auto& n : seen)
    ASSERT_EQ(n, 1);
  for (int32_t y = outRect.y0; y < outRect.y1; y += 5)
    for (int32_t x = outRect.x0; x < outRect.x1; x += 3)
      ASSERT_EQ(*dst.pelAddress(x, y), numberAt<uint8_t>(x, y - 1) - numberAt<uint8_t>(x, y + 1));
}

TEST_F(PelBands, ANeighbourhoodKernelRefusesToWorkInPlaceAndSkipsAnEmptyOutput) {
  lcPelBuffer<uint8_t> src = numbered<uint8_t>(10, 10, 0, 0), same = src, beside = src, unbound;
  beside.setRootWindow(5, 0, 5, 10, false);
  src.setRootWindow(0, 0, 5, 10, false);
  auto copy = [](const lcPelBand<uint8_t, uint8_t>& job) {
    for (int32_t y = job.band.begin; y < job.band.end; ++y)
      job.out[y][0] = job.in[y][0];
  };
  EXPECT_THROW(lcForEachBand(src, same, src.bufferRect(), {}, copy), lcPelFunc::Overlap);
  beside.setOffset(0, 0);
  EXPECT_NO_THROW(lcForEachBand(src, beside, src.bufferRect(), {}, copy));
  EXPECT_EQ(*beside.pelAddress(0, 3), numberAt<uint8_t>(0, 3));
  lcForEachBand(src, unbound, lcPelRect{2, 2, 2, 9}, {}, copy);
  EXPECT_FALSE(unbound.isBound());
}

}  // namespace
