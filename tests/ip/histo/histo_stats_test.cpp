#include "ip/histo/histo_stats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

struct Expected {
  const char* name;
  std::vector<uint32_t> bins;
  uint32_t total;
  double mean, variance;
  int32_t mode, minimum, median, maximum;
};

std::vector<uint32_t> withCounts(size_t size,
                                 std::initializer_list<std::pair<size_t, uint32_t>> at) {
  std::vector<uint32_t> bins(size, 0);
  for (auto [bin, count] : at)
    bins[bin] = count;
  return bins;
}

}  // namespace

TEST(HistoStats, WorkedExamples) {
  const Expected cases[] = {
      {"empty", withCounts(256, {}), 0, 0, 0, 0, 0, 0, 0},
      {"no bins", {}, 0, 0, 0, 0, 0, 0, 0},
      {"one pixel of 7", withCounts(256, {{7, 1}}), 1, 7, 0, 7, 7, 7, 7},
      // The share at bin 3 is exactly 50 %, which does not exceed 50: the median is 7.
      {"3 and 7", withCounts(256, {{3, 1}, {7, 1}}), 2, 5, 8, 3, 3, 7, 7},
      {"equal modes", withCounts(16, {{2, 4}, {5, 4}}), 8, 3.5, 18.0 / 7, 2, 2, 5, 5},
      {"one bin", withCounts(1, {{0, 5}}), 5, 0, 0, 0, 0, 0, 0},
      {"16-bit top", withCounts(65536, {{65535, 3}, {1, 1}}), 4, 49151.5, 1073676289.0, 65535, 1,
       65535, 65535},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(c.name);
    lcHistoStats stats(c.bins);
    EXPECT_EQ(stats.total(), c.total);
    EXPECT_DOUBLE_EQ(stats.mean(), c.mean);
    EXPECT_DOUBLE_EQ(stats.variance(), c.variance);
    EXPECT_DOUBLE_EQ(stats.standardDeviation(), std::sqrt(c.variance));
    EXPECT_EQ(stats.mode(), c.mode);
    EXPECT_EQ(stats.minimum(), c.minimum);
    EXPECT_EQ(stats.median(), c.median);
    EXPECT_EQ(stats.maximum(), c.maximum);
    EXPECT_EQ(stats.percentile(-5), c.minimum);
    EXPECT_EQ(stats.percentile(500), c.maximum);
  }
}

TEST(HistoStats, ModeAfterThePercentilesStopsAtTheMaximum) {
  lcHistoStats stats(withCounts(8, {{1, 2}, {4, 3}}));
  EXPECT_EQ(stats.maximum(), 4);
  EXPECT_EQ(stats.mode(), 4);
}

TEST(HistoStats, AgreesWithAStraightforwardComputation) {
  std::mt19937 random(6);
  for (size_t size : {256u, 4096u}) {
    std::vector<int> samples(5000);
    std::uniform_int_distribution<int> value(0, static_cast<int>(size / 3));
    std::vector<uint32_t> bins(size, 0);
    for (int& s : samples)
      ++bins[s = value(random) * 2];
    double sum = 0, squares = 0;
    for (int s : samples)
      sum += s;
    const double mean = sum / samples.size();
    for (int s : samples)
      squares += (s - mean) * (s - mean);
    std::sort(samples.begin(), samples.end());
    lcHistoStats stats(bins);
    EXPECT_NEAR(stats.mean(), mean, 1e-9 * mean);
    EXPECT_NEAR(stats.variance(), squares / (samples.size() - 1), 1e-9 * squares);
    EXPECT_EQ(stats.minimum(), samples.front());
    EXPECT_EQ(stats.maximum(), samples.back());
    // The lowest value whose cumulative share exceeds k percent: sample floor(k N / 100).
    for (int k : {1, 25, 50, 99})
      EXPECT_EQ(stats.percentile(k), samples[k * samples.size() / 100]) << k;
  }
}

TEST(HistoStats, CountsBeyondThirtyTwoBitsOverflow) {
  EXPECT_THROW(lcHistoStats(std::vector<uint32_t>{0xffffffffu, 1}), lcHistoStats::Overflow);
  const uint64_t big[] = {uint64_t{1} << 32};
  EXPECT_THROW(lcHistoStats{std::span<const uint64_t>(big)}, lcHistoStats::Overflow);
}

TEST(HistoStats, RebinningPlacesEverySourceBinOnce) {
  std::vector<uint64_t> bins(256, 1);
  EXPECT_EQ(lcRebinHistogram(bins, 3), (std::vector<uint64_t>{85, 86, 85}));
  EXPECT_EQ(lcRebinHistogram(bins, 256), bins);
  EXPECT_EQ(lcRebinHistogram(bins, 1), (std::vector<uint64_t>{256}));
}
