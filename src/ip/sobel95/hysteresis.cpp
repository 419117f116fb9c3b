#include "ip/sobel95/hysteresis.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "std/pelbuf/pel_bands.h"

namespace {

constexpr lcBandRule kBands{1 << 20, 0};

// Class codes of the work buffer. Seeds are where growth starts; grown pixels are marked
// apart from them so that the scan for seeds skips them.
enum Code : uint8_t { kNone = 0, kCandidate = 1, kSeed = 2, kGrown = 3 };

// True when one of the eight bytes of `word` is kSeed (bit 1 set, bit 0 clear).
bool holdsSeed(uint64_t word) {
  return ((word & ~(word << 1)) & 0x0202020202020202u) != 0;
}

// Turns every candidate 8-connected to a seed into kGrown. `codes` has a border of kNone
// around the image, so no neighbour test leaves it.
std::size_t grow(uint8_t* codes, std::ptrdiff_t pitch, int32_t width, int32_t height) {
  const std::ptrdiff_t around[8] = {-pitch - 1, -pitch,    -pitch + 1, -1,
                                    1,          pitch - 1, pitch,      pitch + 1};
  std::vector<std::ptrdiff_t> stack;
  std::size_t deepest = 0;
  auto growFrom = [&](std::ptrdiff_t seed) {
    stack.push_back(seed);
    while (!stack.empty()) {
      const std::ptrdiff_t at = stack.back();
      stack.pop_back();
      for (std::ptrdiff_t step : around)
        if (codes[at + step] == kCandidate) {
          codes[at + step] = kGrown;
          stack.push_back(at + step);
        }
      deepest = std::max(deepest, stack.size());
    }
  };
  for (int32_t y = 1; y <= height; ++y) {
    const std::ptrdiff_t row = y * pitch;
    int32_t x = 1;
    while (x <= width) {
      if (x + 8 <= width + 1) {
        uint64_t word;
        std::memcpy(&word, codes + row + x, sizeof word);
        if (!holdsSeed(word)) {
          x += 8;
          continue;
        }
      }
      if (codes[row + x] == kSeed) growFrom(row + x);
      ++x;
    }
  }
  return deepest;
}

}  // namespace

lcHysteresisStats lcHysteresisThreshold(const lcPelBuffer<uint8_t>& magnitude,
                                        lcPelBuffer<uint8_t>& dst,
                                        const lcHysteresisParams& params) {
  if (!magnitude.isBound()) throw lcPel::UnboundWindow();
  if (params.low < 0 || params.low > 255 || params.high < 0 || params.high > 255)
    throw lcPelFunc::BadParams(L"hysteresis thresholds run from 0 to 255");
  lcHysteresisStats stats;
  if (magnitude.isEmpty()) return stats;
  const int32_t width = magnitude.width(), height = magnitude.height();

  // The codes with a border of kNone, the image at the magnitude's buffer rectangle.
  lcPelBuffer<uint8_t> codes;
  codes.allocate(width + 2, height + 2, magnitude.offsetX() - 1, magnitude.offsetY() - 1, 1);
  codes.setXform(magnitude.xform());
  const lcPelRows<uint8_t> all = codes.rows();
  std::memset(all[0], kNone, static_cast<std::size_t>(width) + 2);
  std::memset(all[height + 1], kNone, static_cast<std::size_t>(width) + 2);
  for (int32_t y = 1; y <= height; ++y)
    all[y][0] = all[y][width + 1] = kNone;
  codes.setWindow(1, 1, width, height);

  // Values from high up are seeds even below low, as when the map is filled low first.
  const auto high = static_cast<uint8_t>(params.high);
  const auto low = static_cast<uint8_t>(std::min(params.low, params.high));
  lcForEachRowInBands(magnitude, codes, kBands, [&](const uint8_t* in, uint8_t* out, int32_t n) {
    for (int32_t x = 0; x < n; ++x)
      out[x] = static_cast<uint8_t>((in[x] >= low) + (in[x] >= high));
  });

  stats.deepestStack = grow(all[0], all.pitch, width, height);

  std::atomic<int64_t> survivors{0};
  const uint8_t survivor = params.survivor, nonSurvivor = params.nonSurvivor;
  lcForEachRowBand(std::as_const(codes), dst, kBands,
                   [&](const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out) {
                     int64_t kept = 0;
                     for (int32_t y = 0; y < in.height; ++y) {
                       const uint8_t* code = in[y];
                       uint8_t* value = out[y];
                       for (int32_t x = 0; x < in.width; ++x) {
                         const bool survives = code[x] >= kSeed;
                         value[x] = survives ? survivor : nonSurvivor;
                         kept += survives;
                       }
                     }
                     survivors += kept;
                   });
  stats.survivors = survivors;
  return stats;
}
