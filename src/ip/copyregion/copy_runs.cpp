#include "ip/copyregion/copy_runs.h"

#include <algorithm>
#include <cstring>

#include "std/util/kernel_selection.h"
#include "std/util/row_bands.h"
#include "std/util/worker_pool.h"

namespace {

// A point kernel's band rule: about a million pixels a band before a worker pays.
inline constexpr lcBandRule kBands{1 << 20, 0};

// Columns [begin, end) of one row, counted from the window's first column.
template <class T>
void writeSpan(const T* in, T* out, int32_t begin, int32_t end, bool inside,
               const lcCopyRegionFill<T>& fill) {
  if (begin >= end) return;
  if (inside && !fill.fillRegion)
    std::memcpy(out + begin, in + begin, size_t(end - begin) * sizeof(T));
  else if (inside)
    std::fill(out + begin, out + end, fill.regionValue);
  else if (fill.fillBox)
    std::fill(out + begin, out + end, fill.boxValue);
}

// One row: the encoding's pairs walked from its first column, each run cut to the
// window's columns [0, width) (window column 0 is grid column `firstColumn`).
template <class T>
void writeRow(const T* in, T* out, int32_t width, int32_t firstColumn, const lcRLEBuffer* runs,
              int32_t gridRow, const lcCopyRegionFill<T>& fill) {
  if (runs == nullptr || gridRow < runs->offsetY() || gridRow >= runs->offsetY() + runs->height()) {
    writeSpan(in, out, 0, width, runs == nullptr, fill);
    return;
  }
  const std::span<const uint8_t> pairs = runs->row(gridRow);
  int64_t column = int64_t{runs->offsetX()} - firstColumn;  // window column of the next run
  int32_t done = 0;                                         // columns written so far
  for (size_t i = 0; i + 1 < pairs.size() && pairs[i + 1] != 0 && column < width; i += 2) {
    const int64_t end = column + pairs[i + 1];
    const auto from = static_cast<int32_t>(std::clamp<int64_t>(column, 0, width));
    const auto to = static_cast<int32_t>(std::clamp<int64_t>(end, 0, width));
    writeSpan(in, out, done, from, false, fill);  // a gap before the encoding's columns
    writeSpan(in, out, from, to, pairs[i] != 0, fill);
    done = std::max(done, to);
    column = end;
  }
  writeSpan(in, out, done, width, false, fill);
}

}  // namespace

template <class T>
void lcCopyRegionRuns(const lcPelBuffer<T>& src, lcPelBuffer<T>& dst, const lcRLEBuffer* runs,
                      const lcCopyRegionFill<T>& fill) {
  if (!src.isBound() || !dst.isBound()) throw lcPel::UnboundWindow();
  if (src.width() != dst.width() || src.height() != dst.height()) throw lcPel::BadWindow();
  if (src.isEmpty()) return;
  const lcPelRows<const T> in = src.rows();
  const lcPelRows<T> out = dst.rows();
  const lcPelRect grid = src.bufferRect();
  const auto bands = lcKernelBands(in.height, in.width, kBands, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    for (int32_t y = band.begin; y < band.end; ++y)
      writeRow(in[y], out[y], in.width, grid.x0, runs, grid.y0 + y, fill);
  });
}

template void lcCopyRegionRuns(const lcPelBuffer<uint8_t>&, lcPelBuffer<uint8_t>&,
                               const lcRLEBuffer*, const lcCopyRegionFill<uint8_t>&);
template void lcCopyRegionRuns(const lcPelBuffer<uint16_t>&, lcPelBuffer<uint16_t>&,
                               const lcRLEBuffer*, const lcCopyRegionFill<uint16_t>&);
