#pragma once
// Multiplying by a constant goes through a lookup table built once per constant: entry i
// is v = truncate(i * c + 0.5), worked out in double and taken as a 64-bit integer,
// then clamped to the pixel range (bounded) or cut to its low 8 or 16 bits (wrap).
// Entry 0 is always 0. Rounding is half up for these non-negative products: 3 * 0.5
// gives 2, 1 * 0.49 gives 0.
//
// A product beyond the 64-bit range (an infinite constant, for one) is clamped in
// bounded mode; in wrap mode it stands for the integer 2^63, whose low bits are 0.

#include <array>
#include <cstdint>
#include <vector>

struct lcMultiplyParams {
  double constant = 1.0;  // not negative
  bool wrap = false;      // keep the low bits instead of clamping
};

// 256 entries; lcPelFunc::BadParams for a negative or NaN constant.
std::array<uint8_t, 256> lcMultiplyTable8(const lcMultiplyParams& params);
// 65536 entries; lcPelFunc::BadParams for a negative or NaN constant.
std::vector<uint16_t> lcMultiplyTable16(const lcMultiplyParams& params);
