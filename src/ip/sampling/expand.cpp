#include "ip/sampling/expand.h"

#include <cstring>
#include <limits>

#include "ip/sampling/sampling_kernel.h"
#include "ip/sampling/sampling_rows.h"

namespace {

// Output rows are mostly copies of the row above: a band of a million output pixels
// holds some 50 microseconds of work.
constexpr lcBandRule kBands{1 << 20, 0};

template <class T>
int32_t fastRows(const lcPelBand<T, T>& job, int32_t ex, int32_t ey) {
  const int32_t width = job.in.width;
  for (int32_t j = job.band.begin; j < job.band.end; ++j) {
    T* out = job.out[j];
    if (j > job.band.begin && j / ey == (j - 1) / ey) {
      std::memcpy(out, job.out[j - 1], sizeof(T) * std::size_t(job.out.width));
      continue;
    }
    const T* in = job.in[j / ey];
    if (ex == 1)
      std::memcpy(out, in, sizeof(T) * std::size_t(width));
    else if (ex == 2)
      lcSamplingRows::doubleFast(in, out, width);
    else
      for (int32_t x = 0; x < width; ++x)
        std::fill_n(out + std::ptrdiff_t{x} * ex, ex, in[x]);
  }
  return 0;
}

template <class T>
void expand(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
            const lcExpandParams& params) {
  const lcSamplingPlacement place = lcExpandPlace(params, src.bufferRect());
  const int32_t ex = params.factorX, ey = params.factorY;
  lcRunSamplingKernel(
      name, src, dst, place, kBands,
      [&](const lcPelBand<T, T>& job) { return fastRows(job, ex, ey); },
      [&](const lcPelBand<T, T>& job) {
        for (int32_t j = job.band.begin; j < job.band.end; ++j)
          for (int32_t a = 0; a < job.out.width; ++a)
            job.out[j][a] = job.in[j / ey][a / ex];
        return int32_t{0};
      });
}

}  // namespace

lcSamplingPlacement lcExpandPlace(const lcExpandParams& params, const lcPelRect& source) {
  if (params.factorX < 1 || params.factorY < 1) throw lcPelFunc::BadParams();
  const auto scaled = [](int32_t v, int32_t factor) {
    const int64_t result = int64_t{v} * factor;
    if (result < std::numeric_limits<int32_t>::min() ||
        result > std::numeric_limits<int32_t>::max())
      throw lcPelFunc::Range();
    return static_cast<int32_t>(result);
  };
  const lcPelRect destination{scaled(source.x0, params.factorX), scaled(source.y0, params.factorY),
                              scaled(source.x1, params.factorX), scaled(source.y1, params.factorY)};
  return {
      lc2XformLinear(lc2Matrix(1.0 / params.factorX, 0, 0, 1.0 / params.factorY), lc2Vector{0, 0}),
      destination};
}

void lcExpand(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
              const lcExpandParams& params) {
  expand("cip_expand_8", src, dst, params);
}

void lcExpand(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
              const lcExpandParams& params) {
  expand("cip_expand_16", src, dst, params);
}
