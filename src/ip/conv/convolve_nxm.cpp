#include "ip/conv/convolve_nxm.h"

#include <algorithm>
#include <cmath>

#include "ip/conv/conv_rows.h"
#include "ip/conv/conv_weights.h"
#include "ip/conv/reflect.h"
#include "std/pelbuf/pel_bands.h"
#include "std/util/kernel_selection.h"

namespace {

// The fast rows keep |S| + D / 2 below 2^31; larger divisors go to the portable twin.
constexpr int64_t kFastDivisorLimit = (int64_t{1} << 31) / 256;
constexpr int32_t kDeclined = 0x600;

// Where a kernel reads: result (x, y) (window coordinates) reads the N x M pixels from
// input (x + left, y + top) on, mirrored back into the input when reflected.
struct Footprint {
  int32_t left = 0;
  int32_t top = 0;
  bool reflected = false;

  int32_t column(int32_t x, int32_t width) const {
    return reflected ? lcReflect101(x + left, width) : x + left;
  }
  int32_t row(int32_t y, int32_t height) const {
    return reflected ? lcReflect101(y + top, height) : y + top;
  }
};

// The kernel turned by 180 degrees, the same in pairs for the fast rows, and the
// divisor.
struct Turned {
  std::vector<int16_t> weights;
  std::vector<uint32_t> pairs;
  int64_t divisor = 0;

  explicit Turned(const lcConvolveNxMKernel& kernel)
      : weights(kernel.weights.rbegin(), kernel.weights.rend()) {
    int64_t positive = 0, negative = 0;
    for (int16_t w : weights)
      (w > 0 ? positive : negative) += std::abs(int32_t{w});
    divisor = std::max(positive, negative);
    const int32_t n = kernel.width;
    for (auto row = weights.begin(); row != weights.end(); row += n) {
      for (int32_t c = 0; c + 1 < n; c += 2)
        pairs.push_back(lcConvRows::weightPair(row[c], row[c + 1]));
      pairs.push_back(lcConvRows::weightPair(row[n - 1], 0));
      pairs.push_back(lcConvRows::weightPair(0, row[n - 1]));
    }
  }
};

template <class Out>
Out outputPel(int32_t result, int32_t signFlag) {
  if constexpr (sizeof(Out) == 1) return static_cast<Out>(result >> signFlag);
  return static_cast<Out>(result);
}

template <class Out>
void portableBand(const lcPelBand<uint8_t, Out>& job, const lcConvolveNxMKernel& kernel,
                  const Turned& turned, const Footprint& at) {
  const int32_t n = kernel.width;
  for (int32_t y = job.band.begin; y < job.band.end; ++y) {
    for (int32_t x = 0; x < job.out.width; ++x) {
      int64_t sum = 0;
      for (int32_t r = 0; r < kernel.height; ++r) {
        const uint8_t* row = job.in[at.row(y + r, job.in.height)];
        for (int32_t c = 0; c < n; ++c)
          sum += turned.weights[static_cast<std::size_t>(r * n + c)] *
                 row[at.column(x + c, job.in.width)];
      }
      job.out[y][x] =
          outputPel<Out>(lcConvRows::divideRounded(sum, turned.divisor), kernel.signFlag);
    }
  }
}

// The input rows a band reads, widened to 16 bits and extended across the borders, in a
// ring of M rows: each input row is widened once per band.
class WidenedRows {
 public:
  WidenedRows(const lcPelRows<const uint8_t>& in, int32_t outWidth,
              const lcConvolveNxMKernel& kernel, const Footprint& at, int32_t firstRow)
      : in_(in),
        at_(at),
        height_(kernel.height),
        width_(outWidth + kernel.width - 1),
        storage_(static_cast<std::size_t>(height_) * static_cast<std::size_t>(width_)),
        rows_(static_cast<std::size_t>(height_)),
        next_(firstRow) {}

  // The M rows result row y reads, top down.
  const int16_t* const* rowsFor(int32_t y) {
    for (int32_t t = std::max(next_, y); t < y + height_; ++t)
      widen(at_.row(t, in_.height), slot(t));
    next_ = y + height_;
    for (int32_t r = 0; r < height_; ++r)
      rows_[static_cast<std::size_t>(r)] = slot(y + r);
    return rows_.data();
  }

 private:
  int16_t* slot(int32_t t) {
    return storage_.data() + static_cast<std::ptrdiff_t>(t % height_) * width_;
  }

  void widen(int32_t row, int16_t* out) const {
    const uint8_t* pels = in_[row];
    const int32_t first = std::clamp(-at_.left, 0, width_);  // [first, last) lies inside
    const int32_t last = std::clamp(in_.width - at_.left, first, width_);
    for (int32_t i = 0; i < first; ++i)
      out[i] = pels[at_.column(i, in_.width)];
    for (int32_t i = first; i < last; ++i)
      out[i] = pels[i + at_.left];
    for (int32_t i = last; i < width_; ++i)
      out[i] = pels[at_.column(i, in_.width)];
  }

  lcPelRows<const uint8_t> in_;
  Footprint at_;
  int32_t height_;
  int32_t width_;
  std::vector<int16_t> storage_;
  std::vector<const int16_t*> rows_;
  int32_t next_;
};

template <class Out>
int32_t fastBand(const lcPelBand<uint8_t, Out>& job, const lcConvolveNxMKernel& kernel,
                 const Turned& turned, const Footprint& at) {
  if (turned.divisor >= kFastDivisorLimit) return kDeclined;
  const lcConvRows::NxMRowPlan plan{kernel.width,
                                    kernel.height,
                                    turned.weights.data(),
                                    turned.pairs.data(),
                                    static_cast<int32_t>(turned.divisor),
                                    kernel.signFlag};
  WidenedRows rows(job.in, job.out.width, kernel, at, job.band.begin);
  for (int32_t y = job.band.begin; y < job.band.end; ++y)
    lcConvRows::convolveNxMFast(rows.rowsFor(y), job.out[y], job.out.width, plan);
  return 0;
}

void requirePrepared(const lcConvolveNxMKernel& kernel) {
  if (kernel.width < 1 || kernel.height < 1 || kernel.width % 2 == 0 || kernel.height % 2 == 0 ||
      kernel.weights.size() != static_cast<std::size_t>(kernel.width) * kernel.height)
    throw lcConvolveParams::BadArgument(L"the N x M kernel needs odd sizes and N * M weights");
  if (std::all_of(kernel.weights.begin(), kernel.weights.end(), [](int16_t w) { return w == 0; }))
    throw lcConvolveParams::ZeroKernel();
}

template <class Out>
void convolve(const char* name, const lcPelBuffer<uint8_t>& src, lcPelBuffer<Out>& dst,
              const lcConvolveNxMParams& params) {
  const lcConvolveNxMKernel& kernel = params.kernel;
  requirePrepared(kernel);
  if (!src.isBound()) throw lcPel::UnboundWindow();
  const int32_t hx = kernel.width / 2, hy = kernel.height / 2;
  const lcPelRect in = src.bufferRect();
  lcPelRect outRect = in;
  Footprint at{-hx, -hy, true};
  if (params.boundary != lcBoundaryMode::Reflected) {
    if (src.width() < kernel.width || src.height() < kernel.height)
      throw lcConvolveParams::BadArgument(
          L"a clipped filter needs an input at least as large as its kernel");
    outRect = {in.x0 + hx, in.y0 + hy, in.x1 - hx, in.y1 - hy};
    at = {0, 0, false};
  }
  const Turned turned(kernel);
  // About 50 weights a nanosecond: a band holds some 40 microseconds of work. Each band
  // widens M - 1 rows more.
  const lcBandRule bands{
      std::max<int64_t>((int64_t{1} << 21) / (kernel.width * kernel.height), 4096),
      kernel.height - 1};
  lcForEachBand(src, dst, outRect, bands, [&](const lcPelBand<uint8_t, Out>& job) {
    lcRunKernel(
        name, [&] { return fastBand(job, kernel, turned, at); },
        [&] {
          portableBand(job, kernel, turned, at);
          return int32_t{0};
        });
  });
}

}  // namespace

lcConvolveNxMKernel lcPrepareConvolveNxM(const lcPelBuffer<double>& values) {
  if (!values.isBound() || values.width() % 2 == 0 || values.height() % 2 == 0)
    throw lcConvolveParams::BadArgument(L"an N x M kernel needs odd sizes");
  double low = 0, high = 0;
  const lcPelRows<const double> rows = values.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x) {
      lcRequireFiniteWeight(rows[y][x]);
      low = std::min(low, rows[y][x]);
      high = std::max(high, rows[y][x]);
    }
  if (high <= 0 && low >= 0) throw lcConvolveParams::ZeroKernel();
  lcConvolveNxMKernel kernel{rows.width, rows.height, {}, high > 0 && low < 0 ? 1 : 0};
  const double m = std::max(high, -low);
  kernel.weights.reserve(static_cast<std::size_t>(rows.width) * rows.height);
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x) {
      const double scaled = rows[y][x] * 32767;  // beyond the doubles only for values near 1e304
      kernel.weights.push_back(
          lcRoundedWeight(std::isfinite(scaled) ? scaled / m : rows[y][x] / m * 32767));
    }
  return kernel;
}

void lcConvolveNxM(const lcPelBuffer<uint8_t>& src, lcPelBuffer<int16_t>& dst,
                   const lcConvolveNxMParams& params) {
  convolve("cip_convolveNxM_16s", src, dst, params);
}

void lcConvolveNxM(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcConvolveNxMParams& params) {
  convolve("cip_convolveNxM_8", src, dst, params);
}
