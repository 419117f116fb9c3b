#include "ip/sampling/gauss_sample.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "ip/sampling/sampling_kernel.h"
#include "ip/sampling/sampling_rows.h"
#include "ip/sampling/subsample.h"
#include "std/util/aliasing_offset.h"

namespace {

// Some 20 multiply-adds per output pixel: a band of 64K outputs holds about 50
// microseconds of work.
constexpr lcBandRule kBands{1 << 16, 0};

// Three boxes of s + 1 weights, convolved; `before` weights lie up (left) of the centre.
struct Bell {
  std::vector<uint32_t> weights;
  int32_t before = 0;
  uint64_t total = 1;
};

Bell bellOf(int32_t smoothness) {
  const int32_t box = smoothness + 1;
  std::vector<uint32_t> bell{1};
  for (int pass = 0; pass < 3; ++pass) {
    std::vector<uint32_t> wider(bell.size() + std::size_t(box) - 1, 0);
    for (std::size_t i = 0; i < bell.size(); ++i)
      for (int32_t k = 0; k < box; ++k)
        wider[i + std::size_t(k)] += bell[i];
    bell = std::move(wider);
  }
  return {std::move(bell), (3 * smoothness + 1) / 2, uint64_t(box) * box * box};
}

// Index i of a window of n pixels mirrored about its edge pixels, again and again.
int32_t reflect(int64_t i, int32_t n) {
  if (n == 1) return 0;
  const int64_t period = 2 * int64_t{n - 1};
  const int64_t m = ((i % period) + period) % period;
  return static_cast<int32_t>(m < n ? m : period - m);
}

struct Plan {
  Bell x, y;
  lcGaussSampleParams params;
  lcPelRect source, destination;

  int64_t pickedColumn(int32_t a) const {
    return (int64_t{destination.x0} + a) * params.sampleX() + (params.sampleX() - 1) / 2 -
           source.x0;
  }
  int64_t pickedRow(int32_t j) const {
    return (int64_t{destination.y0} + j) * params.sampleY() + (params.sampleY() - 1) / 2 -
           source.y0;
  }
  // H 2^k / N rounded half up, saturated or wrapped to 8 bits.
  uint8_t finish(uint64_t h) const {
    const int32_t k = params.scaleShift();
    const uint64_t numerator = h << std::max(k, 0);
    const uint64_t denominator = (x.total * y.total) << std::max(-k, 0);
    const uint64_t q = (2 * numerator + denominator) / (2 * denominator);
    return static_cast<uint8_t>(params.saturates() ? std::min<uint64_t>(q, 255) : q);
  }
  // The source rows the bell reads for output row j, mirrored into the window.
  void bellRows(const lcPelRows<const uint8_t>& in, int32_t j, const uint8_t** rows) const {
    for (std::size_t r = 0; r < y.weights.size(); ++r)
      rows[r] = in[reflect(pickedRow(j) + int64_t(r) - y.before, in.height)];
  }
};

int32_t portableRows(const lcPelBand<uint8_t, uint8_t>& job, const Plan& plan) {
  std::vector<uint64_t> column(std::size_t(job.in.width));
  std::vector<const uint8_t*> rows(plan.y.weights.size());
  for (int32_t j = job.band.begin; j < job.band.end; ++j) {
    plan.bellRows(job.in, j, rows.data());
    for (int32_t x = 0; x < job.in.width; ++x) {
      uint64_t sum = 0;
      for (std::size_t r = 0; r < rows.size(); ++r)
        sum += uint64_t{plan.y.weights[r]} * rows[r][x];
      column[std::size_t(x)] = sum;
    }
    for (int32_t a = 0; a < job.out.width; ++a) {
      uint64_t h = 0;
      for (std::size_t c = 0; c < plan.x.weights.size(); ++c)
        h += plan.x.weights[c] *
             column[std::size_t(
                 reflect(plan.pickedColumn(a) + int64_t(c) - plan.x.before, job.in.width))];
      job.out[j][a] = plan.finish(h);
    }
  }
  return 0;
}

// Plan::finish by a multiplication with the divisor's reciprocal in doubles, corrected by
// one where it fell beside the exact quotient: numerator and divisor stay below 2^42
// where the fast rows run, so both are exact and the estimate is off by one at most.
struct QuickFinish {
  explicit QuickFinish(const Plan& plan)
      : scale(std::ldexp(2.0, std::max(plan.params.scaleShift(), 0))),
        divisor(2 * double(plan.x.total * plan.y.total) *
                std::ldexp(1.0, std::max(-plan.params.scaleShift(), 0))),
        reciprocal(1 / divisor),
        saturate(plan.params.saturates()) {}
  uint8_t of(uint32_t h) const {
    const double numerator = h * scale + divisor / 2;
    double q = std::floor(numerator * reciprocal);
    if (q * divisor > numerator)
      q -= 1;
    else if ((q + 1) * divisor <= numerator)
      q += 1;
    const auto quotient = static_cast<uint32_t>(q);
    return static_cast<uint8_t>(saturate ? std::min<uint32_t>(quotient, 255) : quotient);
  }
  double scale, divisor, reciprocal;
  bool saturate;
};

// The vector finish of the horizontal bell, when the rate and the sums allow it: the
// smallest sum that gives 255 bounds the numerators, plus one divisor, below 2^31.
std::optional<lcSamplingRows::BellFinish> vectorFinish(const Plan& plan) {
  const int32_t k = plan.params.scaleShift();
  const uint64_t denominator = (plan.x.total * plan.y.total) << std::max(-k, 0);
  const uint64_t mul = uint64_t{2} << std::max(k, 0), add = denominator, div = 2 * denominator;
  const uint64_t hMax = (255 * div - add + mul - 1) / mul;
  if (!plan.params.saturates() || plan.params.sampleX() > 2 || hMax * mul + add + div >= (1u << 31))
    return std::nullopt;
  const bool narrow = 255 * plan.y.total < 0x8000 && plan.x.total < 0x8000;
  return lcSamplingRows::BellFinish{uint32_t(hMax), int32_t(mul), int32_t(add), int32_t(div),
                                    narrow};
}

// The vertical bell in 16-bit lanes while 255 times its total fits them, then the
// horizontal one over the sums mirrored into a padded row: in vectors for rates 1 and 2,
// the outputs beyond the last whole vector one by one.
int32_t fastRows(const lcPelBand<uint8_t, uint8_t>& job, const Plan& plan) {
  if (255 * plan.y.total > 0xFFFF || 255 * plan.x.total * plan.y.total > 0xFFFFFFFFu)
    return lcSamplingDeclined;
  const int32_t width = job.in.width;
  const int32_t before = plan.x.before;
  const int32_t after = int32_t(plan.x.weights.size()) - 1 - before;
  // The sums are stored while the next rows are loaded: kept clear of 4K aliasing.
  std::vector<uint16_t> padded(std::size_t(width + before + after + 1) +  // + 1: pair loads
                               kAliasingSlack / sizeof(uint16_t));
  uint16_t* column = padded.data() + before +
                     lcAliasingOffset(padded.data() + before, job.in[0]) / sizeof(uint16_t);
  std::vector<const uint8_t*> rows(plan.y.weights.size()), next(rows.size());
  std::vector<uint16_t> weightsY(plan.y.weights.begin(), plan.y.weights.end());
  const QuickFinish finish(plan);
  const auto vector = vectorFinish(plan);
  const auto taps = int32_t(plan.x.weights.size());
  const auto count = int32_t(rows.size());
  if (job.band.begin < job.band.end) plan.bellRows(job.in, job.band.begin, next.data());
  for (int32_t j = job.band.begin; j < job.band.end; ++j) {
    // The next output row's bell moves down by the rate: its last rows are fetched meanwhile.
    std::swap(rows, next);
    const bool more = j + 1 < job.band.end;
    if (more) plan.bellRows(job.in, j + 1, next.data());
    const uint8_t* aheadA = more ? next[std::size_t(count - 1)] : nullptr;
    const uint8_t* aheadB =
        more && count > 1 && plan.params.sampleY() > 1 ? next[std::size_t(count - 2)] : nullptr;
    lcSamplingRows::verticalBellFast(rows.data(), weightsY.data(), count, column, width, aheadA,
                                     aheadB);
    for (int32_t k = 1; k <= before; ++k)
      column[-k] = column[reflect(-k, width)];
    for (int32_t k = 0; k < after; ++k)
      column[width + k] = column[reflect(int64_t{width} + k, width)];
    const int32_t done =
        vector ? lcSamplingRows::horizontalBellFast(column + plan.pickedColumn(0) - before,
                                                    plan.params.sampleX(), plan.x.weights.data(),
                                                    taps, *vector, job.out[j], job.out.width)
               : 0;
    for (int32_t a = done; a < job.out.width; ++a) {
      const uint16_t* at = column + plan.pickedColumn(a) - before;
      uint32_t h = 0;
      for (int32_t c = 0; c < taps; ++c)
        h += plan.x.weights[std::size_t(c)] * at[c];
      job.out[j][a] = finish.of(h);
    }
  }
  return 0;
}

}  // namespace

lcGaussSampleParams::lcGaussSampleParams(int32_t sampleX, int32_t sampleY, int32_t smoothnessX,
                                         int32_t smoothnessY, double scaleFactor, bool saturate)
    : sampleX_(sampleX),
      sampleY_(sampleY),
      smoothnessX_(smoothnessX),
      smoothnessY_(smoothnessY),
      scaleShift_(0),
      saturate_(saturate) {
  int exponent = 0;
  const double mantissa = std::frexp(scaleFactor, &exponent);
  scaleShift_ = exponent - 1;
  if (sampleX < 1 || sampleY < 1 || smoothnessX < 0 || smoothnessY < 0 || smoothnessX > 63 ||
      smoothnessY > 63 || mantissa != 0.5 || scaleShift_ < -7 || scaleShift_ > 7)
    throw BadParams(L"rates of at least 1, smoothness 0 to 63 and a factor 2^-7 to 2^7");
}

double lcGaussSigma(int32_t smoothness) {
  return 0.5 * std::sqrt(double(smoothness) * (double(smoothness) + 2));
}

lcSamplingPlacement lcGaussSamplePlace(const lcGaussSampleParams& params, const lcPelRect& source) {
  return lcSubSamplePlace({params.sampleX(), params.sampleY(), false}, source);
}

void lcGaussSample(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcGaussSampleParams& params) {
  const lcSamplingPlacement place = lcGaussSamplePlace(params, src.bufferRect());
  const Plan plan{bellOf(params.smoothnessX()), bellOf(params.smoothnessY()), params,
                  src.bufferRect(), place.destination};
  lcRunSamplingKernel(
      "cip_gaussSample_8", src, dst, place, kBands,
      [&](const lcPelBand<uint8_t, uint8_t>& job) { return fastRows(job, plan); },
      [&](const lcPelBand<uint8_t, uint8_t>& job) { return portableRows(job, plan); });
}
