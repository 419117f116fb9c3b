#include "ip/sharpness/band_pass.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace {

using Complex = std::complex<double>;

int32_t powerOfTwoAtLeast(int32_t n) {
  int32_t p = 1;
  while (p < n)
    p *= 2;
  return p;
}

// In-place radix-2 transform of `n` values `stride` apart (n a power of two).
void transform(Complex* values, int32_t n, std::ptrdiff_t stride, std::vector<Complex>& scratch) {
  scratch.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i)
    scratch[static_cast<size_t>(i)] = values[i * stride];
  for (int32_t i = 1, j = 0; i < n; ++i) {  // bit-reversed order
    int32_t bit = n >> 1;
    for (; j & bit; bit >>= 1)
      j ^= bit;
    j ^= bit;
    if (i < j) std::swap(scratch[static_cast<size_t>(i)], scratch[static_cast<size_t>(j)]);
  }
  for (int32_t length = 2; length <= n; length *= 2) {
    const double angle = -2.0 * std::numbers::pi / length;
    const Complex step(std::cos(angle), std::sin(angle));
    for (int32_t start = 0; start < n; start += length) {
      Complex w(1.0, 0.0);
      for (int32_t k = 0; k < length / 2; ++k, w *= step) {
        Complex& even = scratch[static_cast<size_t>(start + k)];
        Complex& odd = scratch[static_cast<size_t>(start + k + length / 2)];
        const Complex t = odd * w;
        odd = even - t;
        even += t;
      }
    }
  }
  for (int32_t i = 0; i < n; ++i)
    values[i * stride] = scratch[static_cast<size_t>(i)];
}

// Frequency of index k of an n-point transform, in cycles per pixel (-0.5 to 0.5).
double frequencyOf(int32_t k, int32_t n) {
  return (k <= n / 2 ? k : k - n) / static_cast<double>(n);
}

double hann(int32_t i, int32_t n) {
  return n < 2 ? 1.0 : 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * (i + 0.5) / n);
}

}  // namespace

double lcBandPassEnergy(const lcPelBuffer<uint8_t>& src, double low, double high) {
  const lcPelRows<const uint8_t> rows = src.rows();
  const int32_t width = powerOfTwoAtLeast(rows.width), height = powerOfTwoAtLeast(rows.height);
  double mean = 0.0;
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x)
      mean += rows[y][x];
  const double count = double(rows.width) * rows.height;
  mean /= count;

  std::vector<Complex> spectrum(size_t(width) * size_t(height));
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x)
      spectrum[size_t(y) * size_t(width) + size_t(x)] =
          (rows[y][x] - mean) * hann(x, rows.width) * hann(y, rows.height);
  std::vector<Complex> scratch;
  for (int32_t y = 0; y < rows.height; ++y)  // the padding rows stay zero
    transform(&spectrum[size_t(y) * size_t(width)], width, 1, scratch);
  for (int32_t x = 0; x < width; ++x)
    transform(&spectrum[size_t(x)], height, width, scratch);

  const double centre = (low + high) / 2, sigma = std::max((high - low) / 2, 1.0 / 64);
  double energy = 0.0;
  for (int32_t v = 0; v < height; ++v) {
    const double fy = frequencyOf(v, height);
    for (int32_t u = 0; u < width; ++u) {
      const double f = std::hypot(frequencyOf(u, width), fy), d = (f - centre) / sigma;
      energy += std::abs(spectrum[size_t(v) * size_t(width) + size_t(u)]) * std::exp(-0.5 * d * d);
    }
  }
  return energy / count;
}
