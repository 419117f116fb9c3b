#include "ip/orient/missing_pixel.h"

#include <algorithm>
#include <vector>

#include "std/util/kernel_selection.h"
#include "std/util/row_bands.h"
#include "std/util/worker_pool.h"

namespace {

using Status = lcMissingPixelStatus;

// A few nanoseconds a pixel: a band of 64K pixels holds some 50 microseconds of work.
constexpr lcBandRule kBands{1 << 16, 0};

struct Rules {
  int32_t direction;
  int32_t computation;
  uint16_t global;
};

// The value between neighbours vb (distance db before) and va (distance da after).
uint16_t between(uint32_t vb, int64_t db, uint32_t va, int64_t da, int32_t computation) {
  if (computation == 2) return uint16_t(std::min(vb, va));
  if (computation == 3) return uint16_t(std::max(vb, va));
  const int64_t numerator = int64_t{vb} * da + int64_t{va} * db;
  return uint16_t((2 * numerator + db + da) / (2 * (db + da)));
}

// The filled value from what the directions gave (found bit 1: horizontal, 2: vertical).
uint16_t resolve(int found, uint16_t h, uint16_t v, const Rules& rules) {
  if (rules.computation == 4 || found == 0) return rules.global;
  if (found == 1) return h;
  if (found == 2) return v;
  if (rules.computation == 2) return std::min(h, v);
  if (rules.computation == 3) return std::max(h, v);
  return uint16_t((uint32_t{h} + v + 1) / 2);
}

Status check(const lcPelBufferRange16& src, const lcPelBufferRange16& dst,
             const lcMissingPixelParams& p) {
  if (p.direction < 1 || p.direction > 3) return Status::InvalidDirection;
  if (p.computation < 1 || p.computation > 4) return Status::InvalidValueComputation;
  if (p.globalValueMode < 1 || p.globalValueMode > 4) return Status::InvalidGlobalValueMode;
  if (p.extra[0] != 0) return Status::InvalidSmoothing;
  if (p.extra[1] != 1 || p.extra[2] != 1 || p.extra[3] != 1) return Status::InvalidArgument;
  if (p.fixedGlobalValue < src.range().minimum || p.fixedGlobalValue > src.range().maximum)
    return Status::FixedGlobalValueOutsideDstRange;
  if (dst.pels().isBound() || dst.mask().isBound()) return Status::BoundDestRangeImage;
  if (!src.pels().isBound() || !src.mask().isBound()) return Status::InvalidArgument;
  return Status::Ok;
}

uint16_t globalValue(const lcPelRows<const uint16_t>& in, const lcPelRows<const uint8_t>& mask,
                     const lcMissingPixelParams& p) {
  if (p.globalValueMode == 1) return uint16_t(p.fixedGlobalValue);
  uint64_t count = 0, sum = 0;
  uint16_t low = 0xFFFF, high = 0;
  for (int32_t y = 0; y < in.height; ++y)
    for (int32_t x = 0; x < in.width; ++x)
      if (mask[y][x] != 0) {
        ++count, sum += in[y][x];
        low = std::min(low, in[y][x]), high = std::max(high, in[y][x]);
      }
  if (count == 0) return uint16_t(p.fixedGlobalValue);
  if (p.globalValueMode == 2) return low;
  if (p.globalValueMode == 3) return high;
  return uint16_t((2 * sum + count) / (2 * count));
}

struct Job {
  lcPelRows<const uint16_t> in;
  lcPelRows<const uint8_t> mask;
  lcPelRows<uint16_t> out;
  Rules rules;
};

// The reference: each missing pixel searches its row and column outwards.
void portableBand(const Job& job, const lcRowBand& band) {
  // Named references, not a structured binding: the lambdas below capture them.
  const auto& in = job.in;
  const auto& mask = job.mask;
  const auto& out = job.out;
  const Rules& rules = job.rules;
  const auto search = [&](int32_t x, int32_t y, int32_t dx, int32_t dy, int64_t& distance) {
    for (distance = 1;; ++distance) {
      x += dx, y += dy;
      if (x < 0 || y < 0 || x >= in.width || y >= in.height) return -1;
      if (mask[y][x] != 0) return int32_t{in[y][x]};
    }
  };
  for (int32_t y = band.begin; y < band.end; ++y)
    for (int32_t x = 0; x < in.width; ++x) {
      if (mask[y][x] != 0) {
        out[y][x] = in[y][x];
        continue;
      }
      int found = 0;
      uint16_t values[2] = {0, 0};
      for (int axis = 0; axis < 2; ++axis) {
        if ((rules.direction & (1 << axis)) == 0) continue;
        int64_t db = 0, da = 0;
        const int32_t vb = search(x, y, -(1 - axis), -axis, db);
        const int32_t va = search(x, y, 1 - axis, axis, da);
        if (vb < 0 || va < 0) continue;
        values[axis] = between(uint32_t(vb), db, uint32_t(va), da, rules.computation);
        found |= 1 << axis;
      }
      out[y][x] = resolve(found, values[0], values[1], rules);
    }
}

// Runs instead of searches: each row is walked once, and each column once through the
// band (looking beyond it only for the valid pixels nearest the band's edges), filling
// every gap between two valid pixels as the second one is met.
void fastBand(const Job& job, const lcRowBand& band) {
  const auto& in = job.in;
  const auto& mask = job.mask;
  const auto& out = job.out;
  const Rules& rules = job.rules;
  const int32_t width = in.width;
  const std::size_t cells = std::size_t(width) * std::size_t(band.rows());
  std::vector<uint16_t> horizontal(cells), vertical(cells);
  std::vector<uint8_t> found(cells, 0);
  const auto cell = [&](int32_t x, int32_t y) {
    return std::size_t(y - band.begin) * std::size_t(width) + std::size_t(x);
  };
  if (rules.direction & 1)
    for (int32_t y = band.begin; y < band.end; ++y)
      for (int32_t x = 0, last = -1; x < width; ++x) {
        if (mask[y][x] == 0) continue;
        for (int32_t k = last + 1; last >= 0 && k < x; ++k) {
          horizontal[cell(k, y)] =
              between(in[y][last], k - last, in[y][x], x - k, rules.computation);
          found[cell(k, y)] |= 1;
        }
        last = x;
      }
  if (rules.direction & 2) {
    const auto fill = [&](int32_t x, int32_t before, int32_t after) {
      for (int32_t k = std::max(before + 1, band.begin); k < std::min(after, band.end); ++k) {
        vertical[cell(x, k)] =
            between(in[before][x], k - before, in[after][x], after - k, rules.computation);
        found[cell(x, k)] |= 2;
      }
    };
    std::vector<int32_t> last(std::size_t(width), -1);
    for (int32_t x = 0; x < width; ++x)
      for (int32_t y = band.begin - 1; y >= 0 && last[std::size_t(x)] < 0; --y)
        if (mask[y][x] != 0) last[std::size_t(x)] = y;
    for (int32_t y = band.begin; y < band.end; ++y)
      for (int32_t x = 0; x < width; ++x) {
        if (mask[y][x] == 0) continue;
        if (last[std::size_t(x)] >= 0) fill(x, last[std::size_t(x)], y);
        last[std::size_t(x)] = y;
      }
    for (int32_t x = 0; x < width; ++x) {
      if (last[std::size_t(x)] < 0 || last[std::size_t(x)] == band.end - 1) continue;
      for (int32_t y = band.end; y < in.height; ++y)
        if (mask[y][x] != 0) {
          fill(x, last[std::size_t(x)], y);
          break;
        }
    }
  }
  for (int32_t y = band.begin; y < band.end; ++y)
    for (int32_t x = 0; x < width; ++x)
      out[y][x] = mask[y][x] != 0 ? in[y][x]
                                  : resolve(found[cell(x, y)], horizontal[cell(x, y)],
                                            vertical[cell(x, y)], rules);
}

}  // namespace

lcMissingPixelStatus lcFillMissingPixels(const lcPelBufferRange16& src, lcPelBufferRange16& dst,
                                         const lcMissingPixelParams& params) {
  if (const Status status = check(src, dst, params); status != Status::Ok) return status;
  const lcPelBuffer<uint16_t>& pels = src.pels();
  lcPelBuffer<uint16_t> outPels;
  lcPelBuffer<uint8_t> outMask;
  outPels.allocate(pels.width(), pels.height(), pels.offsetX(), pels.offsetY());
  outMask.allocate(pels.width(), pels.height(), pels.offsetX(), pels.offsetY());
  outPels.setXform(pels.xform());
  const lcPelRows<uint8_t> valid = outMask.rows();
  for (int32_t y = 0; y < valid.height; ++y)
    std::fill_n(valid[y], valid.width, uint8_t{255});
  const Job job{
      pels.rows(),
      src.mask().rows(),
      outPels.rows(),
      {params.direction, params.computation, globalValue(pels.rows(), src.mask().rows(), params)}};
  const auto bands = lcKernelBands(job.in.height, job.in.width, kBands, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    lcRunKernel(
        "cip_missingPixel_16",
        [&] {
          fastBand(job, band);
          return int32_t{0};
        },
        [&] {
          portableBand(job, band);
          return int32_t{0};
        });
  });
  dst = lcPelBufferRange16(std::move(outPels), std::move(outMask), src.range());
  return Status::Ok;
}
