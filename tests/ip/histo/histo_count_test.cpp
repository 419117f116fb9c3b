#include "ip/histo/histo_count.h"

#include "kernel_test_util.h"
#include "std/pelbuf/pel_errors.h"
#include "std/rlebuf/rle_mask.h"

namespace {

// Random (value, length) runs over `window`, values 0 or 255, lengths up to 255.
lcRLEBuffer randomRuns(std::mt19937& random, const lcPelRect& window) {
  std::vector<uint8_t> bytes;
  lcRLERowWriter writer(bytes);
  std::uniform_int_distribution<int32_t> length(1, 255);
  for (int32_t y = 0; y < window.height(); ++y) {
    for (int32_t x = 0; x < window.width();) {
      const int32_t n = std::min(length(random), window.width() - x);
      writer.run(random() % 2 ? 255 : 0, n);
      x += n;
    }
    writer.endRow();
  }
  return lcRLEBuffer(window.x0, window.y0, window.width(), window.height(), std::move(bytes));
}

// The counts worked out pixel by pixel, the encoding tested through its expanded mask.
template <class T>
std::vector<uint64_t> referenceCounts(const lcPelBuffer<T>& src, const lcHistoCare& care,
                                      size_t bins) {
  std::vector<uint64_t> counts(bins, 0);
  const lcPelRect w = src.bufferRect();
  lcPelBuffer<uint8_t> inside;
  if (care.runs != nullptr) inside = lcExpandRLE(*care.runs);
  for (int32_t y = w.y0; y < w.y1; ++y)
    for (int32_t x = w.x0; x < w.x1; ++x) {
      const lcPelRect r = inside.bufferRect();
      const bool covered = x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1;
      if (care.runs != nullptr && (!covered || *inside.pelAddress(x, y) == 0)) continue;
      if (care.mask != nullptr && care.mask->rows()[y - w.y0][x - w.x0] == 0) continue;
      ++counts[std::min<size_t>(*src.pelAddress(x, y), bins - 1)];
    }
  return counts;
}

// Both twins with 1 and 5 workers give the reference counts.
template <class T>
void expectCounts(const lcPelBuffer<T>& src, const lcHistoCare& care, size_t bins) {
  const auto expected = referenceCounts(src, care, bins);
  const int savedWorkers = lcWorkerCount();
  for (int portable : {0, 1})
    for (int workers : {1, 5}) {
      lcSetKernelSelectionHook(portable ? +[](const char*) { return 1; } : nullptr);
      lcSetWorkerCount(workers);
      std::vector<uint64_t> counts(bins, 0);
      lcCountHistogram(src, care, counts);
      EXPECT_EQ(counts, expected) << "portable " << portable << ", " << workers << " workers";
    }
  lcSetKernelSelectionHook(nullptr);
  lcSetWorkerCount(savedWorkers);
}

}  // namespace

TEST(HistoCount, EveryTwinCountsWhatTheRunsAndTheMaskLetThrough) {
  std::mt19937 random(18);
  // Large enough for several bands; the runs start left of and above the window.
  const auto src8 = randomPels<uint8_t>(random, 1531, 1423, 5, 7);
  const auto src16 = randomPels<uint16_t>(random, 1531, 1423, 5, 7);
  const lcRLEBuffer runs = randomRuns(random, {2, 3, 1520, 1400});
  const auto mask = randomPels<uint8_t>(random, 1531, 1423);
  for (const lcHistoCare& care : {lcHistoCare{}, lcHistoCare{&runs, nullptr},
                                  lcHistoCare{nullptr, &mask}, lcHistoCare{&runs, &mask}}) {
    expectCounts(src8, care, 256);
    expectCounts(src8, care, 10);  // values 9..255 fold into bin 9
    expectCounts(src16, care, 65536);
    expectCounts(src16, care, 4096);
  }
}

// Rows whose neighbours repeat (flat, narrow noise) and rows that do not (noise over the
// whole range, two values in turn) take different counting paths; large enough for the
// pair table, whose counters of the alternating rows wrap many times. A mix of all of
// them, whole and in runs, counts exactly, and so does noise too small for the table.
TEST(HistoCount, RepeatingSpreadAndAlternatingRowsCountAlike) {
  std::mt19937 random(7);
  auto src = randomPels<uint8_t>(random, 1031, 600);
  const lcPelRows<uint8_t> rows = src.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x) {
      if (y % 4 == 0) rows[y][x] = 200;
      if (y % 4 == 1) rows[y][x] = static_cast<uint8_t>(100 + random() % 3);
      if (y % 4 == 2) rows[y][x] = x % 2 ? 7 : 9;
    }
  const lcRLEBuffer runs = randomRuns(random, {0, 0, 1031, 600});
  expectCounts(src, {}, 256);
  expectCounts(src, {&runs, nullptr}, 256);
  // Too few pixels for the pair table: noise counts one pixel at a time.
  expectCounts(randomPels<uint8_t>(random, 301, 40), {}, 256);
}

TEST(HistoCount, RefusesNoBinsAndAMaskOfAnotherSize) {
  std::mt19937 random(1);
  const auto src = randomPels<uint8_t>(random, 20, 10);
  const auto mask = randomPels<uint8_t>(random, 20, 11);
  std::vector<uint64_t> bins(256);
  EXPECT_THROW(lcCountHistogram(src, {}, std::span<uint64_t>()), lcPelFunc::BadParams);
  EXPECT_THROW(lcCountHistogram(src, {nullptr, &mask}, bins), lcPelFunc::BadParams);
}
