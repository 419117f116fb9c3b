#include "ip/histo/remap_tables.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "ip/histo/otsu_threshold.h"
#include "std/pelbuf/pel_errors.h"

template <class T>
std::vector<T> lcEqualizeTable(std::span<const uint64_t> histogram) {
  std::vector<T> table(histogram.size());
  const uint64_t total = std::accumulate(histogram.begin(), histogram.end(), uint64_t{0});
  if (total == 0) {
    std::iota(table.begin(), table.end(), T{0});
    return table;
  }
  const double top = static_cast<double>(histogram.size() - 1);
  const double k = top / static_cast<double>(total);
  uint64_t cumulative = 0;
  for (std::size_t i = 0; i < histogram.size(); ++i) {
    cumulative += histogram[i];
    const double value = static_cast<double>(cumulative) * k + 0.5;
    table[i] = static_cast<T>(std::min(value, top));  // never above top, even by rounding
  }
  return table;
}

namespace {

// Where [lo, hi) splits in the next pass.
int64_t splitPoint(std::span<const uint64_t> histogram, int64_t lo, int64_t hi) {
  const bool empty = std::all_of(histogram.begin() + lo, histogram.begin() + hi,
                                 [](uint64_t n) { return n == 0; });
  if (empty) return lo + (hi - lo) / 2;
  lcOtsuThreshold otsu;
  otsu.compute(histogram, lo, hi);
  return otsu.threshold();
}

}  // namespace

template <class T>
std::vector<T> lcQuantizeTable(std::span<const uint64_t> histogram, int passes) {
  if (passes < 1 || passes > 7) throw lcPelFunc::BadParams(L"quantizing takes 1 to 7 passes");
  const auto bins = static_cast<int64_t>(histogram.size());
  std::vector<std::pair<int64_t, int64_t>> intervals{{0, bins}};
  for (int pass = 0; pass < passes; ++pass) {
    std::vector<std::pair<int64_t, int64_t>> split;
    split.reserve(intervals.size() * 2);
    for (const auto& [lo, hi] : intervals) {
      const int64_t at = splitPoint(histogram, lo, hi);
      split.emplace_back(lo, at);
      split.emplace_back(at, hi);
    }
    intervals = std::move(split);
  }
  std::vector<T> table(histogram.size());
  const int64_t step = bins >> passes;
  for (std::size_t j = 0; j < intervals.size(); ++j)
    std::fill(table.begin() + intervals[j].first, table.begin() + intervals[j].second,
              static_cast<T>(static_cast<int64_t>(j) * step));
  return table;
}

template std::vector<uint8_t> lcEqualizeTable<uint8_t>(std::span<const uint64_t>);
template std::vector<uint16_t> lcEqualizeTable<uint16_t>(std::span<const uint64_t>);
template std::vector<uint8_t> lcQuantizeTable<uint8_t>(std::span<const uint64_t>, int);
template std::vector<uint16_t> lcQuantizeTable<uint16_t>(std::span<const uint64_t>, int);
