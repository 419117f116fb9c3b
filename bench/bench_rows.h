#pragma once
// The comparison table of `make bench`: each row times our code and OpenCV doing the
// same arithmetic on the same image, for every size and thread count. A row is added
// with one call that makes the images of a size and hands back both sides:
//
//   lcAddBenchRow("add_8", [](int32_t width, int32_t height) {
//     auto images = std::make_shared<Images8>(width, height);
//     return lcBenchSides{[images] { lcAddConstant(images->src, images->dst, {37}); },
//                         [images] { cv::add(images->mat, cv::Scalar(37), images->out); }};
//   });
//
// Each side runs once per call; whatever it needs lives in what its function holds.
//
// One thread is our pool with one worker and OpenCV with cv::setNumThreads(0); all
// cores is both sides at the hardware's thread count. Times are wall-clock, and the
// fastest of five repetitions counts, the one other work on the machine disturbed least.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct lcBenchSides {
  std::function<void()> ours;
  std::function<void()> opencv;
};

using lcBenchPrepare = std::function<lcBenchSides(int32_t width, int32_t height)>;

struct lcBenchSize {
  int32_t width;
  int32_t height;
};

// Registers the row's benchmarks for every size (4096 x 4096 and 640 x 480 unless
// given) and thread count. A target above 0 is the ratio ours / OpenCV the row should
// reach at 4096 x 4096 on one thread; the table shows it.
void lcAddBenchRow(const std::string& name, lcBenchPrepare prepare, double target = 0,
                   std::vector<lcBenchSize> sizes = {});

// Runs every registered benchmark (Google Benchmark's flags in argv apply), prints the
// table and writes the report rows {"name", "size", "threads", "ours_mpix_s",
// "opencv_mpix_s", "ratio"} to `reportPath` as a JSON list. Returns false when a
// benchmark failed or the report could not be written.
bool lcRunBenchRows(int argc, char** argv, const std::string& reportPath);
