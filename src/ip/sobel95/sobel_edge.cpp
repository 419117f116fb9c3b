#include "ip/sobel95/sobel_edge.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "ip/sobel95/sobel_rows.h"
#include "std/util/kernel_selection.h"
#include "std/util/row_bands.h"
#include "std/util/worker_pool.h"

namespace {

// About 4 results a nanosecond: a band of 256K holds some 60 microseconds of work.
constexpr lcBandRule kBands{1 << 18, 1};

// A new root one pixel larger than the source window on every side, margin 0, viewed at
// the source window's place.
void allocateWithMargin(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& target) {
  const int32_t width = source.width(), height = source.height();
  target.allocate(width + 2, height + 2, source.offsetX() - 1, source.offsetY() - 1);
  const lcPelRows<uint8_t> all = target.rows();
  std::memset(all[0], 0, static_cast<std::size_t>(width + 2));
  std::memset(all[height + 1], 0, static_cast<std::size_t>(width + 2));
  for (int32_t y = 1; y <= height; ++y)
    all[y][0] = all[y][width + 1] = 0;
  target.setWindow(1, 1, width, height);
  target.setXform(source.xform());
}

// Where the source window has neighbours in its image.
struct Neighbours {
  bool left, right, top, bottom;
};

struct RowJob {
  lcPelRows<const uint8_t> in;
  lcPelRows<uint8_t> magnitude, angle;
  Neighbours around;
  const uint8_t* magnitudeTable;
  const uint8_t* angleTable;

  const uint8_t* up(int32_t y) const { return y > 0 || around.top ? in[y - 1] : in[y]; }
  const uint8_t* down(int32_t y) const {
    return y < in.height - 1 || around.bottom ? in[y + 1] : in[y];
  }
  void store(int32_t y, int32_t x, lcSobelRows::PelIndexes pel) const {
    magnitude[y][x] = magnitudeTable[pel.magnitude];
    angle[y][x] = angleTable[pel.angle];
  }
  // The pixel at column x with the neighbour columns replaced at the image's edge.
  lcSobelRows::PelIndexes edgePel(int32_t y, int32_t x) const {
    const int32_t l = x > 0 || around.left ? x - 1 : x;
    const int32_t r = x < in.width - 1 || around.right ? x + 1 : x;
    return lcSobelRows::pelIndexes(up(y), in[y], down(y), l, x, r);
  }

  void portable(const lcRowBand& band) const {
    for (int32_t y = band.begin; y < band.end; ++y)
      for (int32_t x = 0; x < in.width; ++x)
        store(y, x, edgePel(y, x));
  }

  void fast(const lcRowBand& band) const {
    const int32_t width = in.width;
    std::vector<uint16_t> indexes(2 * static_cast<std::size_t>(width));
    uint16_t* magnitudeIndex = indexes.data();
    uint16_t* angleIndex = magnitudeIndex + width;
    const int32_t first = around.left ? 0 : 1;
    const int32_t last = around.right ? width : width - 1;
    for (int32_t y = band.begin; y < band.end; ++y) {
      lcSobelRows::indexesFast(up(y) + first, in[y] + first, down(y) + first, last - first,
                               magnitudeIndex + first, angleIndex + first);
      for (int32_t x : {0, width - 1})
        if (x < first || x >= last) {
          const lcSobelRows::PelIndexes pel = edgePel(y, x);
          magnitudeIndex[x] = pel.magnitude;
          angleIndex[x] = pel.angle;
        }
      uint8_t* magnitudeRow = magnitude[y];
      uint8_t* angleRow = angle[y];
      for (int32_t x = 0; x < width; ++x) {
        magnitudeRow[x] = magnitudeTable[magnitudeIndex[x]];
        angleRow[x] = angleTable[angleIndex[x]];
      }
    }
  }
};

}  // namespace

lcSobelEdgeDetector::lcSobelEdgeDetector(const lcSobelEdgeParams& params) {
  const double scale = params.magnitudeScale;
  if (!std::isfinite(scale) || scale <= 0)
    throw lcEdgeletDefs::BadParams(L"the magnitude scale must be a positive number");
  magnitude_ = scale == 1.0 ? lcSobelEdgeTables().magnitude : lcMakeSobelMagnitudeTable(scale);
}

void lcSobelEdgeDetector::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& magnitude,
                              lcPelBuffer<uint8_t>& angle) const {
  if (!source.isBound()) throw lcPel::UnboundWindow();
  if (source.width() < 3 || source.height() < 3) throw lcPel::BadWindow();
  allocateWithMargin(source, magnitude);
  allocateWithMargin(source, angle);
  const lcPelRect window = source.window();
  const RowJob job{source.rows(),
                   magnitude.rows(),
                   angle.rows(),
                   {window.x0 > 0, window.x1<source.root().width(), window.y0> 0,
                    window.y1 < source.root().height()},
                   magnitude_.data(),
                   lcSobelEdgeTables().angle.data()};
  const auto bands = lcKernelBands(job.in.height, job.in.width, kBands, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    lcRunKernel(
        "cip_sobelEdge_8",
        [&] {
          job.fast(band);
          return int32_t{0};
        },
        [&] {
          job.portable(band);
          return int32_t{0};
        });
  });
}
