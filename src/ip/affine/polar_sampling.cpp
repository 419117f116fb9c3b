// The polar sampler: positions from the cache (with the pixels they touch, so the clip
// test is a comparison), then the rows in bands, each by the fast twin (in vectors, no
// window checks, since the clip test passed) or the portable one (checking every tap).

#include "ip/affine/polar_sampling.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "ip/affine/affine_pixel.h"
#include "ip/affine/affine_rows.h"
#include "std/pelbuf/pel_errors.h"
#include "std/util/kernel_selection.h"
#include "std/util/worker_pool.h"

namespace {

using Mode = lcPolarSamplingParams::Mode;

constexpr double kFarthestPel = double(1 << 24);
// A band of polar samples costs about as much as one of affine samples.
constexpr lcBandRule kBands{1 << 16, 0};

int16_t sampleCount(int32_t count, const wchar_t* refusal) {
  if (count < 1) throw lcPolarTransDefs::BadParams(refusal);
  if (count > 32767) throw lcPolarErrors::Overflow();
  return static_cast<int16_t>(count);
}

// The 16.16 position of sample (i, j); false when it lies beyond any window's reach.
bool fixedPosition(const lcPolarPositions& at, int32_t i, int32_t j, int64_t& x, int64_t& y) {
  const double px = at.centre.x + at.scale[j] * at.direction[i].x;
  const double py = at.centre.y + at.scale[j] * at.direction[i].y;
  if (!(std::fabs(px) <= kFarthestPel && std::fabs(py) <= kFarthestPel)) return false;
  x = static_cast<int64_t>(px * 65536.0 + 0.5);
  y = static_cast<int64_t>(py * 65536.0 + 0.5);
  return true;
}

void noteTouchedPixels(lcPolarPositions& at, bool nearest) {
  int64_t x = 0, y = 0;
  at.firstX = at.firstY = INT64_MAX;
  at.lastX = at.lastY = INT64_MIN;
  for (int32_t j = 0; j < int32_t(at.scale.size()); ++j)
    for (int32_t i = 0; i < int32_t(at.direction.size()); ++i) {
      if (!fixedPosition(at, i, j, x, y)) {
        at.beyondReach = true;
        return;
      }
      if (!nearest) x -= lcAffinePixel::kHalf, y -= lcAffinePixel::kHalf;
      const int64_t x0 = x >> 16, y0 = y >> 16;
      at.firstX = std::min(at.firstX, x0);
      at.firstY = std::min(at.firstY, y0);
      at.lastX = std::max(at.lastX, x0 + (!nearest && (x & 0xffff) != 0));
      at.lastY = std::max(at.lastY, y0 + (!nearest && (y & 0xffff) != 0));
    }
}

template <class T, class Reader>
T sampleAt(Mode mode, Reader& read, int64_t x, int64_t y) {
  return static_cast<T>(mode == lcPolarSamplingParams::kNearest
                            ? lcAffinePixel::nearest(read, x, y)
                            : lcAffinePixel::bilinearAccurate(read, x, y));
}

template <class T, class Reader>
int32_t sampleRows(Mode mode, const lcPolarPositions& at, Reader& read, const lcPelRows<T>& out,
                   const lcRowBand& band) {
  int64_t x = 0, y = 0;
  for (int32_t j = band.begin; j < band.end; ++j)
    for (int32_t i = 0; i < out.width; ++i) {
      if (!fixedPosition(at, i, j, x, y)) throw lcPolarTransDefs::Clipped();
      out[j][i] = sampleAt<T>(mode, read, x, y);
    }
  return 0;
}

template <class T>
void unwrap(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
            const lcPolarSamplingParams& params) {
  if (lcPolarIsClipped(params, src)) throw lcPolarTransDefs::Clipped();
  const auto at = params.positions({double(src.offsetX()), double(src.offsetY())});
  const int32_t nx = params.numSamplesX(), ny = params.numSamplesY();
  if (!dst.isBound()) dst.allocate(nx, ny);
  if (dst.width() != nx || dst.height() != ny) throw lcPel::BadWindow();
  const lcPelRows<const T> in = src.rows();
  const lcAffineSource<T> source{in.first, in.pitch, in.width, in.height};
  const lcPelRows<T> out = dst.rows();
  const Mode mode = params.mode() == lcPolarSamplingParams::kNearest
                        ? lcPolarSamplingParams::kNearest
                        : lcPolarSamplingParams::kBilinear;
  lcRunBands(lcKernelBands(ny, nx, kBands, lcWorkerCount()), [&](const lcRowBand& band) {
    lcRunKernel(
        name,
        [&] {
          if (lcAffineRows::polarRows(mode == lcPolarSamplingParams::kNearest, source, *at, out,
                                      band.begin, band.end))
            return int32_t{0};
          lcTrustingReader<T> read{source};
          return sampleRows(mode, *at, read, out, band);
        },
        [&] {
          lcCheckingReader<T> read{source};
          sampleRows(mode, *at, read, out, band);
          if (read.clipped) throw lcPolarTransDefs::Clipped();
          return int32_t{0};
        });
  });
}

}  // namespace

lcPolarSamplingParams::lcPolarSamplingParams(const lcEllipseAnnulusSection& section,
                                             int32_t numSamplesX, int32_t numSamplesY, int32_t mode)
    : section_(section),
      numSamplesX_(sampleCount(numSamplesX, L"xNumSamples < 1")),
      numSamplesY_(sampleCount(numSamplesY, L"yNumSamples < 1")),
      mode_(mode) {}

std::shared_ptr<const lcPolarPositions> lcPolarSamplingParams::positions(
    const lc2Vector& windowOrigin) const {
  std::lock_guard guard(cache_->lock);
  if (cache_->positions && cache_->origin == windowOrigin) return cache_->positions;
  auto at = std::make_shared<lcPolarPositions>();
  const lc2XformLinear& e = section_.unitCircle();
  at->centre = e.translation() - windowOrigin;
  const double sweep = section_.endAngle() - section_.startAngle();
  for (int32_t i = 0; i < numSamplesX_; ++i) {
    const double u = (i + 0.5) / numSamplesX_;
    const double theta = section_.startAngle() + (section_.angleFromStart() ? u : 1 - u) * sweep;
    at->direction.push_back(e.mapVector({std::cos(theta), std::sin(theta)}));
  }
  for (int32_t j = 0; j < numSamplesY_; ++j) {
    const double v = (j + 0.5) / numSamplesY_;
    at->scale.push_back(1 + (section_.radialFromBase() ? v : 1 - v) * (section_.secondScale() - 1));
  }
  noteTouchedPixels(*at, mode_ == kNearest);
  cache_->origin = windowOrigin;
  cache_->positions = at;
  return at;
}

bool lcPolarIsClipped(const lcPolarSamplingParams& params, const lcPelFrame& source) {
  if (!source.isBound()) throw lcPel::UnboundWindow();
  const auto at = params.positions({double(source.offsetX()), double(source.offsetY())});
  return at->beyondReach || at->firstX < 0 || at->firstY < 0 || at->lastX >= source.width() ||
         at->lastY >= source.height();
}

void lcPolarUnwrap(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcPolarSamplingParams& params) {
  unwrap("cip_polarUnwrap_8", src, dst, params);
}

void lcPolarUnwrap(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                   const lcPolarSamplingParams& params) {
  unwrap("cip_polarUnwrap_16", src, dst, params);
}
