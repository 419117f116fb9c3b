#pragma once
// The arithmetic of one affine sample, shared by both twins so that they agree to the
// bit: each mode reads its taps through a reader, which either checks the window (and
// notes a touched pixel outside, reading it as 0) or trusts the caller that every tap
// lies inside. Taps with a weight of 0 are never read, so they are not touched.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

// The 256 phases of the cubic kernel (a = -0.5), in Q15: for phase t / 256 the weights of
// the pixels at distances 1 + t, t, 1 - t and 2 - t, truncated toward zero, the middle
// two capped at 32767.
using lcCubicWeights = std::array<int32_t, 4>;
extern const std::array<lcCubicWeights, 256> lcAffineCubicTable;

template <class T>
struct lcAffineSource {
  const T* first = nullptr;
  std::ptrdiff_t pitch = 0;
  int64_t width = 0, height = 0;
};

// Reads inside the window without a check.
template <class T>
struct lcTrustingReader {
  const lcAffineSource<T>& source;
  uint32_t operator()(int64_t x, int64_t y) const {
    return source.first[static_cast<std::ptrdiff_t>(y) * source.pitch + x];
  }
};

// Reads 0 outside the window and remembers that it did.
template <class T>
struct lcCheckingReader {
  const lcAffineSource<T>& source;
  bool clipped = false;
  uint32_t operator()(int64_t x, int64_t y) {
    if (x < 0 || y < 0 || x >= source.width || y >= source.height) {
      clipped = true;
      return 0;
    }
    return source.first[static_cast<std::ptrdiff_t>(y) * source.pitch + x];
  }
};

namespace lcAffinePixel {

constexpr int64_t kHalf = 32768;

// The pixel that contains the position.
template <class Reader>
uint32_t nearest(Reader& read, int64_t x, int64_t y) {
  return read(x >> 16, y >> 16);
}

// Both axes at once with 16-bit weights, the sum rounded.
template <class Reader>
uint32_t bilinearAccurate(Reader& read, int64_t x, int64_t y) {
  x -= kHalf, y -= kHalf;
  const int64_t x0 = x >> 16, y0 = y >> 16;
  const uint64_t fx = uint64_t(x & 0xffff), fy = uint64_t(y & 0xffff);
  const uint64_t p00 = read(x0, y0);
  const uint64_t p10 = fx ? read(x0 + 1, y0) : 0;
  const uint64_t p01 = fy ? read(x0, y0 + 1) : 0;
  const uint64_t p11 = fx && fy ? read(x0 + 1, y0 + 1) : 0;
  const uint64_t gx = 65536 - fx, gy = 65536 - fy;
  return static_cast<uint32_t>(
      (gx * gy * p00 + fx * gy * p10 + gx * fy * p01 + fx * fy * p11 + 0x7fffffffu) >> 32);
}

// Down the columns, then along the row, each pass with a 15-bit weight, truncating.
template <class Reader>
uint32_t bilinear(Reader& read, int64_t x, int64_t y) {
  x -= kHalf, y -= kHalf;
  const int64_t x0 = x >> 16, y0 = y >> 16;
  const uint32_t wx = uint32_t(x & 0xffff) >> 1, wy = uint32_t(y & 0xffff) >> 1;
  const auto column = [&](int64_t cx) {
    const uint32_t top = read(cx, y0);
    const uint32_t bottom = wy ? read(cx, y0 + 1) : 0;
    return (bottom * wy + top * (32768 - wy)) >> 15;
  };
  const uint32_t left = column(x0);
  const uint32_t right = wx ? column(x0 + 1) : 0;
  return (right * wx + left * (32768 - wx)) >> 15;
}

// Four taps each way from the phase table; the first pass keeps 6 more bits than the
// pixels, the second removes them with the second weights' 15; clamped to `maximum`.
template <class Reader>
uint32_t cubic(Reader& read, int64_t x, int64_t y, int64_t maximum) {
  x -= kHalf, y -= kHalf;
  const int64_t x0 = (x >> 16) - 1, y0 = (y >> 16) - 1;
  const lcCubicWeights& wx = lcAffineCubicTable[(x & 0xffff) >> 8];
  const lcCubicWeights& wy = lcAffineCubicTable[(y & 0xffff) >> 8];
  int64_t sum = 0;
  for (int k = 0; k < 4; ++k) {
    if (wx[k] == 0) continue;
    int64_t column = 0;
    for (int m = 0; m < 4; ++m)
      if (wy[m] != 0) column += int64_t{wy[m]} * read(x0 + k, y0 + m);
    sum += int64_t{wx[k]} * ((column + 256) / 512);
  }
  return static_cast<uint32_t>(
      std::clamp<int64_t>((sum + (int64_t{1} << 20)) / (1 << 21), 0, maximum));
}

}  // namespace lcAffinePixel
