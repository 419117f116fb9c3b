#include "ip/sampling/subsample.h"

#include <algorithm>
#include <cstring>

#include "ip/sampling/sampling_kernel.h"
#include "ip/sampling/sampling_rows.h"

namespace {

// About a nanosecond per output pixel: a band of a quarter million holds the 50
// microseconds of work that make waking a worker worth it.
constexpr lcBandRule kBands{1 << 18, 0};

// Where an output pixel's block and picked pixel lie in the source window.
struct Blocks {
  lcSubSampleParams p;
  lcPelRect source;       // the source window, buffer coordinates
  lcPelRect destination;  // the output window, buffer coordinates

  // The first column of output column a's block, counted from the source window.
  int64_t column(int32_t a) const { return (int64_t{destination.x0} + a) * p.factorX - source.x0; }
  int64_t row(int32_t j) const { return (int64_t{destination.y0} + j) * p.factorY - source.y0; }
};

template <class T>
T blockMean(const lcPelRows<const T>& in, const Blocks& b, int32_t a, int32_t j) {
  const int64_t c0 = std::max<int64_t>(b.column(a), 0);
  const int64_t c1 = std::min<int64_t>(b.column(a) + b.p.factorX, in.width);
  const int64_t r0 = std::max<int64_t>(b.row(j), 0);
  const int64_t r1 = std::min<int64_t>(b.row(j) + b.p.factorY, in.height);
  uint64_t sum = 0;
  for (int64_t r = r0; r < r1; ++r)
    for (int64_t c = c0; c < c1; ++c)
      sum += in[r][c];
  const uint64_t count = uint64_t(c1 - c0) * uint64_t(r1 - r0);
  return static_cast<T>((sum + count / 2) / count);
}

template <class T>
T picked(const lcPelRows<const T>& in, const Blocks& b, int32_t a, int32_t j) {
  return in[b.row(j) + (b.p.factorY - 1) / 2][b.column(a) + (b.p.factorX - 1) / 2];
}

// Factor 2 across: one call per row picks or averages it (2 x 2 blocks); the last
// output's block may reach beyond the window and takes the rule of edge blocks.
template <class T>
int32_t fastRows(const lcPelBand<T, T>& job, const Blocks& b) {
  if (b.p.factorX != 2 || (b.p.average && b.p.factorY != 2)) return lcSamplingDeclined;
  const int32_t width = job.out.width;
  for (int32_t j = job.band.begin; j < job.band.end; ++j) {
    const T* first = job.in[b.row(j) + (b.p.factorY - 1) / 2] + b.column(0);
    if (!b.p.average) {
      lcSamplingRows::pickEvenFast(first, job.out[j], width);
      continue;
    }
    if (b.row(j) < 0 || b.row(j) + 2 > job.in.height) {
      for (int32_t a = 0; a < width; ++a)
        job.out[j][a] = blockMean(job.in, b, a, j);
      continue;
    }
    const int32_t whole = b.column(width - 1) + 2 > job.in.width ? width - 1 : width;
    lcSamplingRows::average2x2Fast(first, first + job.in.pitch, job.out[j], whole);
    if (whole < width) job.out[j][whole] = blockMean(job.in, b, whole, j);
  }
  return 0;
}

template <class T>
void subSample(const char* name, const lcPelBuffer<T>& src, lcPelBuffer<T>& dst,
               const lcSubSampleParams& params) {
  const lcSamplingPlacement place = lcSubSamplePlace(params, src.bufferRect());
  const Blocks blocks{params, src.bufferRect(), place.destination};
  lcRunSamplingKernel(
      name, src, dst, place, kBands,
      [&](const lcPelBand<T, T>& job) { return fastRows(job, blocks); },
      [&](const lcPelBand<T, T>& job) {
        for (int32_t j = job.band.begin; j < job.band.end; ++j)
          for (int32_t a = 0; a < job.out.width; ++a)
            job.out[j][a] =
                params.average ? blockMean(job.in, blocks, a, j) : picked(job.in, blocks, a, j);
        return int32_t{0};
      });
}

}  // namespace

lcSamplingPlacement lcSubSamplePlace(const lcSubSampleParams& params, const lcPelRect& source) {
  if (params.factorX < 1 || params.factorY < 1) throw lcPelFunc::BadParams();
  const lcSampleRange x =
      lcPickedRange(source.x0, source.x1, params.factorX, (params.factorX - 1) / 2);
  const lcSampleRange y =
      lcPickedRange(source.y0, source.y1, params.factorY, (params.factorY - 1) / 2);
  const bool empty = x.last == x.first || y.last == y.first;
  const lcPelRect destination = empty ? lcPelRect{} : lcPelRect{x.first, y.first, x.last, y.last};
  const auto shift = [](int32_t factor) { return factor % 2 == 0 ? -0.5 : 0.0; };
  return {lc2XformLinear(lc2Matrix(params.factorX, 0, 0, params.factorY),
                         lc2Vector{shift(params.factorX), shift(params.factorY)}),
          destination};
}

void lcSubSample(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                 const lcSubSampleParams& params) {
  subSample("cip_subSample_8", src, dst, params);
}

void lcSubSample(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                 const lcSubSampleParams& params) {
  subSample("cip_subSample_16", src, dst, params);
}
