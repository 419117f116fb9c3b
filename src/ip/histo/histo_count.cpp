#include "ip/histo/histo_count.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "std/pelbuf/pel_errors.h"
#include "std/util/kernel_selection.h"
#include "std/util/worker_pool.h"

namespace {

// Counting does about one pixel a nanosecond: a band must hold a million pixels before
// handing it to a worker pays.
constexpr lcBandRule kHistoBands{1 << 20, 0};

// Partial counts are 32-bit; they are flushed into the 64-bit totals before any of them
// could wrap.
constexpr int64_t kFlushPels = int64_t{1} << 31;

// Clearing and folding the 64 KiB pair table takes about 4 microseconds, what pair counting
// saves on some 130,000 pixels (measured); bands of fewer pixels count one by one.
constexpr int64_t kPairTablePels = int64_t{1} << 17;

// Counts in `tables` interleaved tables of `size` bins each. More than one table keeps
// consecutive equal pixels from waiting on each other's increment (a store followed by a
// load of the same address). With `pairs` (256 bins only) it also holds 8-bit counters of
// neighbour pairs, first + 256 * second, folded into table 0 on every flush.
class Tables {
 public:
  Tables(int tables, size_t size, bool pairs)
      : size_(size), counts_(size * tables, 0), pairs_(pairs ? 65536 : 0, 0) {}
  uint32_t* table(int index) { return counts_.data() + size_ * index; }
  uint8_t* pairs() { return pairs_.empty() ? nullptr : pairs_.data(); }
  // Adds every table into `totals` (`size` bins) and starts again from zero.
  void flushInto(std::span<uint64_t> totals) {
    if (!pairs_.empty()) foldPairs();
    for (size_t at = 0; at < counts_.size(); ++at)
      totals[at % size_] += counts_[at];
    std::fill(counts_.begin(), counts_.end(), 0);
  }

 private:
  // A pair's count belongs to both of its values.
  void foldPairs() {
    uint32_t* bins = counts_.data();
    for (size_t second = 0; second < 256; ++second) {
      const uint8_t* row = pairs_.data() + second * 256;
      uint32_t sum = 0;
      for (size_t first = 0; first < 256; ++first) {
        bins[first] += row[first];
        sum += row[first];
      }
      bins[second] += sum;
    }
    std::fill(pairs_.begin(), pairs_.end(), 0);
  }

  size_t size_;
  std::vector<uint32_t> counts_;
  std::vector<uint8_t> pairs_;
};

// The portable counters: one table, one pixel at a time.
template <class T>
struct PortableCounter {
  static constexpr int kTables = 1;
  static constexpr bool kPairs = false;
  static void count(Tables& t, const T* pels, const uint8_t* care, int64_t n, uint32_t top) {
    uint32_t* bins = t.table(0);
    for (int64_t i = 0; i < n; ++i)
      if (care == nullptr || care[i] != 0) ++bins[std::min<uint32_t>(pels[i], top)];
  }
};

// 8 bits, fast. Where neighbours repeat a value, consecutive increments of one counter
// would wait on each other, so eight pixels read as one word go to four tables in turn.
// Pixels that seldom repeat (noise over the whole range) count faster as pairs, or into
// one table when the band is too small to pay for the pair table. A look at the first
// pixels of a span chooses; either way every pixel counts once. Masked pixels add their
// care test instead of branching on it.
struct FastCounter8 {
  static constexpr int kTables = 4;
  static constexpr bool kPairs = true;
  static void count(Tables& t, const uint8_t* pels, const uint8_t* care, int64_t n, uint32_t) {
    if (care == nullptr && !repeats(pels, n))
      return t.pairs() ? countPairs(t, pels, n) : countSpread(t.table(0), pels, n);
    uint32_t* t0 = t.table(0);
    uint32_t* t1 = t.table(1);
    uint32_t* t2 = t.table(2);
    uint32_t* t3 = t.table(3);
    int64_t i = 0;
    if (care == nullptr) {
      for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, pels + i, 8);
        ++t0[w & 0xff], ++t1[(w >> 8) & 0xff], ++t2[(w >> 16) & 0xff], ++t3[(w >> 24) & 0xff];
        ++t0[(w >> 32) & 0xff], ++t1[(w >> 40) & 0xff], ++t2[(w >> 48) & 0xff], ++t3[w >> 56];
      }
      for (; i < n; ++i)
        ++t0[pels[i]];
      return;
    }
    for (; i + 4 <= n; i += 4) {
      t0[pels[i]] += care[i] != 0;
      t1[pels[i + 1]] += care[i + 1] != 0;
      t2[pels[i + 2]] += care[i + 2] != 0;
      t3[pels[i + 3]] += care[i + 3] != 0;
    }
    for (; i < n; ++i)
      t0[pels[i]] += care[i] != 0;
  }

 private:
  // More than one equal neighbour among the first 64 pairs; uniform noise over 256
  // values has one in four such pairs on average.
  static bool repeats(const uint8_t* pels, int64_t n) {
    const int64_t pairs = std::min<int64_t>(n - 1, 64);
    int equal = 0;
    for (int64_t i = 0; i < pairs; ++i)
      equal += pels[i] == pels[i + 1];
    return equal > 1;
  }

  static void countSpread(uint32_t* bins, const uint8_t* pels, int64_t n) {
    int64_t i = 0;
    for (; i + 16 <= n; i += 16) {
      const uint8_t* p = pels + i;
      ++bins[p[0]], ++bins[p[1]], ++bins[p[2]], ++bins[p[3]];
      ++bins[p[4]], ++bins[p[5]], ++bins[p[6]], ++bins[p[7]];
      ++bins[p[8]], ++bins[p[9]], ++bins[p[10]], ++bins[p[11]];
      ++bins[p[12]], ++bins[p[13]], ++bins[p[14]], ++bins[p[15]];
    }
    for (; i < n; ++i)
      ++bins[pels[i]];
  }

  // Two neighbours taken as one 16-bit index make one counter update for two pixels, and
  // 8-bit pair counters (64 KiB) stay near the L1 cache; this is what beats the rate of
  // one update per pixel. Each index is its own 16-bit load, and the rare wrap of a
  // counter is handled out of line: both keep the loop at the fewest instructions a pair.
  static void countPairs(Tables& t, const uint8_t* pels, int64_t n) {
    uint8_t* pairs = t.pairs();
    uint32_t* bins = t.table(0);
    const auto count = [&](int64_t at) {
      uint16_t pair;
      std::memcpy(&pair, pels + at, 2);
      if (++pairs[pair] == 0) [[unlikely]]
        passWrap(bins, pair);
    };
    int64_t i = 0;
    for (; i + 8 <= n; i += 8)
      count(i), count(i + 2), count(i + 4), count(i + 6);
    for (; i + 2 <= n; i += 2)
      count(i);
    if (i < n) ++bins[pels[i]];
  }

  // A pair counter that wrapped held 256 of its pair: they belong to both of its values.
  [[gnu::noinline, gnu::cold]] static void passWrap(uint32_t* bins, uint32_t pair) {
    bins[pair & 0xff] += 256;
    bins[pair >> 8] += 256;
  }
};

// 16 bits, fast: four pixels a step over two tables (tables of up to 65536 bins are
// large; two keep them in the caches).
struct FastCounter16 {
  static constexpr int kTables = 2;
  static constexpr bool kPairs = false;
  static void count(Tables& t, const uint16_t* pels, const uint8_t* care, int64_t n, uint32_t top) {
    uint32_t* t0 = t.table(0);
    uint32_t* t1 = t.table(1);
    auto bin = [top](uint16_t v) { return std::min<uint32_t>(v, top); };
    int64_t i = 0;
    if (care == nullptr) {
      for (; i + 4 <= n; i += 4) {
        ++t0[bin(pels[i])], ++t1[bin(pels[i + 1])];
        ++t0[bin(pels[i + 2])], ++t1[bin(pels[i + 3])];
      }
      for (; i < n; ++i)
        ++t0[bin(pels[i])];
      return;
    }
    for (; i + 4 <= n; i += 4) {
      t0[bin(pels[i])] += care[i] != 0, t1[bin(pels[i + 1])] += care[i + 1] != 0;
      t0[bin(pels[i + 2])] += care[i + 2] != 0, t1[bin(pels[i + 3])] += care[i + 3] != 0;
    }
    for (; i < n; ++i)
      t0[bin(pels[i])] += care[i] != 0;
  }
};

// Calls span(from, to) for the window columns [from, to) of window row `row` that count.
template <class Span>
void forCountedSpans(const lcHistoCare& care, const lcPelRect& window, int32_t row, Span&& span) {
  if (care.runs == nullptr) {
    span(int64_t{0}, int64_t{window.width()});
    return;
  }
  const lcRLEBuffer& runs = *care.runs;
  const int64_t y = int64_t{window.y0} + row;
  if (y < runs.offsetY() || y >= int64_t{runs.offsetY()} + runs.height()) return;
  const std::span<const uint8_t> pairs = runs.row(static_cast<int32_t>(y));
  const int64_t lo = window.x0, hi = window.x1;
  int64_t x = runs.offsetX();
  for (size_t at = 0; at + 1 < pairs.size() && x < hi; at += 2) {
    const int64_t end = x + pairs[at + 1];
    const int64_t from = std::max(x, lo), to = std::min(end, hi);
    if (pairs[at] != 0 && from < to) span(from - lo, to - lo);
    x = end;
  }
}

// Counts the window into `size` bins with the counter's tables, band by band.
template <class Counter, class T>
void countWindow(const lcPelBuffer<T>& src, const lcHistoCare& care, size_t size, uint32_t top,
                 std::span<uint64_t> totals) {
  const lcPelRows<const T> in = src.rows();
  lcPelRows<const uint8_t> mask;
  if (care.mask != nullptr) mask = care.mask->rows();
  const lcPelRect window = src.bufferRect();
  std::mutex merge;
  const auto bands = lcKernelBands(in.height, in.width, kHistoBands, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    const int64_t bandPels = int64_t{band.end - band.begin} * in.width;
    Tables tables(Counter::kTables, size, Counter::kPairs && bandPels >= kPairTablePels);
    int64_t pending = 0;
    auto flush = [&] {
      const std::lock_guard lock(merge);
      tables.flushInto(totals);
      pending = 0;
    };
    for (int32_t row = band.begin; row < band.end; ++row) {
      if (pending + in.width > kFlushPels) flush();
      const T* pels = in[row];
      const uint8_t* careRow = care.mask != nullptr ? mask[row] : nullptr;
      forCountedSpans(care, window, row, [&](int64_t from, int64_t to) {
        Counter::count(tables, pels + from, careRow ? careRow + from : nullptr, to - from, top);
      });
      pending += in.width;
    }
    flush();
  });
}

template <class T>
void checkCall(const lcPelBuffer<T>& src, const lcHistoCare& care, std::span<uint64_t> bins) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  if (bins.empty()) throw lcPelFunc::BadParams(L"a histogram needs at least one bin");
  if (care.mask != nullptr && (!care.mask->isBound() || care.mask->width() != src.width() ||
                               care.mask->height() != src.height()))
    throw lcPelFunc::BadParams(L"the care mask must have the window's size");
}

}  // namespace

void lcCountHistogram(const lcPelBuffer<uint8_t>& src, const lcHistoCare& care,
                      std::span<uint64_t> bins) {
  checkCall(src, care, bins);
  if (src.isEmpty()) return;
  // Always 256 counting bins; values beyond the requested bins fold into the last one.
  std::vector<uint64_t> full(256, 0);
  lcRunKernel(
      "cip_histogram_8",
      [&] {
        countWindow<FastCounter8>(src, care, 256, 255, full);
        return int32_t{0};
      },
      [&] {
        countWindow<PortableCounter<uint8_t>>(src, care, 256, 255, full);
        return int32_t{0};
      });
  const size_t top = std::min<size_t>(bins.size(), 256) - 1;
  for (size_t v = 0; v < 256; ++v)
    bins[std::min(v, top)] += full[v];
}

void lcCountHistogram(const lcPelBuffer<uint16_t>& src, const lcHistoCare& care,
                      std::span<uint64_t> bins) {
  checkCall(src, care, bins);
  if (src.isEmpty()) return;
  const size_t size = std::min<size_t>(bins.size(), 65536);
  const auto top = static_cast<uint32_t>(size - 1);
  lcRunKernel(
      "cip_histogram_16",
      [&] {
        countWindow<FastCounter16>(src, care, size, top, bins.first(size));
        return int32_t{0};
      },
      [&] {
        countWindow<PortableCounter<uint16_t>>(src, care, size, top, bins.first(size));
        return int32_t{0};
      });
}
