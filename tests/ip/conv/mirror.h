#pragma once
// Reflection about the edge pixels, stated as the test's own rule: fold the index back
// into 0..size-1 until it lies there.

#include <cstdint>

inline int32_t mirrored(int32_t index, int32_t size) {
  if (size == 1) return 0;
  while (index < 0 || index >= size)
    index = index < 0 ? -index : 2 * (size - 1) - index;
  return index;
}
