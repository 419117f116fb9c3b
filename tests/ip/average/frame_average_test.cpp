#include <gtest/gtest.h>

#include "ip/average/frame_average.h"
#include "kernel_test_util.h"
#include "std/archive/memory_archive.h"

namespace {

// A frame average of `frames` (each a function of x, y and the frame's index) over a
// width x height window at buffer offset (5, 7).
template <class PelOf>
lcFrameAverageBuffer accumulate(int frames, bool deviation, int32_t width, int32_t height,
                                const PelOf& pelOf) {
  lcFrameAverageBuffer buffer;
  buffer.reset(deviation);
  for (int i = 0; i < frames; ++i) {
    lcPelBuffer<uint8_t> frame = flatPels<uint8_t>(width, height, 0);
    frame.setOffset(5, 7);
    const lcPelRows<uint8_t> rows = frame.rows();
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        rows[y][x] = static_cast<uint8_t>(pelOf(x, y, i));
    buffer.add(frame);
  }
  return buffer;
}

uint8_t onlyPel(const lcPelBuffer<uint8_t>& buffer) {
  return buffer.rows()[0][0];
}

}  // namespace

TEST(FrameAverage, FastAndPortableAccumulationAgree) {
  std::mt19937 random(17);
  std::vector<lcPelBuffer<uint8_t>> frames;
  for (int i = 0; i < 5; ++i)
    frames.push_back(randomPels<uint8_t>(random, 67, 23, 2, 3));
  const auto run = [&](bool deviation) {
    lcFrameAverageBuffer buffer;
    buffer.reset(true);
    for (const auto& frame : frames)
      buffer.add(frame);
    return deviation ? buffer.standardDeviation() : buffer.average();
  };
  expectEveryWayAgrees([&] { return run(false); });
  expectEveryWayAgrees([&] { return run(true); });

  frames.assign(3, patternPels<uint8_t>(1500, 1100));  // large enough for several bands
  expectBandsAgree([&] { return run(true); });
}

TEST(FrameAverage, AverageAndDeviationFollowTheirRounding) {
  // Each row: the frames' values of one pixel, the average and the standard deviation.
  const struct {
    std::vector<int> values;
    int average, deviation;
  } cases[] = {
      {{10, 13}, 12, 2},           // (23 + 1) / 2; sqrt(4.5) = 2.12
      {{1, 2}, 2, 1},              // sum 3: halves round up; sqrt(0.5) = 0.71
      {{2, 3}, 3, 1},              // sum 5
      {{77}, 77, 0},               // one frame: deviation 0
      {{9, 9, 9, 9}, 9, 0},        // a constant sequence
      {{0, 255}, 128, 180},        // sqrt(32512.5) = 180.3
      {{0, 0, 255}, 85, 147},      // sqrt(21675) = 147.2
      {{0, 1, 0, 1, 0, 1}, 1, 1},  // 3.5 / 6 rounds up; sqrt(0.3) = 0.55 rounds to 1
  };
  for (const auto& c : cases) {
    const auto buffer =
        accumulate(static_cast<int>(c.values.size()), true, 1, 1,
                   [&](int, int, int i) { return c.values[static_cast<size_t>(i)]; });
    EXPECT_EQ(onlyPel(buffer.average()), c.average) << c.values.size() << " frames";
    EXPECT_EQ(onlyPel(buffer.standardDeviation()), c.deviation) << c.values.size() << " frames";
  }
}

TEST(FrameAverage, ResultsKeepTheFirstFramesPlace) {
  const auto buffer = accumulate(2, false, 4, 3, [](int x, int y, int i) { return x + y + i; });
  const lcPelBuffer<uint8_t> average = buffer.average();
  EXPECT_EQ(average.bufferRect(), (lcPelRect{5, 7, 9, 10}));
  EXPECT_EQ(average.rows()[2][3], 6);  // (5 + 6 + 1) / 2
}

TEST(FrameAverage, HoldsExactlyTheMaximumCount) {
  auto buffer =
      accumulate(lcFrameAverageBuffer::kMaxFrames, true, 3, 2, [](int, int, int) { return 255; });
  EXPECT_TRUE(allPelsAre<uint8_t>(buffer.average(), 255));
  EXPECT_TRUE(allPelsAre<uint8_t>(buffer.standardDeviation(), 0));
  EXPECT_THROW(buffer.add(flatPels<uint8_t>(3, 2, 255)), lcFrameAverageDefs::BadParams);
  EXPECT_EQ(buffer.count(), lcFrameAverageBuffer::kMaxFrames);
}

TEST(FrameAverage, RefusesWhatItCannotTakeAndKeepsTheAccumulation) {
  auto buffer = accumulate(2, false, 4, 4, [](int, int, int i) { return 10 * i; });
  EXPECT_THROW(buffer.add(flatPels<uint8_t>(4, 5, 1)), lcFrameAverageDefs::WindowsDiffer);
  EXPECT_THROW(buffer.add(lcPelBuffer<uint8_t>()), lcFrameAverageDefs::ImageUnbound);
  EXPECT_THROW(buffer.standardDeviation(), lcFrameAverageDefs::BadParams);  // flag unset
  EXPECT_EQ(buffer.count(), 2);
  EXPECT_TRUE(allPelsAre<uint8_t>(buffer.average(), 5));
  buffer.reset();
  EXPECT_THROW(buffer.average(), lcFrameAverageDefs::DivideByZero);
  buffer.add(flatPels<uint8_t>(6, 1, 3));  // after a reset any size starts anew
  EXPECT_TRUE(allPelsAre<uint8_t>(buffer.average(), 3));
}

TEST(FrameAverage, ArchiveRoundTripsAndRejectsDisagreeingParts) {
  auto buffer = accumulate(3, true, 5, 2, [](int x, int, int i) { return x * 40 + i; });
  lcMemoryArchive stored;
  buffer.archive(stored);
  lcMemoryArchive reading(stored.bytes());
  lcFrameAverageBuffer loaded;
  loaded.archive(reading);
  EXPECT_EQ(loaded.count(), 3);
  EXPECT_TRUE(samePels(loaded.standardDeviation(), buffer.standardDeviation()));

  // The same bytes with the count changed to 0: sums without frames.
  std::vector<uint8_t> bytes = stored.bytes();
  lcMemoryArchive probe;
  uint8_t flag = 1;
  int32_t mode = 0;
  probe.transferVersion(1, "frameavg", __LINE__);
  probe.transfer(flag), probe.transfer(mode);
  const size_t countAt = probe.bytes().size();
  bytes[countAt] = 0;
  lcMemoryArchive damaged(bytes);
  EXPECT_THROW(loaded.archive(damaged), lcArchive::BadContent);
  EXPECT_EQ(loaded.count(), 3);
}
