// The affine sampler's driver: the output and mask allocated where they lie, the rows
// cut into stripes, each stripe sampled by the fast or the portable twin. The portable
// twin computes every sample with the functions of affine_pixel.h, checking the window;
// the fast one samples the columns whose taps all lie inside in vectors (affine_rows.h,
// the same arithmetic lane by lane) and only the rest with those functions.

#include <atomic>
#include <cmath>

#include "ip/affine/affine_rows.h"
#include "ip/affine/affine_sampling.h"
#include "ip/affine/affine_taps.h"
#include "std/pelbuf/pel_errors.h"
#include "std/pelbuf/pel_xform.h"
#include "std/util/kernel_selection.h"
#include "std/util/worker_pool.h"

namespace {

using Mode = lcAffineSamplingParams::Mode;

// Keys' cubic convolution kernel with a = -0.5.
double keys(double distance) {
  const double d = std::fabs(distance);
  if (d <= 1) return (1.5 * d - 2.5) * d * d + 1;
  if (d < 2) return ((-0.5 * d + 2.5) * d - 4) * d + 2;
  return 0;
}

std::array<lcCubicWeights, 256> cubicTable() {
  std::array<lcCubicWeights, 256> table{};
  for (int phase = 0; phase < 256; ++phase) {
    const double t = phase / 256.0;
    const double distances[4] = {1 + t, t, 1 - t, 2 - t};
    for (int k = 0; k < 4; ++k) {
      const int32_t w = static_cast<int32_t>(keys(distances[k]) * 32768.0);
      table[phase][k] = (k == 1 || k == 2) ? std::min(w, 32767) : w;
    }
  }
  return table;
}

template <class T>
struct Job {
  const lcAffineGeometry& g;
  Mode mode;
  lcAffineSource<T> source;
  lcPelRows<T> out;
  lcPelRows<uint8_t>* mask;
};

template <class T, Mode M, class Reader>
T sampleAt(Reader& read, int64_t x, int64_t y) {
  constexpr int64_t kMax = T(~T{0});
  if constexpr (M == lcAffineSamplingParams::kNearest) return T(lcAffinePixel::nearest(read, x, y));
  if constexpr (M == lcAffineSamplingParams::kBilinear)
    return T(lcAffinePixel::bilinear(read, x, y));
  if constexpr (M == lcAffineSamplingParams::kCubic)
    return T(lcAffinePixel::cubic(read, x, y, kMax));
  if constexpr (M == lcAffineSamplingParams::kBilinearAccurate)
    return T(lcAffinePixel::bilinearAccurate(read, x, y));
}

// Samples columns [begin, end) of row j with window checks; returns whether any clipped.
template <class T, Mode M>
bool checkedColumns(const Job<T>& job, int64_t j, int64_t begin, int64_t end) {
  const lcAffineGeometry& g = job.g;
  T* out = job.out[static_cast<int32_t>(j)];
  uint8_t* mask = job.mask ? (*job.mask)[static_cast<int32_t>(j)] : nullptr;
  bool clipped = false;
  int64_t x = g.startX + begin * g.columnStepX + j * g.rowStepX;
  int64_t y = g.startY + begin * g.columnStepY + j * g.rowStepY;
  for (int64_t i = begin; i < end; ++i, x += g.columnStepX, y += g.columnStepY) {
    lcCheckingReader<T> read{job.source};
    out[i] = sampleAt<T, M>(read, x, y);
    if (mask) mask[i] = read.clipped ? 0 : 255;
    clipped |= read.clipped;
  }
  return clipped;
}

template <class T, Mode M>
void trustedColumns(const Job<T>& job, int64_t j, int64_t begin, int64_t end) {
  const lcAffineGeometry& g = job.g;
  T* out = job.out[static_cast<int32_t>(j)];
  int64_t x = g.startX + begin * g.columnStepX + j * g.rowStepX;
  int64_t y = g.startY + begin * g.columnStepY + j * g.rowStepY;
  const int64_t vectored = lcAffineRows::affineRun(M, job.source, x, y, g.columnStepX,
                                                   g.columnStepY, end - begin, out + begin);
  x += vectored * g.columnStepX;
  y += vectored * g.columnStepY;
  lcTrustingReader<T> read{job.source};
  for (int64_t i = begin + vectored; i < end; ++i, x += g.columnStepX, y += g.columnStepY)
    out[i] = sampleAt<T, M>(read, x, y);
  if (job.mask)
    std::fill(&(*job.mask)[static_cast<int32_t>(j)][begin],
              &(*job.mask)[static_cast<int32_t>(j)][end], uint8_t{255});
}

// The whole-pixel move: a copy in one of eight orientations.
template <class T>
bool copyRows(const Job<T>& job, const lcRowBand& band) {
  const lcAffineGeometry& g = job.g;
  const lcAffineSource<T>& s = job.source;
  bool clipped = false;
  for (int32_t j = band.begin; j < band.end; ++j) {
    T* out = job.out[j];
    uint8_t* mask = job.mask ? (*job.mask)[j] : nullptr;
    int64_t px = g.pelX + int64_t{j} * g.ex, py = g.pelY + int64_t{j} * g.ey;
    for (int32_t i = 0; i < job.out.width; ++i, px += g.dx, py += g.dy) {
      const bool inside = px >= 0 && py >= 0 && px < s.width && py < s.height;
      out[i] = inside ? s.first[static_cast<std::ptrdiff_t>(py) * s.pitch + px] : T{0};
      if (mask) mask[i] = inside ? 255 : 0;
      clipped |= !inside;
    }
  }
  return clipped;
}

template <class T, Mode M>
int32_t portableRows(const Job<T>& job, const lcRowBand& band) {
  if (job.g.wholePixels) return copyRows(job, band);
  bool clipped = false;
  for (int32_t j = band.begin; j < band.end; ++j)
    clipped |= checkedColumns<T, M>(job, j, 0, job.out.width);
  return clipped;
}

template <class T, Mode M>
int32_t fastRows(const Job<T>& job, const lcRowBand& band) {
  if (job.g.wholePixels) return copyRows(job, band);
  const lcAffineTaps taps(job.g, M, job.source.width, job.source.height);
  bool clipped = false;
  for (int32_t j = band.begin; j < band.end; ++j) {
    const auto [begin, end] = taps.trustedColumns(j, job.out.width);
    clipped |= checkedColumns<T, M>(job, j, 0, begin);
    trustedColumns<T, M>(job, j, begin, end);
    clipped |= checkedColumns<T, M>(job, j, end, job.out.width);
  }
  return clipped;
}

template <class T, Mode M>
int32_t runBand(const char* name, const Job<T>& job, const lcRowBand& band) {
  return lcRunKernel(
      name, [&] { return fastRows<T, M>(job, band); },
      [&] { return portableRows<T, M>(job, band); });
}

// Stripes run on the workers only for 8-bit nearest and bilinear-accurate sampling of
// large outputs; the others run on the calling thread.
std::vector<lcRowBand> stripes(Mode mode, int32_t width, int32_t height, bool eightBit) {
  const int32_t rows = lcAffineStripeRows(width, height, eightBit);
  const int64_t pels = int64_t{width} * height;
  const bool parallel = eightBit && lcWorkerCount() >= 2 &&
                        2 * int64_t{height} > 3 * int64_t{rows} &&
                        ((mode == lcAffineSamplingParams::kNearest && pels >= 262144) ||
                         (mode == lcAffineSamplingParams::kBilinearAccurate && pels >= 65536));
  return parallel ? lcStripeBands(height, rows) : lcStripeBands(height, height);
}

template <class T>
void prepareOutput(const lcPelFrame& src, lcPelBuffer<T>& out, const lcAffineGeometry& g,
                   int32_t nx, int32_t ny) {
  if (out.isBound()) {
    if (out.width() != nx || out.height() != ny) throw lcPel::BadWindow();
    return;
  }
  out.allocate(nx, ny, 0, 0);
  out.setXform(lcDerivedXform(src.xform(), g.sourceFromOutput));
}

template <class T>
bool sample(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
            const lcAffineSamplingParams& params, lcPelBuffer<uint8_t>* mask) {
  const lcAffineGeometry g = lcAffineGeometryFor(params, src);
  const int32_t nx = params.numSamplesX(), ny = params.numSamplesY();
  prepareOutput(src, dst, g, nx, ny);
  lcPelRows<uint8_t> maskRows;
  if (mask) {
    prepareOutput(src, *mask, g, nx, ny);
    maskRows = mask->rows();
  }
  const lcPelRows<const T> in = src.rows();
  const Mode mode = params.kernelMode();
  const Job<T> job{
      g, mode, {in.first, in.pitch, in.width, in.height}, dst.rows(), mask ? &maskRows : nullptr};
  std::atomic<bool> clipped{false};
  const auto bands = stripes(mode, nx, ny, sizeof(T) == 1);
  lcRunBands(bands, [&](const lcRowBand& band) {
    int32_t status = 0;
    switch (mode) {
      case lcAffineSamplingParams::kNearest:
        status = runBand<T, lcAffineSamplingParams::kNearest>(name, job, band);
        break;
      case lcAffineSamplingParams::kBilinear:
        status = runBand<T, lcAffineSamplingParams::kBilinear>(name, job, band);
        break;
      case lcAffineSamplingParams::kCubic:
        status = runBand<T, lcAffineSamplingParams::kCubic>(name, job, band);
        break;
      case lcAffineSamplingParams::kBilinearAccurate:
        status = runBand<T, lcAffineSamplingParams::kBilinearAccurate>(name, job, band);
        break;
    }
    if (status != 0) clipped = true;
  });
  return clipped;
}

}  // namespace

const std::array<lcCubicWeights, 256> lcAffineCubicTable = cubicTable();

bool lcAffineSample(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                    const lcAffineSamplingParams& params, lcPelBuffer<uint8_t>* mask) {
  return sample("cip_affineSample_8", src, dst, params, mask);
}

bool lcAffineSample(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                    const lcAffineSamplingParams& params, lcPelBuffer<uint8_t>* mask) {
  return sample("cip_affineSample_16", src, dst, params, mask);
}
