#include "std/util/row_bands.h"

#include <algorithm>

std::vector<lcRowBand> lcEvenBands(int32_t rows, int32_t count) {
  std::vector<lcRowBand> bands;
  if (rows <= 0) return bands;
  const int64_t n = std::clamp(count, 1, rows);
  bands.reserve(static_cast<std::size_t>(n));
  int32_t begin = 0;
  for (int64_t i = 1; i <= n; ++i) {
    const auto end = static_cast<int32_t>(i * rows / n);
    bands.push_back({begin, end});
    begin = end;
  }
  return bands;
}

std::vector<lcRowBand> lcStripeBands(int32_t rows, int32_t stripeRows) {
  std::vector<lcRowBand> bands;
  const int32_t step = std::max(stripeRows, 1);
  for (int32_t begin = 0; begin < rows;) {
    const int32_t end = begin + std::min(step, rows - begin);
    bands.push_back({begin, end});
    begin = end;
  }
  return bands;
}

std::vector<lcRowBand> lcKernelBands(int32_t rows, int32_t width, const lcBandRule& rule,
                                     int workers) {
  if (workers <= 1) return lcEvenBands(rows, 1);
  const int64_t pels = int64_t{rows} * std::max(width, 0);
  const int64_t minRows = std::max<int64_t>(16, 8 * int64_t{std::max(rule.haloRows, 0)});
  const int64_t count =
      std::min({int64_t{workers} * 4, pels / std::max<int64_t>(rule.minPels, 1), rows / minRows});
  return lcEvenBands(rows, static_cast<int32_t>(std::max<int64_t>(count, 1)));
}
