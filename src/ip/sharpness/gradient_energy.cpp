#include "ip/sharpness/gradient_energy.h"

#include <algorithm>
#include <vector>

#include "std/util/kernel_selection.h"
#include "std/util/row_bands.h"
#include "std/util/worker_pool.h"

namespace {

// A point kernel's band rule: about a million pixels a band before a worker pays.
inline constexpr lcBandRule kBands{1 << 20, 0};

}  // namespace

lcGradientSums lcGradientEnergySums(const lcPelBuffer<uint8_t>& src) {
  const lcPelRows<const uint8_t> rows = src.rows();
  const auto bands = lcKernelBands(rows.height, rows.width, kBands, lcWorkerCount());
  std::vector<lcGradientSums> partial(bands.size());
  const auto run = [&](auto addRow) {
    lcRunBands(bands, [&](const lcRowBand& band) {
      size_t index = 0;
      while (bands[index].begin != band.begin)
        ++index;
      lcGradientSums& sums = partial[index];
      for (int32_t y = band.begin; y < band.end; ++y)
        addRow(rows[y], y + 1 < rows.height ? rows[y + 1] : nullptr, rows.width, sums);
    });
    return int32_t{0};
  };
  std::fill(partial.begin(), partial.end(), lcGradientSums{});
  lcRunKernel(
      "cip_gradientEnergy_8", [&] { return run(lcGradientEnergyRows::addRowFast); },
      [&] { return run(lcGradientEnergyRows::addRowPortable); });
  lcGradientSums total;
  for (const lcGradientSums& sums : partial)
    total.energy += sums.energy, total.sum += sums.sum;
  return total;
}
