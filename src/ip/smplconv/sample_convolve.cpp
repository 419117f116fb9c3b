#include "ip/smplconv/sample_convolve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "ip/smplconv/smplconv_rows.h"
#include "std/pelbuf/pel_bands.h"
#include "std/pelbuf/pel_errors.h"
#include "std/pelbuf/pel_xform.h"
#include "std/util/kernel_selection.h"

namespace {

// Index i of a window of n pixels mirrored about its edge pixels, again and again.
int32_t reflect(int64_t i, int32_t n) {
  if (n == 1) return 0;
  const int64_t period = 2 * int64_t{n - 1};
  const int64_t m = ((i % period) + period) % period;
  return static_cast<int32_t>(m < n ? m : period - m);
}

// The larger of the positive and the negative weight sums.
int64_t scaleOf(const std::vector<int32_t>& kernel) {
  int64_t positive = 0, negative = 0;
  for (int32_t w : kernel)
    (w > 0 ? positive : negative) += std::abs(w);
  return std::max(positive, negative);
}

// The smallest output index i with (i + 1/2) rate >= edge.
int64_t firstCentreFrom(int32_t edge, double rate) {
  double i = std::ceil(edge / rate - 0.5);
  if (!(std::fabs(i) < 0x1p31)) throw lcPelFunc::Range();
  while ((i + 0.5) * rate < edge)
    i += 1;
  while ((i - 0.5) * rate >= edge)
    i -= 1;
  if (i < std::numeric_limits<int32_t>::min() || i > std::numeric_limits<int32_t>::max())
    throw lcPelFunc::Range();
  return static_cast<int64_t>(i);
}

// One axis: where each output index samples and with which weights. The kernel is turned
// as a convolution turns it, so that turned[k] falls on source index base - c + k.
struct Axis {
  Axis(const std::vector<int32_t>& kernel, double rate, int32_t sourceFrom, int32_t outFrom,
       int32_t outSize)
      : turned(kernel.rbegin(), kernel.rend()), scale(scaleOf(kernel)) {
    const int32_t n = taps();
    const int64_t half = int64_t(kernel.size()) / 2;
    first.resize(std::size_t(outSize));
    fraction.resize(std::size_t(outSize));
    for (int32_t a = 0; a < outSize; ++a) {
      const int64_t q = std::llround(((double(outFrom) + a + 0.5) * rate - 0.5) * 256);
      first[std::size_t(a)] = (q >> 8) - half - sourceFrom;
      fraction[std::size_t(a)] = uint8_t(q & 255);
    }
    weightTable.resize(256 * std::size_t(n));
    for (int32_t f = 0; f < 256; ++f)
      for (int32_t k = 0; k < n; ++k)
        weightTable[std::size_t(f * n + k)] = (k + 1 < n ? (256 - f) * turned[std::size_t(k)] : 0) +
                                              (k > 0 ? f * turned[std::size_t(k - 1)] : 0);
  }

  // The kernel and the linear interpolation between base and base + 1 as one kernel of
  // size + 1 weights over source indexes first[a] to first[a] + size.
  int32_t taps() const { return int32_t(turned.size()) + 1; }
  const int32_t* weights(int32_t a) const {
    return weightTable.data() + std::size_t(fraction[std::size_t(a)]) * std::size_t(taps());
  }

  std::vector<int32_t> turned;
  int64_t scale;
  std::vector<int64_t> first;  // relative to the source window, before mirroring
  std::vector<uint8_t> fraction;
  std::vector<int32_t> weightTable;  // 256 fractions x taps()
};

struct Plan {
  Plan(const lcSampleConvolveParams& params, const lcPelRect& source, const lcPelRect& out)
      : x(params.kernelX, params.sampleX, source.x0, out.x0, out.width()),
        y(params.kernelY, params.sampleY, source.y0, out.y0, out.height()),
        divisor(65536 * x.scale * y.scale) {
    const auto [low, high] = std::minmax_element(x.first.begin(), x.first.end());
    if (low != x.first.end()) {
      padBefore = std::max<int64_t>(0, -*low);
      padAfter = std::max<int64_t>(0, *high + x.taps() - source.width());
    }
  }

  // H / divisor rounded half away from zero, clamped to the pixels' range.
  template <class T>
  T finish(int64_t h) const {
    if (h <= 0) return 0;
    const int64_t q = (h + divisor / 2) / divisor;
    return static_cast<T>(std::min<int64_t>(q, std::numeric_limits<T>::max()));
  }

  // The source rows output row j reads, mirrored into the window.
  template <class T>
  void rowsOf(const lcPelRows<const T>& in, int32_t j, const T** rows) const {
    for (int32_t k = 0; k < y.taps(); ++k)
      rows[k] = in[reflect(y.first[std::size_t(j)] + k, in.height)];
  }

  Axis x, y;
  int64_t divisor;
  int64_t padBefore = 0, padAfter = 0;  // columns the x taps read beyond the window
};

template <class T>
int32_t portableRows(const lcPelBand<T, T>& job, const Plan& plan) {
  const int32_t width = job.in.width;
  std::vector<int64_t> column(static_cast<std::size_t>(width));
  std::vector<const T*> rows(std::size_t(plan.y.taps()));
  for (int32_t j = job.band.begin; j < job.band.end; ++j) {
    plan.rowsOf(job.in, j, rows.data());
    const int32_t* wy = plan.y.weights(j);
    for (int32_t x = 0; x < width; ++x) {
      int64_t sum = 0;
      for (int32_t k = 0; k < plan.y.taps(); ++k)
        sum += int64_t{wy[k]} * rows[std::size_t(k)][x];
      column[std::size_t(x)] = sum;
    }
    for (int32_t a = 0; a < job.out.width; ++a) {
      const int32_t* wx = plan.x.weights(a);
      int64_t h = 0;
      for (int32_t k = 0; k < plan.x.taps(); ++k)
        h += wx[k] * column[std::size_t(reflect(plan.x.first[std::size_t(a)] + k, width))];
      job.out[j][a] = plan.finish<T>(h);
    }
  }
  return 0;
}

// The kernel down the rows in 32-bit lanes (at most 128 x 127 x 65535 < 2^31), at base
// and, for a fraction, at base + 1; the interpolation of the two in 64 bits into a row
// padded with its mirror images, which the x taps then read without mirroring.
template <class T>
int32_t fastRows(const lcPelBand<T, T>& job, const Plan& plan) {
  const int32_t width = job.in.width;
  const int32_t size = int32_t(plan.y.turned.size());
  std::vector<const T*> rows(std::size_t(plan.y.taps()));
  std::vector<int32_t> atBase(static_cast<std::size_t>(width)), atNext(atBase.size());
  std::vector<int64_t> padded(std::size_t(plan.padBefore + width + plan.padAfter));
  int64_t* column = padded.data() + plan.padBefore;
  for (int32_t j = job.band.begin; j < job.band.end; ++j) {
    plan.rowsOf(job.in, j, rows.data());
    const int64_t f = plan.y.fraction[std::size_t(j)];
    lcSampleConvolveRows::weightedRowsFast(rows.data(), plan.y.turned.data(), size, atBase.data(),
                                           width);
    if (f == 0) {
      for (int32_t x = 0; x < width; ++x)
        column[x] = 256 * int64_t{atBase[std::size_t(x)]};
    } else {
      lcSampleConvolveRows::weightedRowsFast(rows.data() + 1, plan.y.turned.data(), size,
                                             atNext.data(), width);
      for (int32_t x = 0; x < width; ++x)
        column[x] = (256 - f) * atBase[std::size_t(x)] + f * atNext[std::size_t(x)];
    }
    for (int64_t k = 1; k <= plan.padBefore; ++k)
      column[-k] = column[reflect(-k, width)];
    for (int64_t k = 0; k < plan.padAfter; ++k)
      column[width + k] = column[reflect(width + k, width)];
    T* out = job.out[j];
    for (int32_t a = 0; a < job.out.width; ++a) {
      const int32_t* wx = plan.x.weights(a);
      const int64_t* at = column + plan.x.first[std::size_t(a)];
      int64_t h = 0;
      for (int32_t k = 0; k < plan.x.taps(); ++k)
        h += wx[k] * at[k];
      out[a] = plan.finish<T>(h);
    }
  }
  return 0;
}

template <class T>
void sampleConvolve(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
                    const lcSampleConvolveParams& params) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  const lcSampleConvolvePlacement place = lcSampleConvolvePlace(params, src.bufferRect());
  lcAllocateDerived(src, dst, place.destination, place.sourceFromDestination);
  if (place.destination.isEmpty()) return;
  const Plan plan(params, src.bufferRect(), place.destination);
  // About nx + ny multiply-adds an output pixel: a band holds some 50 microseconds.
  const int64_t work = int64_t(params.kernelX.size() + params.kernelY.size()) + 2;
  const lcBandRule rule{std::max<int64_t>(4096, (int64_t{1} << 21) / work), 0};
  lcForEachBand(src, dst, place.destination, rule, [&](const lcPelBand<T, T>& job) {
    lcRunKernel(
        name, [&] { return fastRows(job, plan); }, [&] { return portableRows(job, plan); });
  });
}

void checkKernel(const std::vector<int32_t>& kernel) {
  const auto size = int64_t(kernel.size());
  if (size < 1 || size > lcMaxSampleKernelSize || size % 2 == 0)
    throw lcSampleConvolveDefs::BadParams(L"kernel sizes are odd, 1 to 127");
  for (int32_t w : kernel)
    if (w < -lcMaxSampleKernelWeight || w > lcMaxSampleKernelWeight)
      throw lcSampleConvolveDefs::BadParams(L"kernel weights lie from -128 to 128");
  if (scaleOf(kernel) == 0) throw lcSampleConvolveDefs::BadParams(L"a kernel of zeros");
}

}  // namespace

void lcCheckSampleConvolveParams(const lcSampleConvolveParams& params) {
  checkKernel(params.kernelX);
  checkKernel(params.kernelY);
  for (double rate : {params.sampleX, params.sampleY})
    if (!(rate > 0 && std::isfinite(rate)))
      throw lcSampleConvolveDefs::BadParams(L"sample rates are finite and positive");
}

lcSampleConvolvePlacement lcSampleConvolvePlace(const lcSampleConvolveParams& params,
                                                const lcPelRect& source) {
  lcCheckSampleConvolveParams(params);
  const int64_t x0 = firstCentreFrom(source.x0, params.sampleX);
  const int64_t x1 = firstCentreFrom(source.x1, params.sampleX);
  const int64_t y0 = firstCentreFrom(source.y0, params.sampleY);
  const int64_t y1 = firstCentreFrom(source.y1, params.sampleY);
  const bool empty = x1 <= x0 || y1 <= y0;
  return {lc2XformLinear(lc2Matrix(params.sampleX, 0, 0, params.sampleY), lc2Vector{0, 0}),
          empty ? lcPelRect{} : lcPelRect{int32_t(x0), int32_t(y0), int32_t(x1), int32_t(y1)}};
}

void lcSampleConvolve(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                      const lcSampleConvolveParams& params) {
  sampleConvolve("cip_sampleConvolve_8", src, dst, params);
}

void lcSampleConvolve(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                      const lcSampleConvolveParams& params) {
  sampleConvolve("cip_sampleConvolve_16", src, dst, params);
}
