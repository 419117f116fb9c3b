#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "std/util/kernel_selection.h"
#include "std/util/worker_pool.h"

namespace {

// Restores the built-in pool's worker count when a test ends.
class WorkerPool : public ::testing::Test {
 protected:
  ~WorkerPool() override { lcSetWorkerCount(saved_); }

 private:
  int saved_ = lcWorkerCount();
};

TEST(RowBands, EvenBandsAndStripesTileTheRowsByTheirRule) {
  for (int32_t rows = 1; rows <= 1000; ++rows) {
    for (int32_t n : {1, 2, 3, 5, 7, 64, 2000}) {
      const std::vector<lcRowBand> even = lcEvenBands(rows, n), stripes = lcStripeBands(rows, n);
      const int64_t count = std::min(n, rows);
      ASSERT_EQ(static_cast<int64_t>(even.size()), count);
      ASSERT_EQ(static_cast<int32_t>(stripes.size()), (rows + n - 1) / n);
      for (std::size_t i = 0; i < even.size(); ++i) {
        ASSERT_EQ(even[i].begin, i == 0 ? 0 : even[i - 1].end);
        ASSERT_EQ(even[i].end, static_cast<int64_t>(i + 1) * rows / count);  // floor(i*h/n)
      }
      for (std::size_t i = 0; i < stripes.size(); ++i)
        ASSERT_EQ(stripes[i], (lcRowBand{n * int32_t(i), std::min(n * int32_t(i + 1), rows)}));
    }
  }
}

// Runs `count` bands over `rows` rows; true when each row was visited exactly once.
bool visitsEachRowOnce(int32_t rows, int32_t count) {
  std::vector<std::atomic<int>> seen(static_cast<std::size_t>(rows));
  lcRunBands(lcEvenBands(rows, count), [&](const lcRowBand& band) {
    for (int32_t row = band.begin; row < band.end; ++row)
      seen[static_cast<std::size_t>(row)]++;
  });
  return std::all_of(seen.begin(), seen.end(), [](const auto& n) { return n == 1; });
}

TEST_F(WorkerPool, EveryRowRunsExactlyOnceForAnyWorkerCount) {
  for (int workers : {1, 2, 3, 8}) {
    lcSetWorkerCount(workers);
    ASSERT_EQ(lcWorkerCount(), workers);
    for (int32_t rows = 1; rows <= 1000; ++rows)
      ASSERT_TRUE(visitsEachRowOnce(rows, workers + 1)) << rows << " rows, " << workers;
  }
  lcSetWorkerCount(0);
  EXPECT_EQ(lcWorkerCount(), 1);
}

TEST_F(WorkerPool, EveryBandRunsAndTheFirstFailureInBandOrderReachesTheCaller) {
  lcSetWorkerCount(4);
  for (int round = 0; round < 50; ++round) {
    std::atomic<int> ran = 0;
    try {
      lcRunBands(lcEvenBands(8, 8), [&](const lcRowBand& band) {
        ++ran;
        if (band.begin == 2 || band.begin == 5)
          throw std::runtime_error(std::to_string(band.begin));
      });
      FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "2");
    }
    EXPECT_EQ(ran, 8);
  }
  EXPECT_TRUE(visitsEachRowOnce(100, 4));
}

TEST_F(WorkerPool, SeveralCallersAndNestedCallsShareThePool) {
  lcSetWorkerCount(3);
  std::atomic<int> failures = 0;
  auto caller = [&] {
    for (int round = 0; round < 100; ++round) {
      std::atomic<int> nestedRows = 0;
      lcRunBands(lcEvenBands(4, 4), [&](const lcRowBand&) {
        lcRunBands(lcEvenBands(10, 5), [&](const lcRowBand& inner) { nestedRows += inner.rows(); });
      });
      if (nestedRows != 40 || !visitsEachRowOnce(97, 3)) ++failures;
    }
  };
  std::thread first(caller), second(caller);
  caller();
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
}

// Resizing joins the pool's threads, one of which runs the band that asks: the count is
// set once the outermost call returns instead, even when a band fails, and meanwhile
// several callers with failing bands keep sharing the pool.
TEST_F(WorkerPool, ACountSetInsideABandTakesEffectWhenTheCallReturns) {
  lcSetWorkerCount(3);
  auto caller = [](int seed) {
    for (int round = 0; round < 100; ++round) {
      try {
        lcRunBands(lcEvenBands(6, 6), [&](const lcRowBand& band) {
          if (band.begin == 1) lcSetWorkerCount(2 + (seed + round) % 3);
          if (band.begin == 4) throw std::runtime_error("band");
        });
      } catch (const std::runtime_error&) {
      }
    }
  };
  std::thread first(caller, 1), second(caller, 2);
  caller(0);
  first.join();
  second.join();
  EXPECT_TRUE(visitsEachRowOnce(100, 4));

  lcRunBands(lcEvenBands(2, 2), [](const lcRowBand&) { lcSetWorkerCount(5); });
  EXPECT_EQ(lcWorkerCount(), 5);
}

TEST(KernelSelection, TheHookAndADecliningStatusPickThePortableTwin) {
  const lcKernelSelectionHook median = [](const char* name) {
    return std::string_view(name) == "cip_pelMedian3x3_8" ? 1 : 0;
  };
  const lcKernelSelectionHook other = [](const char* name) { return name[0] == 'x' ? 1 : 0; };
  // Only bits 5 to 15 of a status count: 0x600 to 0x61f decline, and so does 0x10600.
  const std::tuple<lcKernelSelectionHook, int32_t, bool> cases[] = {
      {nullptr, 0, false},     {median, 0, true},       {other, 0, false},
      {nullptr, 0x600, true},  {nullptr, 0x61f, true},  {nullptr, 0x10600, true},
      {nullptr, 0x5ff, false}, {nullptr, 0x620, false}, {nullptr, 0x1600, false}};
  for (const auto& [hook, fastStatus, portableRuns] : cases) {
    const lcKernelSelectionHook before = lcSetKernelSelectionHook(hook);
    int fastRuns = 0;
    auto fast = [&, status = fastStatus] {
      ++fastRuns;
      return status;
    };
    const int32_t status = lcRunKernel("cip_pelMedian3x3_8", fast, [] { return 42; });
    lcSetKernelSelectionHook(before);
    EXPECT_EQ(status, portableRuns ? 42 : fastStatus) << std::hex << fastStatus;
    EXPECT_EQ(fastRuns, hook == median ? 0 : 1);
  }
}

}  // namespace
