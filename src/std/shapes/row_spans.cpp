#include "std/shapes/row_spans.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kLowest = std::numeric_limits<int32_t>::min() + 1.0;
constexpr double kHighest = std::numeric_limits<int32_t>::max() - 1.0;

// floor and ceil of a value held within the 32-bit range, by conversion: the build
// targets plain x86-64, where std::floor and std::ceil are library calls, and these run
// for every span of every row.
int64_t floorColumn(double value) {
  const double v = std::clamp(value, kLowest, kHighest);
  const auto c = static_cast<int64_t>(v);
  return static_cast<double>(c) > v ? c - 1 : c;
}

int64_t ceilColumn(double value) {
  const double v = std::clamp(value, kLowest, kHighest);
  const auto c = static_cast<int64_t>(v);
  return static_cast<double>(c) < v ? c + 1 : c;
}

}  // namespace

int64_t lcFirstColumnFromFar(double lo) {
  if (std::isnan(lo)) return static_cast<int64_t>(kHighest) + 1;  // no column
  int64_t c = ceilColumn(lo - 0.5);
  // The subtraction may round; the comparison below is the rule.
  while (c > kLowest && lcPixelCentre(c - 1) >= lo)
    --c;
  while (c <= kHighest && lcPixelCentre(c) < lo)
    ++c;
  return c;
}

int64_t lcLastColumnToFar(double hi, bool closed) {
  if (std::isnan(hi)) return static_cast<int64_t>(kLowest) - 1;
  const auto within = [&](int64_t c) {
    return closed ? lcPixelCentre(c) <= hi : lcPixelCentre(c) < hi;
  };
  int64_t c = floorColumn(hi - 0.5);
  while (c < kHighest && within(c + 1))
    ++c;
  while (c >= kLowest && !within(c))
    --c;
  return c;
}

void lcAppendPixelSpan(int64_t begin, int64_t end, int32_t x0, int32_t x1,
                       std::vector<lcPixelSpan>& out) {
  begin = std::max<int64_t>(begin, x0);
  end = std::min<int64_t>(end, x1);
  if (begin >= end) return;
  if (!out.empty() && out.back().end >= begin) {
    out.back().end = std::max(out.back().end, static_cast<int32_t>(end));
    return;
  }
  out.push_back({static_cast<int32_t>(begin), static_cast<int32_t>(end)});
}

void lcAppendPixelSpans(const lcRealSpans& spans, bool closed, int32_t x0, int32_t x1,
                        std::vector<lcPixelSpan>& out) {
  std::array<lcPixelSpan, 4> columns;
  const size_t count = lcColumnSpans(spans, closed, x0, x1, columns.data());
  for (size_t i = 0; i < count; ++i)
    lcAppendPixelSpan(columns[i].begin, columns[i].end, x0, x1, out);
}
