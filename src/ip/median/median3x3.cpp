#include "ip/median/median3x3.h"

#include <algorithm>
#include <vector>

#include "ip/median/median_rows.h"
#include "std/pelbuf/pel_bands.h"
#include "std/util/kernel_selection.h"

namespace {

// About 10 results a nanosecond: a band of half a million holds some 50 microseconds.
constexpr lcBandRule kBands{1 << 19, 1};

// The rule: sort the nine pixels and take the fifth.
void portableRows(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out, int32_t begin,
                  int32_t end) {
  uint8_t block[9];
  for (int32_t y = begin; y < end; ++y)
    for (int32_t x = 0; x < out.width; ++x) {
      for (int32_t r = 0; r < 3; ++r)
        std::copy_n(in[y + r] + x, 3, block + 3 * r);
      std::nth_element(block, block + 4, block + 9);
      out[y][x] = block[4];
    }
}

}  // namespace

void lcMedian3x3(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  if (src.width() < 3 || src.height() < 3) throw lcPel::BadWindow();
  const lcPelRect in = src.bufferRect();
  const lcPelRect outRect{in.x0 + 1, in.y0 + 1, in.x1 - 1, in.y1 - 1};
  lcForEachBand(src, dst, outRect, kBands, [&](const lcPelBand<uint8_t, uint8_t>& job) {
    lcRunKernel(
        "cip_pelMedian3x3_8",
        [&] {
          lcMedianRows::median3x3Fast(job.in, job.out, job.band.begin, job.band.end);
          return int32_t{0};
        },
        [&] {
          portableRows(job.in, job.out, job.band.begin, job.band.end);
          return int32_t{0};
        });
  });
}
