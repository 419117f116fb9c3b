#include "bench_rows.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <opencv2/core.hpp>
#include <thread>
#include <vector>

#include "std/util/worker_pool.h"

namespace {

using Size = lcBenchSize;

std::string textOf(const Size& size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

const std::vector<lcBenchSize> kSizes = {{4096, 4096}, {640, 480}};

int allCores() {
  return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

struct Row {
  std::string name;
  lcBenchPrepare prepare;
  double target;
  std::vector<lcBenchSize> sizes;
};

std::vector<Row>& registeredRows() {
  static std::vector<Row> rows;
  return rows;
}

// One thread: our pool with one worker, OpenCV without its own threads.
void useThreads(int threads) {
  lcSetWorkerCount(threads);
  cv::setNumThreads(threads == 1 ? 0 : threads);
}

std::string keyOf(const std::string& row, const Size& size, int threads, bool ours) {
  return row + "/" + textOf(size) + "/t" + std::to_string(threads) + (ours ? "/ours" : "/opencv");
}

// The sides of the last row and size prepared: benchmarks run in registration order, so
// the images of a row and size are made once for both sides and both thread counts.
const lcBenchSides& preparedSides(const Row& row, const Size& size) {
  static std::string preparedKey;
  static std::unique_ptr<lcBenchSides> prepared;
  const std::string key = row.name + "/" + textOf(size);
  if (key != preparedKey || !prepared) {
    prepared.reset();
    prepared = std::make_unique<lcBenchSides>(row.prepare(size.width, size.height));
    preparedKey = key;
  }
  return *prepared;
}

// Keeps the fastest repetition of every benchmark (the machine may be shared: the
// fastest is the least disturbed), and prints each run as the console reporter does.
class BestTimes : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      if (run.error_occurred) failed = true;
      const double seconds =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      auto [entry, fresh] = best.try_emplace(run.run_name.function_name, seconds);
      if (!fresh) entry->second = std::min(entry->second, seconds);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  std::map<std::string, double> best;
  bool failed = false;
};

struct Result {
  std::string name;
  std::string size;
  int threads;
  double ours;
  double opencv;
  double target;         // for the 4096 x 4096 one-thread row, else 0
  double oursOneThread;  // for all-cores rows: our one-thread figure
};

std::vector<Result> results(const BestTimes& times) {
  std::vector<Result> rows;
  for (const Row& row : registeredRows())
    for (const Size& size : row.sizes)
      for (int threads : {1, allCores()}) {
        const double mpix = double(size.width) * size.height / 1e6;
        auto rate = [&](bool ours, int withThreads) {
          const auto found = times.best.find(keyOf(row.name, size, withThreads, ours));
          return found == times.best.end() ? 0.0 : mpix / found->second;
        };
        const bool targeted =
            threads == 1 && size.width == kSizes[0].width && size.height == kSizes[0].height;
        rows.push_back({row.name, textOf(size), threads, rate(true, threads), rate(false, threads),
                        targeted ? row.target : 0, threads > 1 ? rate(true, 1) : 0});
      }
  return rows;
}

void printTable(const std::vector<Result>& rows) {
  std::printf("\n%-22s %-10s %7s %12s %14s %7s  %s\n", "operator", "size", "threads", "ours Mpix/s",
              "opencv Mpix/s", "ratio", "(target, or ours against one thread)");
  for (const Result& r : rows) {
    std::printf("%-22s %-10s %7d %12.1f %14.1f %7.2f", r.name.c_str(), r.size.c_str(), r.threads,
                r.ours, r.opencv, r.opencv > 0 ? r.ours / r.opencv : 0.0);
    if (r.target > 0) std::printf("  (target %.1f)", r.target);
    if (r.oursOneThread > 0) std::printf("  (%.2fx one thread)", r.ours / r.oursOneThread);
    std::printf("\n");
  }
}

bool writeReport(const std::vector<Result>& rows, const std::string& path) {
  std::ofstream out(path);
  out << "[\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Result& r = rows[i];
    char line[512];
    std::snprintf(line, sizeof line,
                  "  {\"name\": \"%s\", \"size\": \"%s\", \"threads\": %d, \"ours_mpix_s\": %.1f, "
                  "\"opencv_mpix_s\": %.1f, \"ratio\": %.3f}%s\n",
                  r.name.c_str(), r.size.c_str(), r.threads, r.ours, r.opencv,
                  r.opencv > 0 ? r.ours / r.opencv : 0.0, i + 1 < rows.size() ? "," : "");
    out << line;
  }
  out << "]\n";
  return static_cast<bool>(out);
}

// Other work on the machine slows both sides; the table says how much there was.
std::string loadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return in ? one + " " + five + " " + fifteen : "unknown";
}

void registerBenchmarks() {
  for (const Row& row : registeredRows())
    for (const Size& size : row.sizes)
      for (int threads : {1, allCores()})
        for (bool ours : {true, false}) {
          benchmark::RegisterBenchmark(keyOf(row.name, size, threads, ours).c_str(),
                                       [&row, size, threads, ours](benchmark::State& state) {
                                         useThreads(threads);
                                         const lcBenchSides& sides = preparedSides(row, size);
                                         const std::function<void()>& run =
                                             ours ? sides.ours : sides.opencv;
                                         run();  // first touch of the output outside the timing
                                         for (auto _ : state)
                                           run();
                                         state.counters["Mpix/s"] = benchmark::Counter(
                                             double(size.width) * size.height / 1e6,
                                             benchmark::Counter::kIsIterationInvariantRate);
                                       })
              ->UseRealTime()
              ->Unit(benchmark::kMillisecond)
              ->MinTime(0.1)
              ->Repetitions(5);
        }
}

}  // namespace

void lcAddBenchRow(const std::string& name, lcBenchPrepare prepare, double target,
                   std::vector<lcBenchSize> sizes) {
  registeredRows().push_back(
      {name, std::move(prepare), target, sizes.empty() ? kSizes : std::move(sizes)});
}

bool lcRunBenchRows(int argc, char** argv, const std::string& reportPath) {
  registerBenchmarks();
  benchmark::Initialize(&argc, argv);
  const std::string loadBefore = loadAverage();
  BestTimes times;
  benchmark::RunSpecifiedBenchmarks(&times);
  const std::vector<Result> rows = results(times);
  printTable(rows);
  std::printf("\nload average (1, 5, 15 minutes) before: %s, after: %s\n", loadBefore.c_str(),
              loadAverage().c_str());
  const bool written = writeReport(rows, reportPath);
  std::printf("\nreport: %s%s\n", reportPath.c_str(), written ? "" : " (could not be written)");
  return written && !times.failed;
}
