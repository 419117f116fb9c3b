#include "ip/conv/high_pass.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ip/conv/high_pass_rows.h"
#include "ip/conv/reflect.h"
#include "std/pelbuf/pel_bands.h"
#include "std/util/kernel_selection.h"

// The smoothing runs down the image with running sums. Row t of the band's input stream
// (rows reflected into the image) enters the first box of w rows and row t - w leaves
// it; the first box's sum row enters the second box, and so on. Zeros stand before the
// stream, so each box's sum is exact once its rows are all in, and the third box's sum
// after row y + after has entered is the vertical smoothing of output row y. The rows
// the first two boxes held are kept in rings of w rows, slot (t - first row) mod w.

using lcHighPassRows::Bell;

namespace {

// Beyond this the 64-bit sums of the portable twin could overflow.
constexpr int32_t kMaxSmoothness = 255;
constexpr int32_t kDeclined = 0x600;

Bell bellFor(int32_t smoothness) {
  return {smoothness + 1, (3 * smoothness + 1) / 2, 3 * smoothness / 2};
}

template <class Sum>
class Cascade {
 public:
  Cascade(int32_t box, int32_t width)
      : box_(box),
        width_(width),
        ring1_(size(box, width)),
        ring2_(size(box, width)),
        sum3_(static_cast<std::size_t>(width)) {}

  // step(add, drop, ring1, ring1Before, ring2, ring2Before, sum3, width) for stream row i.
  template <class Step>
  void push(int32_t i, const uint8_t* add, const uint8_t* drop, const Step& step) {
    const int32_t slot = i % box_, before = (i + box_ - 1) % box_;
    step(add, drop, row(ring1_, slot), row(ring1_, before), row(ring2_, slot), row(ring2_, before),
         sum3_.data(), width_);
  }
  const Sum* vertical() const { return sum3_.data(); }

 private:
  static std::size_t size(int32_t box, int32_t width) {
    return static_cast<std::size_t>(box) * static_cast<std::size_t>(width);
  }
  Sum* row(std::vector<Sum>& ring, int32_t slot) {
    return ring.data() + static_cast<std::ptrdiff_t>(slot) * width_;
  }

  int32_t box_;
  int32_t width_;
  std::vector<Sum> ring1_, ring2_, sum3_;
};

// Streams the band's input rows through the cascade and calls finish(vertical, y) for
// each output row.
template <class Sum, class Step, class Finish>
void streamBand(const lcPelBand<uint8_t, uint8_t>& job, const Bell& down, const Step& step,
                const Finish& finish) {
  Cascade<Sum> cascade(down.box, job.in.width);
  const int32_t first = job.band.begin - down.before;
  for (int32_t t = first; t < job.band.end + down.after; ++t) {
    const int32_t i = t - first;
    const uint8_t* drop =
        i >= down.box ? job.in[lcReflect101(t - down.box, job.in.height)] : nullptr;
    cascade.push(i, job.in[lcReflect101(t, job.in.height)], drop, step);
    if (t - down.after >= job.band.begin) finish(cascade.vertical(), t - down.after);
  }
}

void portableStep(const uint8_t* add, const uint8_t* drop, int64_t* ring1,
                  const int64_t* ring1Before, int64_t* ring2, const int64_t* ring2Before,
                  int64_t* sum3, int32_t width) {
  for (int32_t x = 0; x < width; ++x) {
    const int64_t old1 = ring1[x], old2 = ring2[x];
    ring1[x] = ring1Before[x] + add[x] - (drop ? drop[x] : 0);
    ring2[x] = ring2Before[x] + ring1[x] - old1;
    sum3[x] += ring2[x] - old2;
  }
}

// Three running box sums across `row` (width values), extended by reflection.
std::vector<int64_t> portableAcross(const int64_t* row, int32_t width, const Bell& across) {
  std::vector<int64_t> values(static_cast<std::size_t>(width + across.before + across.after));
  for (std::size_t i = 0; i < values.size(); ++i)
    values[i] = row[lcReflect101(static_cast<int32_t>(i) - across.before, width)];
  for (int pass = 0; pass < 3; ++pass) {
    int64_t sum = 0;
    for (int32_t k = 0; k < across.box; ++k)
      sum += values[static_cast<std::size_t>(k)];
    const std::size_t count = values.size() - static_cast<std::size_t>(across.box - 1);
    for (std::size_t i = 0; i < count; ++i) {
      const int64_t leaving = values[i];
      values[i] = sum;
      if (i + 1 < count) sum += values[i + static_cast<std::size_t>(across.box)] - leaving;
    }
    values.resize(count);
  }
  return values;
}

void portableBand(const lcPelBand<uint8_t, uint8_t>& job, const Bell& across, const Bell& down) {
  const int64_t total = static_cast<int64_t>(std::pow(across.box * down.box, 3));
  streamBand<int64_t>(job, down, portableStep, [&](const int64_t* vertical, int32_t y) {
    const std::vector<int64_t> sums = portableAcross(vertical, job.in.width, across);
    for (int32_t x = 0; x < job.in.width; ++x) {
      const auto g = static_cast<int32_t>((sums[static_cast<std::size_t>(x)] + total / 2) / total);
      job.out[y][x] = static_cast<uint8_t>(std::clamp(job.in[y][x] - g + 128, 0, 255));
    }
  });
}

template <class Sum>
void fastBandWith(const lcPelBand<uint8_t, uint8_t>& job, const Bell& across, const Bell& down,
                  uint32_t total) {
  std::vector<uint32_t> scratch(
      static_cast<std::size_t>(2 * (job.in.width + across.before + across.after) + 64));
  const auto step = [](auto... args) { lcHighPassRows::verticalFast(args...); };
  streamBand<Sum>(job, down, step, [&](const Sum* vertical, int32_t y) {
    lcHighPassRows::finishFast(vertical, job.in[y], job.out[y], job.in.width, across, total,
                               scratch.data());
  });
}

int32_t fastBand(const lcPelBand<uint8_t, uint8_t>& job, const Bell& across, const Bell& down) {
  const int64_t total = static_cast<int64_t>(std::pow(across.box * down.box, 3));
  if (total * 256 >= int64_t{1} << 31) return kDeclined;  // the fast sums are 32-bit
  if (255 * std::pow(down.box, 3) < 65536)
    fastBandWith<uint16_t>(job, across, down, static_cast<uint32_t>(total));
  else
    fastBandWith<uint32_t>(job, across, down, static_cast<uint32_t>(total));
  return 0;
}

}  // namespace

double lcHighPassSigma(int32_t smoothness) {
  return 0.5 * std::sqrt(static_cast<double>(smoothness) * (smoothness + 2.0));
}

void lcHighPass(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                const lcHighPassParams& params) {
  for (int32_t s : {params.smoothnessX, params.smoothnessY})
    if (s < 0 || s > kMaxSmoothness)
      throw lcConvolveParams::BadArgument(L"smoothness must lie between 0 and 255");
  if (!src.isBound()) throw lcPel::UnboundWindow();
  const Bell across = bellFor(params.smoothnessX), down = bellFor(params.smoothnessY);
  // About 2 results a nanosecond: a band of 128K holds some 60 microseconds of work.
  // Each band restarts the cascade 3 * smoothness rows above its first row.
  const lcBandRule bands{1 << 17, down.before + down.after};
  lcForEachBand(src, dst, src.bufferRect(), bands, [&](const lcPelBand<uint8_t, uint8_t>& job) {
    lcRunKernel(
        "cip_highPass_8", [&] { return fastBand(job, across, down); },
        [&] {
          portableBand(job, across, down);
          return int32_t{0};
        });
  });
}
