#pragma once
// The rows of the Sobel gradient. The scalar rule here is what the portable twin applies
// and what the fast rows (sobel_rows_fast.cpp, compiled for every SIMD target Highway
// knows) apply to columns without a neighbour on one side and to rows too narrow for a
// vector.

#include <cstddef>
#include <cstdint>

namespace lcSobelRows {

// Division by 8 rounding to nearest, halves toward zero: -1020..1020 to -127..127.
constexpr int32_t reduce(int32_t g) {
  return g >= 0 ? (g + 3) >> 3 : (g + 4) >> 3;
}

// The table indexes of one pixel from its three source rows, reading columns l, x and
// r of each (l = x - 1 and r = x + 1 inside the image; at the image's edge the edge
// column itself).
struct PelIndexes {
  uint16_t magnitude;  // |a| * 128 + |b|
  uint16_t angle;      // (a mod 256) * 256 + (b mod 256)
};
inline PelIndexes pelIndexes(const uint8_t* up, const uint8_t* mid, const uint8_t* down,
                             std::ptrdiff_t l, std::ptrdiff_t x, std::ptrdiff_t r) {
  const int32_t gx = (up[r] + 2 * mid[r] + down[r]) - (up[l] + 2 * mid[l] + down[l]);
  const int32_t gy = (down[l] + 2 * down[x] + down[r]) - (up[l] + 2 * up[x] + up[r]);
  const int32_t a = reduce(gx), b = reduce(gy);
  return {static_cast<uint16_t>((a < 0 ? -a : a) * 128 + (b < 0 ? -b : b)),
          static_cast<uint16_t>((a & 255) * 256 + (b & 255))};
}

// Indexes of `count` pixels whose left and right neighbours all exist: pixel i reads
// columns i - 1 to i + 1 of the three rows.
void indexesFast(const uint8_t* up, const uint8_t* mid, const uint8_t* down, int32_t count,
                 uint16_t* magnitude, uint16_t* angle);

}  // namespace lcSobelRows
