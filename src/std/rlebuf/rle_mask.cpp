#include "std/rlebuf/rle_mask.h"

#include <algorithm>
#include <cstring>

#include "std/pelbuf/pel_errors.h"

namespace {

// Calls run(x0, x1, value) for the part of each run of grid row `y` within [lo, hi).
template <class Run>
void forRunsWithin(const lcRLEBuffer& rle, int32_t y, int64_t lo, int64_t hi, Run&& run) {
  const std::span<const uint8_t> pairs = rle.row(y);
  int64_t x = rle.offsetX();
  for (size_t at = 0; at + 1 < pairs.size() && x < hi; at += 2) {
    const int64_t end = x + pairs[at + 1];
    const int64_t from = std::max(x, lo), to = std::min(end, hi);
    if (from < to) run(from, to, pairs[at]);
    x = end;
  }
}

}  // namespace

lcPelBuffer<uint8_t> lcExpandRLE(const lcRLEBuffer& rle, const lcPelRect& clip) {
  const lcPelRect area = lcIntersect(rle.window(), clip);
  lcPelBuffer<uint8_t> mask;
  mask.setXform(rle.xform());
  if (area.isEmpty()) return mask;
  mask.allocate(area.width(), area.height(), area.x0, area.y0);
  const lcPelRows<uint8_t> rows = mask.rows();
  for (int32_t y = area.y0; y < area.y1; ++y) {
    uint8_t* line = rows[y - area.y0];
    forRunsWithin(rle, y, area.x0, area.x1, [&](int64_t from, int64_t to, uint8_t value) {
      std::memset(line + (from - area.x0), value, static_cast<size_t>(to - from));
    });
  }
  return mask;
}

lcPelBuffer<uint8_t> lcExpandRLE(const lcRLEBuffer& rle) {
  return lcExpandRLE(rle, rle.window());
}

void lcAccumulateHistogram(const lcPelBuffer<uint8_t>& image, const lcRLEBuffer& rle,
                           bool countInside, std::span<uint64_t> bins) {
  if (bins.empty()) throw lcPelFunc::BadParams(L"a histogram needs at least one bin");
  const lcPelRect area = lcIntersect(rle.window(), image.bufferRect());
  if (area.isEmpty()) return;
  const uint8_t top = static_cast<uint8_t>(std::min<size_t>(bins.size() - 1, 255));
  for (int32_t y = area.y0; y < area.y1; ++y) {
    const uint8_t* line = image.rowAddress(y);
    const int64_t left = image.bufferRect().x0;
    forRunsWithin(rle, y, area.x0, area.x1, [&](int64_t from, int64_t to, uint8_t value) {
      if ((value != 0) != countInside) return;
      for (int64_t x = from - left; x < to - left; ++x)
        ++bins[std::min(line[x], top)];
    });
  }
}
