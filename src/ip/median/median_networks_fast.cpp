// The selection-network median for every SIMD target: this file is compiled once per
// target by Highway's foreach_target, and the exported function picks the best one at run
// time. Each output row sorts its input columns (shared by N results), merges neighbouring
// columns into pairs (shared by two), and runs the pruned middle network per result, a
// vector of results at a time; a row shorter than a vector runs the same networks on
// single pixels.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/median/median_networks_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "ip/median/median_networks.h"
#include "ip/median/median_networks_rows.h"

HWY_BEFORE_NAMESPACE();
namespace lcMedianRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D8 = hn::ScalableTag<uint8_t>;

// How a stage reads and writes: a vector of neighbouring pixels, or one pixel.
struct VectorLanes {
  using V = hn::Vec<D8>;
  D8 d;
  HWY_INLINE V load(const uint8_t* p) const { return hn::LoadU(d, p); }
  HWY_INLINE void store(V v, uint8_t* p) const { hn::StoreU(v, d, p); }
  static HWY_INLINE void compareSwap(V& low, V& high) {
    const V smaller = hn::Min(low, high);
    high = hn::Max(low, high);
    low = smaller;
  }
};

struct OneLane {
  using V = uint8_t;
  HWY_INLINE V load(const uint8_t* p) const { return *p; }
  HWY_INLINE void store(V v, uint8_t* p) const { *p = v; }
  static HWY_INLINE void compareSwap(V& low, V& high) {
    const V smaller = std::min(low, high);
    high = std::max(low, high);
    low = smaller;
  }
};

// Networks of up to 64 steps run unrolled, so their wires live in registers; longer ones
// run as a loop over their steps (unrolling hundreds of steps makes functions that take
// minutes to compile under the sanitizers, for little gain once wires spill anyway).
template <const auto& kNetwork, class Lanes, std::size_t... I>
HWY_INLINE void RunUnrolled([[maybe_unused]] typename Lanes::V* v, std::index_sequence<I...>) {
  (Lanes::compareSwap(v[kNetwork.steps[I].low], v[kNetwork.steps[I].high]), ...);
}

template <const auto& kNetwork, class Lanes>
HWY_INLINE void Run(typename Lanes::V* v) {
  constexpr std::size_t kSteps = kNetwork.steps.size();
  if constexpr (kSteps <= 64) {
    RunUnrolled<kNetwork, Lanes>(v, std::make_index_sequence<kSteps>{});
  } else {
    for (const lcMedianNetworks::CompareSwap& step : kNetwork.steps)
      Lanes::compareSwap(v[step.low], v[step.high]);
  }
}

// Runs step(lanes, x) for x = 0, n_l, 2 n_l, ... and a last vector that ends at n exactly
// (overlapping the one before: every stage writes what it reads from the stage before
// only), or step(OneLane, x) for each x when n is below one vector.
template <class Step>
HWY_INLINE void ForEachVector(int32_t n, const Step& step) {
  const VectorLanes lanes;
  const auto width = static_cast<int32_t>(hn::Lanes(lanes.d));
  if (n < width) {
    for (int32_t x = 0; x < n; ++x)
      step(OneLane{}, x);
    return;
  }
  for (int32_t x = 0; x + width <= n; x += width)
    step(lanes, x);
  if (n % width != 0) step(lanes, n - width);
}

template <int N, int M>
void InteriorRows(const lcRectangleMedianJob& job) {
  using Networks = lcMedianNetworks::Rectangle<N, M>;
  const int32_t w = job.in.width, h = job.in.height;
  const int32_t hx = N / 2, hy = M / 2;
  const int32_t first = std::max(job.begin, hy), last = std::min(job.end, h - hy);
  if (w < N || first >= last) return;
  // Sorted columns (rank r of column x at column[r][x]) and sorted pairs of columns x and
  // x + 1 (rank r at pair[r][x]).
  const auto stride = static_cast<std::size_t>(w);
  std::vector<uint8_t> scratch(3 * M * stride);
  uint8_t* column[M];
  uint8_t* pair[2 * M];
  for (int r = 0; r < M; ++r)
    column[r] = scratch.data() + static_cast<std::size_t>(r) * stride;
  for (int r = 0; r < 2 * M; ++r)
    pair[r] = scratch.data() + static_cast<std::size_t>(M + r) * stride;

  for (int32_t y = first; y < last; ++y) {
    const uint8_t* rows[M];
    for (int r = 0; r < M; ++r)
      rows[r] = job.in[y - hy + r];
    ForEachVector(w, [&](const auto& lanes, int32_t x) HWY_ATTR {
      using Lanes = std::decay_t<decltype(lanes)>;
      typename Lanes::V v[M];
      for (int r = 0; r < M; ++r)
        v[r] = lanes.load(rows[r] + x);
      Run<Networks::column, Lanes>(v);
      for (int r = 0; r < M; ++r)
        lanes.store(v[Networks::column.rankWire[r]], column[r] + x);
    });
    if constexpr (N > 1) {
      ForEachVector(w - 1, [&](const auto& lanes, int32_t x) HWY_ATTR {
        using Lanes = std::decay_t<decltype(lanes)>;
        typename Lanes::V v[2 * M];
        for (int r = 0; r < M; ++r) {
          v[r] = lanes.load(column[r] + x);
          v[M + r] = lanes.load(column[r] + x + 1);
        }
        Run<Networks::pair, Lanes>(v);
        for (int r = 0; r < 2 * M; ++r)
          lanes.store(v[Networks::pair.rankWire[r]], pair[r] + x);
      });
    }
    uint8_t* out = job.out[y] + hx;
    ForEachVector(w - N + 1, [&](const auto& lanes, int32_t x) HWY_ATTR {
      using Lanes = std::decay_t<decltype(lanes)>;
      typename Lanes::V v[N * M];
      for (int r = 0; r < M; ++r)
        v[r] = lanes.load(column[r] + x + N - 1);
      for (int p = 0; p < N / 2; ++p)
        for (int r = 0; r < 2 * M; ++r)
          v[M + 2 * M * p + r] = lanes.load(pair[r] + x + 2 * p);
      Run<Networks::middle, Lanes>(v);
      lanes.store(v[Networks::middleWire], out + x);
    });
  }
}

// The square windows of 5 and 7 (3 x 3 has rows of its own): every size is a large
// unrolled function per SIMD target, so only the common ones get one. From 9 x 9 on the
// column histograms are faster.
void InteriorMedianByNetworks(const lcRectangleMedianJob& job) {
  if (job.halfWidth != job.halfHeight) return;
  switch (job.halfWidth) {
    case 2:
      return InteriorRows<5, 5>(job);
    case 3:
      return InteriorRows<7, 7>(job);
    default:
      return;
  }
}

}  // namespace HWY_NAMESPACE
}  // namespace lcMedianRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcMedianRows {

HWY_EXPORT(InteriorMedianByNetworks);

bool hasMedianNetwork(int32_t columns, int32_t rows) {
  return columns == rows && (columns == 5 || columns == 7);
}

void interiorMedianByNetworks(const lcRectangleMedianJob& job) {
  HWY_DYNAMIC_DISPATCH(InteriorMedianByNetworks)(job);
}

}  // namespace lcMedianRows
#endif
