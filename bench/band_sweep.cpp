#include "band_sweep.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <thread>

#include "ip/arith/add_constant.h"
#include "ip/conv/conv_rows.h"
#include "std/pelbuf/pel_bands.h"

namespace {

// The fastest of many calls, in microseconds.
template <class Work>
double bestMicroseconds(const Work& work) {
  using Clock = std::chrono::steady_clock;
  double best = 1e300;
  const auto end = Clock::now() + std::chrono::milliseconds(60);
  for (int i = 0; i < 5 || (Clock::now() < end && i < 2000); ++i) {
    const auto start = Clock::now();
    work();
    best = std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return best;
}

// Times work() with one worker and with all; returns both.
template <class Work>
std::pair<double, double> oneAndAll(const Work& work) {
  const int all = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  lcSetWorkerCount(1);
  const double one = bestMicroseconds(work);
  lcSetWorkerCount(all);
  return {one, bestMicroseconds(work)};
}

}  // namespace

void lcRunBandSweep() {
  std::printf("band sweep: microseconds with 1 worker / all workers (speedup), bands forced\n");
  std::printf("%10s %28s %28s\n", "pixels", "add constant (8-bit)", "3x3 filter (8-bit)");
  std::mt19937 random(2);
  const auto params = lcPrepareConvolve3x3({0, -1, 0, -1, 5, -1, 0, -1, 0}, 4);
  for (int32_t log2 = 12; log2 <= 20; log2 += 2) {
    const auto side = static_cast<int32_t>(std::lround(std::sqrt(double(int64_t{1} << log2))));
    lcPelBuffer<uint8_t> src, added, filtered;
    src.allocate(side, side);
    for (int32_t y = 0; y < side; ++y)
      for (int32_t x = 0; x < side; ++x)
        src.rows()[y][x] = static_cast<uint8_t>(random());
    const auto point = oneAndAll([&] {
      lcForEachRowInBands(src, added, lcBandRule{1, 0}, lcAddPel8({37, false}));
    });
    const lcPelRect inner{1, 1, side - 1, side - 1};
    const auto filter = oneAndAll([&] {
      lcForEachBand(
          src, filtered, inner, lcBandRule{1, 1}, [&](const lcPelBand<uint8_t, uint8_t>& job) {
            lcConvRows::convolve3x3Fast(job.in, job.out, job.band.begin, job.band.end, params);
          });
    });
    std::printf("%10lld %9.1f / %7.1f (%4.2fx) %9.1f / %7.1f (%4.2fx)\n",
                static_cast<long long>(side) * side, point.first, point.second,
                point.first / point.second, filter.first, filter.second,
                filter.first / filter.second);
  }
  std::printf("\n");
}
