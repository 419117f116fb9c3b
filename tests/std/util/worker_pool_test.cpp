#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
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

// Checks that `bands` run from row 0 to `rows` without gap or overlap.
void expectTiling(const std::vector<lcRowBand>& bands, int32_t rows) {
  int32_t next = 0;
  for (const lcRowBand& band : bands) {
    ASSERT_EQ(band.begin, next);
    ASSERT_GT(band.rows(), 0);
    next = band.end;
  }
  EXPECT_EQ(next, rows);
}

TEST(RowBands, EvenBandsEndAtFloorOfIOverNOfTheRows) {
  for (int32_t rows = 1; rows <= 1000; ++rows) {
    for (int32_t count : {1, 2, 3, 5, 7, 64, 2000}) {
      const std::vector<lcRowBand> bands = lcEvenBands(rows, count);
      const int64_t n = std::min(count, rows);
      ASSERT_EQ(static_cast<int64_t>(bands.size()), n);
      for (int64_t i = 1; i <= n; ++i)
        ASSERT_EQ(bands[static_cast<std::size_t>(i - 1)].end, i * rows / n);
      expectTiling(bands, rows);
    }
  }
  EXPECT_TRUE(lcEvenBands(0, 4).empty());
}

TEST(RowBands, StripesHaveTheirHeightExceptTheLast) {
  for (int32_t rows = 1; rows <= 1000; ++rows) {
    for (int32_t height : {1, 48, 64, 96, 224}) {
      const std::vector<lcRowBand> stripes = lcStripeBands(rows, height);
      ASSERT_EQ(static_cast<int32_t>(stripes.size()), (rows + height - 1) / height);
      for (std::size_t i = 0; i + 1 < stripes.size(); ++i)
        ASSERT_EQ(stripes[i].rows(), height);
      expectTiling(stripes, rows);
    }
  }
}

// Runs `count` bands over `rows` rows and counts how often each row was visited.
std::vector<int> visits(int32_t rows, int32_t count) {
  std::vector<std::atomic<int>> seen(static_cast<std::size_t>(rows));
  lcRunBands(lcEvenBands(rows, count), [&](const lcRowBand& band) {
    for (int32_t row = band.begin; row < band.end; ++row)
      seen[static_cast<std::size_t>(row)]++;
  });
  return std::vector<int>(seen.begin(), seen.end());
}

TEST_F(WorkerPool, EveryRowRunsExactlyOnceForAnyWorkerCount) {
  for (int workers : {1, 2, 3, 8}) {
    lcSetWorkerCount(workers);
    ASSERT_EQ(lcWorkerCount(), workers);
    for (int32_t rows = 1; rows <= 1000; ++rows)
      ASSERT_EQ(visits(rows, workers + 1), std::vector<int>(static_cast<std::size_t>(rows), 1))
          << rows << " rows, " << workers << " workers";
  }
  lcSetWorkerCount(0);
  EXPECT_EQ(lcWorkerCount(), 1);
}

TEST_F(WorkerPool, TheFirstFailingBandsExceptionReachesTheCallerAndThePoolStaysUsable) {
  lcSetWorkerCount(4);
  const std::vector<lcRowBand> bands = lcEvenBands(8, 8);
  for (int round = 0; round < 20; ++round) {
    try {
      lcRunBands(bands, [](const lcRowBand& band) {
        if (band.begin == 2 || band.begin == 5)
          throw std::runtime_error(std::to_string(band.begin));
      });
      FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
      // Band 5 may be skipped or may fail too; band 2 comes first either way.
      EXPECT_STREQ(e.what(), "2");
    }
  }
  EXPECT_EQ(visits(100, 4), std::vector<int>(100, 1));
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
      if (nestedRows != 40 || visits(97, 3) != std::vector<int>(97, 1)) ++failures;
    }
  };
  std::thread first(caller);
  std::thread second(caller);
  caller();
  first.join();
  second.join();
  EXPECT_EQ(failures, 0);
}

// A host's executor: runs the tasks backwards on the calling thread.
class BackwardsExecutor final : public lcExecutor {
 public:
  int workerCount() const override { return 7; }
  void runTasks(std::size_t count, const std::function<void(std::size_t)>& task) override {
    ++calls;
    for (std::size_t i = count; i-- > 0;)
      task(i);
  }
  int calls = 0;
};

TEST_F(WorkerPool, AHostsExecutorReplacesTheBuiltInPool) {
  const auto host = std::make_shared<BackwardsExecutor>();
  lcSetExecutor(host);
  EXPECT_EQ(lcWorkerCount(), 7);
  std::vector<int32_t> order;
  lcRunBands(lcEvenBands(3, 3), [&](const lcRowBand& band) { order.push_back(band.begin); });
  EXPECT_EQ(order, (std::vector<int32_t>{2, 1, 0}));
  EXPECT_EQ(host->calls, 1);
  lcSetExecutor(nullptr);
  EXPECT_NE(lcCurrentExecutor(), host);
}

TEST(KernelSelection, TheHookAndADecliningStatusPickThePortableTwin) {
  const lcKernelSelectionHook portableMedian = [](const char* name) {
    return std::string_view(name) == "cip_pelMedian3x3_8" ? 1 : 0;
  };
  struct Case {
    lcKernelSelectionHook hook;
    int32_t fastStatus;
    bool portableRuns;
  };
  for (const Case& c : {
           Case{nullptr, 0, false},
           Case{portableMedian, 0, true},
           Case{[](const char*) { return 0; }, 0, false},
           Case{nullptr, 0x600, true},
           Case{nullptr, 0x61f, true},
           Case{nullptr, 0x10600, true},  // only bits 5 to 15 count
           Case{nullptr, 0x5ff, false},
           Case{nullptr, 0x620, false},
           Case{nullptr, 0x1600, false},
       }) {
    const lcKernelSelectionHook before = lcSetKernelSelectionHook(c.hook);
    bool fastRan = false;
    const int32_t status = lcRunKernel(
        "cip_pelMedian3x3_8",
        [&] {
          fastRan = true;
          return c.fastStatus;
        },
        [] { return 42; });
    lcSetKernelSelectionHook(before);
    EXPECT_EQ(status, c.portableRuns ? 42 : c.fastStatus) << std::hex << c.fastStatus;
    EXPECT_EQ(fastRan, c.hook != portableMedian);
  }
}

}  // namespace
