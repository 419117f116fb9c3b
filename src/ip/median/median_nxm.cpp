#include "ip/median/median_nxm.h"

#include <algorithm>
#include <vector>

#include "ip/median/column_histograms.h"
#include "ip/median/median_networks_rows.h"
#include "ip/median/median_rows.h"
#include "ip/median/sliding_histogram.h"
#include "std/pelbuf/pel_bands.h"
#include "std/pelbuf/pel_take_mask.h"
#include "std/util/kernel_selection.h"

namespace {

// The kernel mask as runs of care columns per kernel row: sliding one column right,
// each run loses its first pixel and gains one past its end.
struct Shape {
  struct Run {
    int32_t begin;
    int32_t end;
  };

  int32_t width = 0;
  int32_t height = 0;
  std::vector<Run> runs;
  std::vector<std::size_t> firstRun;  // runs of kernel row r: firstRun[r] to firstRun[r + 1]

  explicit Shape(const lcPelBuffer<uint8_t>& mask) {
    if (!mask.isBound() || mask.width() % 2 == 0 || mask.height() % 2 == 0)
      throw lcFilterDefs::BadKernelSize();
    width = mask.width();
    height = mask.height();
    const lcPelRows<const uint8_t> rows = mask.rows();
    for (int32_t r = 0; r < height; ++r) {
      firstRun.push_back(runs.size());
      for (int32_t c = 0; c < width; ++c) {
        if (rows[r][c] == 0) continue;
        const int32_t begin = c;
        while (c < width && rows[r][c] != 0)
          ++c;
        runs.push_back({begin, c});
      }
    }
    firstRun.push_back(runs.size());
  }
  int32_t halfWidth() const { return width / 2; }
  // One run per kernel row, all columns: the whole rectangle is cared for.
  bool isRectangle() const {
    return runs.size() == static_cast<std::size_t>(height) &&
           std::all_of(runs.begin(), runs.end(),
                       [&](const Run& run) { return run.begin == 0 && run.end == width; });
  }
  int32_t halfHeight() const { return height / 2; }
};

// One band's view: the input, which of its pixels take part (null: all), the results
// and, for range buffers, their validity (null otherwise). All share the input's window.
template <class T>
struct Job {
  lcPelRows<const T> in;
  const lcPelRows<const uint8_t>* take;
  lcPelRows<T> out;
  const lcPelRows<uint8_t>* valid;
  lcRowBand band;

  void write(int32_t x, int32_t y, uint32_t count, T median) const {
    out[y][x] = count > 0 ? median : T{0};
    if (valid != nullptr) valid[0][y][x] = count > 0 ? 255 : 0;
  }
};

// The rule: gather the pixels that take part in result (x, y) into `values` and pick the
// one of rank (k - 1) / 2.
template <class T>
void gatherMedian(const Job<T>& job, const Shape& shape, int32_t x, int32_t y,
                  std::vector<T>& values) {
  const int32_t w = job.in.width, h = job.in.height;
  values.clear();
  for (int32_t r = 0; r < shape.height; ++r) {
    const int32_t iy = y - shape.halfHeight() + r;
    if (iy < 0 || iy >= h) continue;
    for (std::size_t i = shape.firstRun[r]; i < shape.firstRun[r + 1]; ++i)
      for (int32_t c = shape.runs[i].begin; c < shape.runs[i].end; ++c) {
        const int32_t ix = x - shape.halfWidth() + c;
        if (ix < 0 || ix >= w || (job.take != nullptr && job.take[0][iy][ix] == 0)) continue;
        values.push_back(job.in[iy][ix]);
      }
  }
  const auto middle = values.begin() + (values.empty() ? 0 : (values.size() - 1) / 2);
  if (!values.empty()) std::nth_element(values.begin(), middle, values.end());
  job.write(x, y, static_cast<uint32_t>(values.size()), values.empty() ? T{0} : *middle);
}

template <class T>
void portableBand(const Job<T>& job, const Shape& shape) {
  std::vector<T> values;
  for (int32_t y = job.band.begin; y < job.band.end; ++y)
    for (int32_t x = 0; x < job.in.width; ++x)
      gatherMedian(job, shape, x, y, values);
}

// The median of the pixels of the window around (x, y) that lie in the input, for a
// rectangle of care positions up to 9 x 9 and no mask: the rule without its generality.
uint8_t clippedWindowMedian(const lcPelRows<const uint8_t>& in, int32_t x, int32_t y, int32_t hx,
                            int32_t hy) {
  uint8_t values[81];
  int32_t count = 0;
  for (int32_t iy = std::max(0, y - hy); iy <= std::min(in.height - 1, y + hy); ++iy)
    for (int32_t ix = std::max(0, x - hx); ix <= std::min(in.width - 1, x + hx); ++ix)
      values[count++] = in[iy][ix];
  std::nth_element(values, values + (count - 1) / 2, values + count);
  return values[(count - 1) / 2];
}

// A small square of care positions over 8-bit pixels: selection networks where the whole
// window lies in the input; rows nearer the top or bottom than half the window by column
// histograms, which leave out what lies beyond the input; the few results near the left
// and right edges one by one.
void networkBand(const Job<uint8_t>& job, const Shape& shape) {
  const int32_t w = job.in.width, h = job.in.height;
  const int32_t hx = shape.halfWidth(), hy = shape.halfHeight();
  const int32_t begin = job.band.begin, end = job.band.end;
  const int32_t first = w >= shape.width ? std::max(begin, hy) : end;  // interior rows
  const int32_t last = w >= shape.width ? std::max(first, std::min(end, h - hy)) : end;
  if (shape.width == 3) {
    // The 3 x 3 rows share sorted columns across a row at less cost than the networks.
    if (first < last)
      lcMedianRows::median3x3Fast(job.in, {job.out[1] + 1, job.out.pitch, w - 2, h - 2}, first - 1,
                                  last - 1);
  } else {
    lcMedianRows::interiorMedianByNetworks({job.in, nullptr, job.out, first, last, hx, hy});
  }
  if (begin < first)
    lcMedianRows::rectangleMedianFast({job.in, nullptr, job.out, begin, first, hx, hy});
  if (last < end) lcMedianRows::rectangleMedianFast({job.in, nullptr, job.out, last, end, hx, hy});
  for (int32_t y = first; y < last; ++y)
    for (int32_t x = 0; x < hx; ++x) {
      job.out[y][x] = clippedWindowMedian(job.in, x, y, hx, hy);
      job.out[y][w - 1 - x] = clippedWindowMedian(job.in, w - 1 - x, y, hx, hy);
    }
}

// A sliding histogram along each row: 2 updates per care run and kernel row per pixel,
// and a median search that does not grow with the window.
template <class T>
void histogramBand(const Job<T>& job, const Shape& shape) {
  lcSlidingHistogram<T> histogram;
  const int32_t w = job.in.width, h = job.in.height;
  const int32_t hx = shape.halfWidth();
  struct KernelRow {
    const T* pels;
    const uint8_t* take;
    std::size_t firstRun, lastRun;
  };
  std::vector<KernelRow> rows;
  // Adds (+1) or removes (-1) input column ix of a kernel row when it takes part.
  const auto update = [&](const KernelRow& row, int32_t ix, int sign) {
    if (ix < 0 || ix >= w || (row.take != nullptr && row.take[ix] == 0)) return;
    if (sign > 0)
      histogram.add(row.pels[ix]);
    else
      histogram.remove(row.pels[ix]);
  };
  const auto wholeWindow = [&](int32_t x, int sign) {
    for (const KernelRow& row : rows)
      for (std::size_t i = row.firstRun; i < row.lastRun; ++i)
        for (int32_t c = shape.runs[i].begin; c < shape.runs[i].end; ++c)
          update(row, x - hx + c, sign);
  };
  for (int32_t y = job.band.begin; y < job.band.end; ++y) {
    rows.clear();
    for (int32_t r = 0; r < shape.height; ++r) {
      const int32_t iy = y - shape.halfHeight() + r;
      if (iy < 0 || iy >= h || shape.firstRun[r] == shape.firstRun[r + 1]) continue;
      rows.push_back({job.in[iy], job.take != nullptr ? job.take[0][iy] : nullptr,
                      shape.firstRun[r], shape.firstRun[r + 1]});
    }
    wholeWindow(0, 1);
    job.write(0, y, histogram.count(), histogram.count() > 0 ? histogram.median() : T{0});
    for (int32_t x = 1; x < w; ++x) {
      for (const KernelRow& row : rows)
        for (std::size_t i = row.firstRun; i < row.lastRun; ++i) {
          update(row, x - 1 - hx + shape.runs[i].begin, -1);
          update(row, x - 1 - hx + shape.runs[i].end, 1);
        }
      job.write(x, y, histogram.count(), histogram.count() > 0 ? histogram.median() : T{0});
    }
    wholeWindow(w - 1, -1);  // leaves the histogram empty for the next row
  }
}

// An 8-bit square of care positions of 3, 5 or 7 without a mask image takes the
// selection networks, any other rectangle the column histograms, whose cost does not grow with
// the window; any other kernel the sliding histogram along rows.
template <class T>
bool byColumnHistograms(const Shape& shape, const lcPelRows<uint8_t>* valid) {
  return sizeof(T) == 1 && valid == nullptr && shape.isRectangle() &&
         int64_t{shape.width} * shape.height <= lcMedianRows::kMaxColumnHistogramArea;
}

template <class T>
void fastBand(const Job<T>& job, const Shape& shape) {
  if constexpr (sizeof(T) == 1) {
    if (job.take == nullptr && job.valid == nullptr && shape.isRectangle() &&
        ((shape.width == 3 && shape.height == 3) ||
         lcMedianRows::hasMedianNetwork(shape.width, shape.height)))
      return networkBand(job, shape);
    if (byColumnHistograms<T>(shape, job.valid)) {
      lcMedianRows::rectangleMedianFast({job.in, job.take, job.out, job.band.begin, job.band.end,
                                         shape.halfWidth(), shape.halfHeight()});
      return;
    }
  }
  histogramBand(job, shape);
}

template <class T>
void median(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
            const lcMedianNxMParams& params, const lcPelBuffer<uint8_t>* take,
            lcPelBuffer<uint8_t>* valid) {
  const Shape shape(params.kernelMask);
  if (!src.isBound()) throw lcPel::UnboundWindow();
  const lcPelRows<const uint8_t> takeRows =
      take != nullptr ? take->rows() : lcPelRows<const uint8_t>{};
  const lcPelRows<uint8_t> validRows = valid != nullptr ? valid->rows() : lcPelRows<uint8_t>{};
  // Sliding along rows, each row starts its histogram afresh, so bands need no halo;
  // column histograms start by reading the M - 1 rows around a band's first. A band of
  // 64K results holds well over the cost of waking a worker.
  const lcBandRule bands{
      1 << 16,
      byColumnHistograms<T>(shape, valid != nullptr ? &validRows : nullptr) ? shape.height - 1 : 0};
  lcForEachBand(src, dst, src.bufferRect(), bands, [&](const lcPelBand<T, T>& band) {
    const Job<T> job{band.in, take != nullptr ? &takeRows : nullptr, band.out,
                     valid != nullptr ? &validRows : nullptr, band.band};
    lcRunKernel(
        name,
        [&] {
          fastBand(job, shape);
          return int32_t{0};
        },
        [&] {
          portableBand(job, shape);
          return int32_t{0};
        });
  });
}

template <class T>
void medianWithImageMask(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
                         const lcMedianNxMParams& params) {
  if (!params.imageMask.isBound()) return median(name, src, dst, params, nullptr, nullptr);
  if (!src.isBound()) throw lcPel::UnboundWindow();
  const lcPelBuffer<uint8_t> take = lcTakeMask(params.imageMask, src.bufferRect());
  median(name, src, dst, params, take.isBound() ? &take : nullptr, nullptr);
}

}  // namespace

void lcMedianNxM(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                 const lcMedianNxMParams& params) {
  medianWithImageMask("cip_filterMedianWindow8", src, dst, params);
}

void lcMedianNxM(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                 const lcMedianNxMParams& params) {
  medianWithImageMask("cip_filterMedianWindow16", src, dst, params);
}

void lcMedianNxM(const lcPelBufferRange16& src, lcPelBufferRange16& dst,
                 const lcMedianNxMParams& params) {
  const lcPelBuffer<uint16_t>& pels = src.pels();
  if (!pels.isBound()) throw lcPel::UnboundWindow();
  const lcPelRect window = pels.bufferRect();
  // Valid pixels under a care pixel of the mask image (or all valid ones without one).
  lcPelBuffer<uint8_t> take = lcTakeMask(src.mask(), window);
  if (params.imageMask.isBound()) {
    const lcPelBuffer<uint8_t> masked = lcTakeMask(params.imageMask, window);
    lcPelRows<uint8_t> rows = take.rows();
    const lcPelRows<const uint8_t> other = masked.rows();
    for (int32_t y = 0; y < rows.height; ++y)
      for (int32_t x = 0; x < rows.width; ++x)
        rows[y][x] &= other[y][x];
  }
  lcPelBuffer<uint16_t> result;
  lcPelBuffer<uint8_t> valid;
  valid.allocate(window.width(), window.height(), window.x0, window.y0);
  valid.setXform(pels.xform());
  median("cip_filterMedianWindow16", pels, result, params, &take, &valid);
  dst = lcPelBufferRange16(std::move(result), std::move(valid), src.range());
}
