#include "ip/histo/histo_stats.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

uint32_t sumOf(const std::vector<uint32_t>& bins) {
  uint64_t sum = 0;
  for (uint32_t count : bins)
    sum += count;
  if (sum > std::numeric_limits<uint32_t>::max()) throw lcHistoStats::Overflow();
  return static_cast<uint32_t>(sum);
}

std::vector<uint32_t> narrowed(std::span<const uint64_t> bins) {
  std::vector<uint32_t> out(bins.size());
  for (size_t i = 0; i < bins.size(); ++i) {
    if (bins[i] > std::numeric_limits<uint32_t>::max()) throw lcHistoStats::Overflow();
    out[i] = static_cast<uint32_t>(bins[i]);
  }
  return out;
}

}  // namespace

lcHistoStats::lcHistoStats(std::vector<uint32_t> bins) : bins_(std::move(bins)) {
  total_ = sumOf(bins_);
}

lcHistoStats::lcHistoStats(std::span<const uint64_t> bins) : lcHistoStats(narrowed(bins)) {}

void lcHistoStats::computeMoments() {
  if (momentsComputed_) return;
  momentsComputed_ = true;
  if (total_ == 0) return;
  uint64_t weighted = 0;
  for (size_t i = 0; i < bins_.size(); ++i)
    weighted += uint64_t{bins_[i]} * i;
  mean_ = static_cast<double>(weighted) / total_;
  if (total_ == 1) return;
  double squares = 0;
  for (size_t i = 0; i < bins_.size(); ++i) {
    if (bins_[i] == 0) continue;
    const double d = static_cast<double>(i) - mean_;
    squares += bins_[i] * d * d;
  }
  variance_ = squares / (total_ - 1.0);
  standardDeviation_ = std::sqrt(variance_);
}

double lcHistoStats::mean() {
  computeMoments();
  return mean_;
}

double lcHistoStats::standardDeviation() {
  computeMoments();
  return standardDeviation_;
}

double lcHistoStats::variance() {
  computeMoments();
  return variance_;
}

int32_t lcHistoStats::mode() {
  if (modeComputed_) return mode_;
  modeComputed_ = true;
  // Nothing beyond the highest non-empty bin can be the mode.
  const int64_t last =
      percentilesComputed_ ? int64_t{percentiles_[100]} : static_cast<int64_t>(bins_.size()) - 1;
  if (last < 1) return mode_ = 0;
  int32_t best = 0;
  for (int64_t i = 1; i <= last; ++i)
    if (bins_[i] > bins_[best]) best = static_cast<int32_t>(i);
  return mode_ = best;
}

void lcHistoStats::computePercentiles() {
  if (percentilesComputed_) return;
  percentilesComputed_ = true;
  if (total_ == 0 || bins_.empty()) return;
  const double onePercent = total_ * 0.01;
  uint64_t running = 0;
  int32_t k = 0;
  for (size_t b = 0; b < bins_.size(); ++b) {
    if (bins_[b] == 0) continue;
    const auto bin = static_cast<int32_t>(b);
    percentiles_[100] = bin;
    running += bins_[b];
    const double share = static_cast<double>(running) / onePercent;
    for (; k <= 100 && k < share; ++k)
      percentiles_[k] = bin;
  }
}

int32_t lcHistoStats::percentile(int32_t percent) {
  computePercentiles();
  return percentiles_[std::clamp(percent, 0, 100)];
}

std::vector<uint64_t> lcRebinHistogram(std::span<const uint64_t> bins, size_t count) {
  std::vector<uint64_t> out(count, 0);
  if (count == 0) return out;
  const double w = static_cast<double>(bins.size()) / static_cast<double>(count);
  size_t source = 0;
  for (size_t k = 1; k <= count; ++k) {
    const auto end = static_cast<size_t>(static_cast<double>(k) * w + 0.5);  // exclusive
    for (; source < end && source < bins.size(); ++source)
      out[k - 1] += bins[source];
  }
  return out;
}
