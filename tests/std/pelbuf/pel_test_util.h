#pragma once
// Buffers with known pixels for the pixel-buffer tests.

#include <gtest/gtest.h>

#include "std/math/xform_linear_object.h"
#include "std/pelbuf/pel_buffer.h"

// Every pixel type, for typed tests.
using lcTestPelTypes =
    ::testing::Types<uint8_t, int8_t, uint16_t, int16_t, uint32_t, int32_t, double>;

// The value numbered buffers hold at buffer coordinates (x, y); both bytes of a 16-bit
// pixel vary.
template <class T>
T numberAt(int32_t x, int32_t y) {
  return static_cast<T>(x + 10 * y + 0x1234);
}

inline const lc2XformCache kTestXform(lcMakeXform(lc2XformLinear(lc2Matrix(0.5, 0.25, -1, 2),
                                                                 {3, -8})));

// A new width x height buffer at the given offset holding numberAt, with kTestXform.
template <class T>
lcPelBuffer<T> numbered(int32_t width, int32_t height, int32_t offsetX, int32_t offsetY,
                        int32_t alignment = 1) {
  lcPelBuffer<T> buffer;
  buffer.allocate(width, height, offsetX, offsetY, alignment);
  for (int32_t y = offsetY; y < offsetY + height; ++y)
    for (int32_t x = offsetX; x < offsetX + width; ++x)
      *buffer.pelAddress(x, y) = numberAt<T>(x, y);
  buffer.setXform(kTestXform);
  return buffer;
}
