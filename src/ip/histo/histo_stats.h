#pragma once
// The statistics of a histogram: number of samples, mean, standard deviation and
// variance, mode, and the percentile table whose entries 0, 50 and 100 are the minimum,
// median and maximum. Each is worked out on first request and kept.
//
// Exact rules, on which inspections pass or fail:
// - mean = (sum of bin x count, an unsigned 64-bit integer) / total; 0 for no samples;
// - variance is the sample variance (divided by total - 1), 0 for fewer than 2 samples;
// - mode is the lowest bin of the largest count; 0 for fewer than two bins;
// - percentile entry k is the lowest bin whose cumulative share strictly exceeds k
//   percent (so the median of {3, 7} is 7); entry 100 is the highest non-empty bin;
//   every entry is 0 for no samples.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "std/except/exception.h"

class lcHistoStats {
 public:
  LC_ERROR_GROUP();
  // The counts sum to more than 2^32 - 1.
  LC_ERROR(lcHistoStats, Overflow, 0x10003300);

  // Takes the bins over (move them in to spare a copy).
  explicit lcHistoStats(std::vector<uint32_t> bins);
  // From 64-bit counts; Overflow when they sum beyond 32 bits.
  explicit lcHistoStats(std::span<const uint64_t> bins);

  const std::vector<uint32_t>& bins() const { return bins_; }
  uint32_t total() const { return total_; }
  double mean();
  double standardDeviation();
  double variance();
  int32_t mode();
  // Entry `percent` of the percentile table, percent clamped to 0..100.
  int32_t percentile(int32_t percent);
  int32_t minimum() { return percentile(0); }
  int32_t median() { return percentile(50); }
  int32_t maximum() { return percentile(100); }

 private:
  void computeMoments();
  void computePercentiles();

  std::vector<uint32_t> bins_;
  bool momentsComputed_ = false;
  bool percentilesComputed_ = false;
  bool modeComputed_ = false;
  uint32_t total_ = 0;
  int32_t mode_ = 0;
  double mean_ = 0, standardDeviation_ = 0, variance_ = 0;
  std::array<int32_t, 101> percentiles_{};
};

// Sums `bins` into `count` (1 .. bins.size()) wider bins: with w = size / count, result
// bin k - 1 (k = 1 .. count) ends at source bin truncate(k * w + 0.5) - 1 and starts
// after the previous one ends. 256 bins into 3 give 0..84, 85..170 and 171..255.
std::vector<uint64_t> lcRebinHistogram(std::span<const uint64_t> bins, size_t count);
