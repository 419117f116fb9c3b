#include "ip/conv/convolve3x3.h"

#include <algorithm>
#include <cmath>

#include "ip/conv/conv_rows.h"
#include "ip/conv/conv_weights.h"
#include "std/pelbuf/pel_bands.h"
#include "std/util/kernel_selection.h"

namespace {

// About 10 results a nanosecond: a band of half a million holds some 50 microseconds
// of work, well above the cost of waking a worker (see the bench's band sweep).
constexpr lcBandRule kBands{1 << 19, 1};

int32_t shiftFor(const std::array<double, 9>& weights) {
  double positive = 0, negative = 0;
  for (double k : weights)
    (k > 0 ? positive : negative) += std::fabs(k);
  const double m = std::max(positive, negative);
  if (m <= 0 || m >= 32767) return 0;
  const double q = 32767 / m;
  if (q <= 2) return 0;
  int32_t shift = 1;
  while (std::ldexp(1.0, shift + 1) < q)
    ++shift;
  return shift;
}

template <class Out>
void convolve(const char* name, const lcPelBuffer<uint8_t>& src, lcPelBuffer<Out>& dst,
              lcConvolve3x3Params params) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  if (src.width() < 3 || src.height() < 3)
    throw lcConvolveParams::BadArgument(L"a 3 x 3 filter needs an input of at least 3 x 3 pixels");
  const lcPelRect in = src.bufferRect();
  const lcPelRect outRect{in.x0 + 1 + params.originX, in.y0 + 1 + params.originY,
                          in.x1 - 1 + params.originX, in.y1 - 1 + params.originY};
  params.shift = std::clamp(params.shift, 0, 31);
  lcForEachBand(src, dst, outRect, kBands, [&](const lcPelBand<uint8_t, Out>& job) {
    lcRunKernel(
        name,
        [&] {
          lcConvRows::convolve3x3Fast(job.in, job.out, job.band.begin, job.band.end, params);
          return int32_t{0};
        },
        [&] {
          for (int32_t y = job.band.begin; y < job.band.end; ++y)
            for (int32_t x = 0; x < job.out.width; ++x)
              job.out[y][x] = static_cast<Out>(lcConvRows::convolve3x3Sum(job.in, x, y, params) >>
                                               params.shift);
          return int32_t{0};
        });
  });
}

}  // namespace

lcConvolve3x3Params lcPrepareConvolve3x3(const std::array<double, 9>& weights, int32_t origin) {
  if (origin < 0 || origin > 8)
    throw lcConvolveParams::BadArgument(L"the kernel origin must be a position from 0 to 8");
  std::for_each(weights.begin(), weights.end(), lcRequireFiniteWeight);
  lcConvolve3x3Params params;
  const int32_t shift = shiftFor(weights);
  for (std::size_t i = 0; i < weights.size(); ++i)
    params.weights[i] = lcRoundedWeight(std::ldexp(weights[i], shift));
  params.shift = std::min(shift, 31);
  params.originX = origin % 3 - 1;
  params.originY = origin / 3 - 1;
  return params;
}

void lcConvolve3x3(const lcPelBuffer<uint8_t>& src, lcPelBuffer<int16_t>& dst,
                   const lcConvolve3x3Params& params) {
  convolve("cip_convolve3x3_16s", src, dst, params);
}

void lcConvolve3x3(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcConvolve3x3Params& params) {
  convolve("cip_convolve3x3_8", src, dst, params);
}
