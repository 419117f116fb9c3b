// The column-histogram median for every SIMD target: this file is compiled once per
// target by Highway's foreach_target, and the exported function picks the best one at run
// time. Histogram segments of 16 bins of 16 bits are added and removed as whole vectors.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/median/column_histograms_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "ip/median/column_histograms.h"

HWY_BEFORE_NAMESPACE();
namespace lcMedianRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

using D16 = hn::CappedTag<uint16_t, 16>;

constexpr int32_t kBins = 256;
constexpr int32_t kSegment = 16;  // fine bins per coarse bin

// acc += add - sub over one segment of 16 bins (sub may be null); counts never go below
// 0, so the wrapping arithmetic is exact.
HWY_INLINE void MoveSegment(uint16_t* acc, const uint16_t* add, const uint16_t* sub) {
  const D16 d;
  for (int32_t i = 0; i < kSegment; i += static_cast<int32_t>(hn::Lanes(d))) {
    auto v = hn::LoadU(d, acc + i);
    if (add != nullptr) v = hn::Add(v, hn::LoadU(d, add + i));
    if (sub != nullptr) v = hn::Sub(v, hn::LoadU(d, sub + i));
    hn::StoreU(v, d, acc + i);
  }
}

// The histograms of one stripe of input columns, first to first + columns.
class Stripe {
 public:
  Stripe(const lcRectangleMedianJob& job, int32_t first, int32_t columns)
      : job_(job),
        first_(first),
        columns_(columns),
        fine_(static_cast<std::size_t>(columns) * kBins),
        coarse_(static_cast<std::size_t>(columns) * kSegment),
        counts_(static_cast<std::size_t>(columns)) {}

  // Adds (+1) or removes (-1) input row iy, when the input has it.
  void updateRow(int32_t iy, int sign) {
    if (iy < 0 || iy >= job_.in.height) return;
    const uint8_t* pels = job_.in[iy] + first_;
    const uint8_t* take = job_.take != nullptr ? job_.take[0][iy] + first_ : nullptr;
    const auto delta = static_cast<uint16_t>(sign);
    for (int32_t c = 0; c < columns_; ++c) {
      if (take != nullptr && take[c] == 0) continue;
      const std::size_t column = static_cast<std::size_t>(c);
      fine_[column * kBins + pels[c]] += delta;
      coarse_[column * kSegment + (pels[c] >> 4)] += delta;
      counts_[column] += sign;
    }
  }

  const uint16_t* fine(int32_t column, int32_t segment) const {
    return fine_.data() + static_cast<std::size_t>(column - first_) * kBins + segment * kSegment;
  }
  const uint16_t* coarse(int32_t column) const {
    return coarse_.data() + static_cast<std::size_t>(column - first_) * kSegment;
  }
  int32_t count(int32_t column) const { return counts_[static_cast<std::size_t>(column - first_)]; }

 private:
  const lcRectangleMedianJob& job_;
  int32_t first_;
  int32_t columns_;
  std::vector<uint16_t> fine_;
  std::vector<uint16_t> coarse_;
  std::vector<int32_t> counts_;
};

// The window's histogram sliding along one result row over results begin to end.
class Window {
 public:
  Window(const Stripe& stripe, int32_t halfWidth, int32_t inputWidth)
      : stripe_(stripe), hx_(halfWidth), width_(inputWidth) {}

  void start(int32_t x) {
    std::fill(std::begin(coarse_), std::end(coarse_), uint16_t{0});
    std::fill(std::begin(synced_), std::end(synced_), kNever);
    count_ = 0;
    for (int32_t c = std::max(0, x - hx_); c <= std::min(width_ - 1, x + hx_); ++c) {
      MoveSegment(coarse_, stripe_.coarse(c), nullptr);
      count_ += stripe_.count(c);
    }
  }

  // From the window at x - 1 to the one at x.
  void step(int32_t x) {
    const int32_t enter = x + hx_, leave = x - hx_ - 1;
    MoveSegment(coarse_, enter < width_ ? stripe_.coarse(enter) : nullptr,
                leave >= 0 ? stripe_.coarse(leave) : nullptr);
    count_ += (enter < width_ ? stripe_.count(enter) : 0) - (leave >= 0 ? stripe_.count(leave) : 0);
  }

  // The median of the window at x, 0 for an empty one.
  uint8_t median(int32_t x) {
    if (count_ == 0) return 0;
    int32_t rank = (count_ - 1) / 2;
    const int32_t segment = binOfRank(coarse_, rank);
    const int32_t bin = binOfRank(sync(segment, x), rank);
    return static_cast<uint8_t>(segment * kSegment + bin);
  }

 private:
  static constexpr int32_t kNever = std::numeric_limits<int32_t>::min() / 2;

  // The bin of 16 that holds the value of `rank` (counted from 0), and rank less the
  // counts before it. Without branches: on a noisy image the median's bin changes from
  // one result to the next, and a search that stops early mispredicts. With 16 lanes the
  // running sums of the bins come from one vector, whose lanes at or below `rank` are
  // the bins before the one sought.
  static int32_t binOfRank(const uint16_t* bins, int32_t& rank) {
#if HWY_ARCH_X86 && HWY_TARGET != HWY_SCALAR  // 16-lane vectors made of 8-lane blocks
    const D16 d;
    if constexpr (hn::MaxLanes(d) == kSegment) {
      auto sums = hn::LoadU(d, bins);
      sums = hn::Add(sums, hn::ShiftLeftLanes<1>(d, sums));  // within each 8-lane block
      sums = hn::Add(sums, hn::ShiftLeftLanes<2>(d, sums));
      sums = hn::Add(sums, hn::ShiftLeftLanes<4>(d, sums));
      sums = hn::Add(sums, hn::ConcatLowerLower(d, hn::Broadcast<7>(sums), hn::Zero(d)));
      // before[b]: the counts of bins 0 to b - 1. Window counts stay below 65536, so no
      // running sum wraps.
      alignas(64) uint16_t before[kSegment + 1] = {};
      hn::StoreU(sums, d, before + 1);
      const auto above = hn::Gt(sums, hn::Set(d, static_cast<uint16_t>(rank)));
      const int32_t bin = kSegment - static_cast<int32_t>(hn::CountTrue(d, above));
      rank -= before[bin];
      return bin;
    }
#endif
    int32_t bin = 0, before = 0, running = 0;
    for (int32_t i = 0; i < kSegment; ++i) {
      running += bins[i];
      const bool below = running <= rank;
      bin += below;
      before = below ? running : before;
    }
    rank -= before;
    return bin;
  }

  // The fine bins of one segment at window x: stepped from where they were last used,
  // or summed afresh when that is cheaper.
  uint16_t* sync(int32_t segment, int32_t x) {
    uint16_t* bins = fine_ + segment * kSegment;
    int32_t& at = synced_[segment];
    if (x - at > hx_) {
      std::fill_n(bins, kSegment, uint16_t{0});
      for (int32_t c = std::max(0, x - hx_); c <= std::min(width_ - 1, x + hx_); ++c)
        MoveSegment(bins, stripe_.fine(c, segment), nullptr);
    } else {
      for (int32_t s = at + 1; s <= x; ++s) {
        const int32_t enter = s + hx_, leave = s - hx_ - 1;
        MoveSegment(bins, enter < width_ ? stripe_.fine(enter, segment) : nullptr,
                    leave >= 0 ? stripe_.fine(leave, segment) : nullptr);
      }
    }
    at = x;
    return bins;
  }

  const Stripe& stripe_;
  int32_t hx_;
  int32_t width_;
  uint16_t coarse_[kSegment] = {};
  uint16_t fine_[kBins] = {};
  int32_t synced_[kSegment] = {};
  int32_t count_ = 0;
};

void RectangleMedian(const lcRectangleMedianJob& job) {
  const int32_t w = job.in.width, hx = job.halfWidth, hy = job.halfHeight;
  // Stripes of results whose column histograms stay in the second-level cache.
  const int32_t stripeWidth = std::max(256, 8 * hx);
  for (int32_t begin = 0; begin < w; begin += stripeWidth) {
    const int32_t end = std::min(w, begin + stripeWidth);
    const int32_t first = std::max(0, begin - hx), last = std::min(w, end + hx);
    Stripe stripe(job, first, last - first);
    for (int32_t iy = job.begin - hy; iy <= job.begin + hy; ++iy)
      stripe.updateRow(iy, 1);
    Window window(stripe, hx, w);
    for (int32_t y = job.begin; y < job.end; ++y) {
      if (y > job.begin) {
        stripe.updateRow(y - hy - 1, -1);
        stripe.updateRow(y + hy, 1);
      }
      uint8_t* out = job.out[y];
      window.start(begin);
      out[begin] = window.median(begin);
      for (int32_t x = begin + 1; x < end; ++x) {
        window.step(x);
        out[x] = window.median(x);
      }
    }
  }
}

}  // namespace HWY_NAMESPACE
}  // namespace lcMedianRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcMedianRows {

HWY_EXPORT(RectangleMedian);

void rectangleMedianFast(const lcRectangleMedianJob& job) {
  HWY_DYNAMIC_DISPATCH(RectangleMedian)(job);
}

}  // namespace lcMedianRows
#endif
