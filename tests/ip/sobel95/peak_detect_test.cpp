#include "ip/sobel95/peak_detect.h"

#include <gtest/gtest.h>

#include "kernel_test_util.h"

namespace {

// A one-row magnitude profile three rows tall (the inner row is the middle one) with the
// angle 0 everywhere: peaks across x.
lcPelBuffer<uint8_t> profile(std::initializer_list<uint8_t> values) {
  lcPelBuffer<uint8_t> buffer;
  buffer.allocate(static_cast<int32_t>(values.size()), 3);
  for (int32_t y = 0; y < 3; ++y)
    std::copy(values.begin(), values.end(), buffer.rows()[y]);
  return buffer;
}

std::vector<uint8_t> innerRow(const lcPelBuffer<uint8_t>& buffer) {
  const uint8_t* row = buffer.rows()[0];
  return {row, row + buffer.width()};
}

}  // namespace

TEST(PeakDetect, KeepsMaximaAcrossTheEdgeAndOneSideOfAFlatRidge) {
  struct Case {
    std::initializer_list<uint8_t> magnitude;
    int32_t threshold;
    std::vector<uint8_t> expected;  // the inner pixels
  } const cases[] = {
      {{10, 20, 30, 40, 30, 20}, 0, {0, 0, 40, 0}},  // a ramp up and down: its top
      {{0, 0, 50, 50, 0, 0}, 0, {0, 50, 0, 0}},      // flat ridge two wide: the first
      {{0, 0, 50, 50, 0, 0}, 51, {0, 0, 0, 0}},      // below the threshold
      {{5, 5, 5, 5, 5}, 0, {0, 0, 0}},               // a plateau has no peak
  };
  for (const Case& c : cases) {
    const lcPelBuffer<uint8_t> magnitude = profile(c.magnitude);
    const lcPelBuffer<uint8_t> angle = flatPels<uint8_t>(magnitude.width(), 3, 0);
    lcPelBuffer<uint8_t> peaks;
    const int64_t count = lcPeakDetect(magnitude, angle, peaks, c.threshold);
    EXPECT_EQ(innerRow(peaks), c.expected);
    EXPECT_EQ(count,
              std::count_if(c.expected.begin(), c.expected.end(), [](uint8_t v) { return v; }));
    EXPECT_EQ(peaks.bufferRect(), (lcPelRect{1, 1, magnitude.width() - 1, 2}));
  }
}

TEST(PeakDetect, EachSectorComparesItsOwnNeighbours) {
  // Sector s covers the angle codes 32 s - 16 to 32 s + 15; its behind neighbour (dx, dy).
  const int32_t behind[8][2] = {{-1, 0}, {-1, -1}, {0, -1}, {1, -1},
                                {1, 0},  {1, 1},   {0, 1},  {-1, 1}};
  for (int32_t s = 0; s < 8; ++s)
    for (int32_t code : {32 * s - 16, 32 * s + 15}) {
      const auto angleCode = static_cast<uint8_t>(code & 255);
      auto peakWith = [&](int32_t dx, int32_t dy, uint8_t value) {
        lcPelBuffer<uint8_t> magnitude = flatPels<uint8_t>(3, 3, 0);
        magnitude.rows()[1][1] = 10;
        magnitude.rows()[1 + dy][1 + dx] = value;
        lcPelBuffer<uint8_t> peaks;
        lcPeakDetect(magnitude, flatPels<uint8_t>(3, 3, angleCode), peaks, 1);
        return peaks.rows()[0][0];
      };
      const auto [bx, by] = behind[s];
      EXPECT_EQ(peakWith(bx, by, 10), 0) << "behind equal, code " << code;
      EXPECT_EQ(peakWith(-bx, -by, 10), 10) << "ahead equal, code " << code;
      EXPECT_EQ(peakWith(-bx, -by, 11), 0) << "ahead larger, code " << code;
      EXPECT_EQ(peakWith(by, -bx, 11), 10) << "across larger, code " << code;
    }
}

TEST(PeakDetect, BandsChangeNothingAndSmallWindowsGiveNothing) {
  std::mt19937 random(7);
  const lcPelBuffer<uint8_t> magnitude = randomPels<uint8_t>(random, 1000, 1100);
  lcPelBuffer<uint8_t> angle = randomPels<uint8_t>(random, 1000, 1100);
  angle.setOffset(magnitude.offsetX(), magnitude.offsetY());
  expectBandsAgree([&] {
    lcPelBuffer<uint8_t> peaks;
    lcPeakDetect(magnitude, angle, peaks, 100);
    return peaks;
  });

  lcPelBuffer<uint8_t> none;
  EXPECT_EQ(lcPeakDetect(flatPels<uint8_t>(2, 9, 9), flatPels<uint8_t>(2, 9, 0), none, 0), 0);
  EXPECT_FALSE(none.isBound());
  EXPECT_THROW(lcPeakDetect(flatPels<uint8_t>(4, 4, 0), flatPels<uint8_t>(5, 4, 0), none, 0),
               lcPel::BadWindow);
}
