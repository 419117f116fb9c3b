#include "ip/sampling/sampling_place.h"

#include <algorithm>

namespace {

int64_t floorDiv(int64_t a, int64_t b) {
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

lcSampleRange lcPickedRange(int32_t from, int32_t to, int32_t factor, int32_t pick) {
  const int64_t first = floorDiv(int64_t{from} - pick + factor - 1, factor);
  const int64_t last = floorDiv(int64_t{to} - 1 - pick, factor) + 1;
  if (last <= first) return {0, 0};
  return {static_cast<int32_t>(first), static_cast<int32_t>(last)};
}
