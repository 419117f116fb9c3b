#pragma once
// Borders by reflection about the edge pixel: ... 2 1 | 0 1 2 ... n-1 | n-2 n-3 ...
// (the edge pixel is not repeated). Indices any distance outside reflect again, so a
// kernel larger than the image still reads only the image's pixels.

#include <cstdint>

constexpr int32_t lcReflect101(int32_t index, int32_t size) {
  if (size <= 1) return 0;
  const int64_t period = 2 * (int64_t{size} - 1);
  int64_t i = index % period;
  if (i < 0) i += period;
  return static_cast<int32_t>(i < size ? i : period - i);
}
