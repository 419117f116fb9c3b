#pragma once
// The sums of the gradient-energy measure over an 8-bit window: the squared differences
// to the right and lower neighbours of every pixel but those of the last row and column,
// and the sum of all pixels. Integer sums, so every twin and band count agrees exactly.
// Kernel "cip_gradientEnergy_8".

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

struct lcGradientSums {
  uint64_t energy = 0;
  uint64_t sum = 0;
  friend bool operator==(const lcGradientSums&, const lcGradientSums&) = default;
};

// lcPel::UnboundWindow for an unbound window.
lcGradientSums lcGradientEnergySums(const lcPelBuffer<uint8_t>& src);

namespace lcGradientEnergyRows {
// Adds row `pels` (and its squared differences to `below` unless below is null, the
// last row) to `sums`; the fast twin of the portable rule below.
void addRowFast(const uint8_t* pels, const uint8_t* below, int32_t width, lcGradientSums& sums);

inline void addRowPortable(const uint8_t* pels, const uint8_t* below, int32_t width,
                           lcGradientSums& sums) {
  for (int32_t x = 0; x < width; ++x)
    sums.sum += pels[x];
  if (below == nullptr) return;
  for (int32_t x = 0; x + 1 < width; ++x) {
    const int32_t dx = pels[x + 1] - pels[x], dy = below[x] - pels[x];
    sums.energy += static_cast<uint64_t>(dx * dx + dy * dy);
  }
}
}  // namespace lcGradientEnergyRows
