#include "ip/sobel95/peak_detect.h"

#include <atomic>

#include "std/pelbuf/pel_bands.h"

namespace {

constexpr lcBandRule kBands{1 << 19, 1};

// The neighbour behind each sector, as (dx, dy); the one ahead is its opposite.
constexpr int32_t kBehind[8][2] = {{-1, 0}, {-1, -1}, {0, -1}, {1, -1},
                                   {1, 0},  {1, 1},   {0, 1},  {-1, 1}};

}  // namespace

int64_t lcPeakDetect(const lcPelBuffer<uint8_t>& magnitude, const lcPelBuffer<uint8_t>& angle,
                     lcPelBuffer<uint8_t>& dst, int32_t threshold) {
  if (!magnitude.isBound() || !angle.isBound()) throw lcPel::UnboundWindow();
  const lcPelRect rect = magnitude.bufferRect();
  if (angle.bufferRect() != rect) throw lcPel::BadWindow();
  if (magnitude.width() < 3 || magnitude.height() < 3) {
    if (!dst.isBound()) dst.allocate(0, 0, rect.x0 + 1, rect.y0 + 1);
    return 0;
  }
  const lcPelRect inner{rect.x0 + 1, rect.y0 + 1, rect.x1 - 1, rect.y1 - 1};
  const lcPelRows<const uint8_t> angles = angle.rows();
  std::atomic<int64_t> peaks{0};
  lcForEachBand(magnitude, dst, inner, kBands, [&](const lcPelBand<uint8_t, uint8_t>& job) {
    const std::ptrdiff_t pitch = job.in.pitch;
    std::ptrdiff_t behind[8];
    for (int s = 0; s < 8; ++s)
      behind[s] = kBehind[s][1] * pitch + kBehind[s][0];
    int64_t found = 0;
    for (int32_t y = job.band.begin; y < job.band.end; ++y) {
      const uint8_t* m = job.in[y + 1] + 1;
      const uint8_t* a = angles[y + 1] + 1;
      uint8_t* out = job.out[y];
      for (int32_t x = 0; x < job.out.width; ++x) {
        const uint8_t value = m[x];
        uint8_t result = 0;
        if (value >= threshold) {
          const std::ptrdiff_t back = behind[((a[x] + 16) >> 5) & 7];
          if (value > m[x + back] && value >= m[x - back]) {
            result = value;
            ++found;
          }
        }
        out[x] = result;
      }
    }
    peaks += found;
  });
  return peaks;
}
