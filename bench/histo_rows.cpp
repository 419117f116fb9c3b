// Histograms and the tables made of them against OpenCV: counting a whole image, counting
// within a circle covering 70 % of it (ours encodes the circle on every run; OpenCV gets
// the finished mask image), and equalizing (count, table, map).

#include <cmath>
#include <memory>
#include <numbers>
#include <opencv2/imgproc.hpp>
#include <vector>

#include "bench_images.h"
#include "bench_rows.h"
#include "ip/arith/table_map.h"
#include "ip/histo/histo_count.h"
#include "ip/histo/remap_tables.h"
#include "std/rlebuf/region_encoding.h"
#include "std/shapes/circle.h"

namespace {

void calcHist(const cv::Mat& image, const cv::Mat& mask, cv::Mat& hist) {
  const int channels[] = {0}, size[] = {256};
  const float range[] = {0, 256};
  const float* ranges[] = {range};
  cv::calcHist(&image, 1, channels, mask, hist, 1, size, ranges);
}

lcBenchSides histogram8(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  return {[im] {
            std::vector<uint64_t> bins(256);
            lcCountHistogram(im->src, {}, bins);
          },
          [im] { calcHist(im->mat, cv::Mat(), im->out); }};
}

lcBenchSides histogramInCircle8(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  const double radius = std::sqrt(0.7 * w * h / std::numbers::pi);
  auto circle = std::make_shared<lcCircle>(lc2Vector{w / 2.0, h / 2.0}, radius);
  auto mask = std::make_shared<cv::Mat>(h, w, CV_8U, cv::Scalar(0));
  cv::circle(*mask, {w / 2, h / 2}, static_cast<int>(radius), 255, cv::FILLED);
  return {[im, circle] {
            const lcRLEBuffer runs = lcEncodeRegion(*circle, 255, 0);
            std::vector<uint64_t> bins(256);
            lcCountHistogram(im->src, {&runs, nullptr}, bins);
          },
          [im, mask] { calcHist(im->mat, *mask, im->out); }};
}

lcBenchSides equalize8(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  return {[im] {
            std::vector<uint64_t> bins(256);
            lcCountHistogram(im->src, {}, bins);
            const std::vector<uint8_t> table = lcEqualizeTable<uint8_t>(bins);
            lcTableMap(im->src, im->dst, {table});
          },
          [im] { cv::equalizeHist(im->mat, im->out); }};
}

}  // namespace

void lcAddHistoBenchRows() {
  lcAddBenchRow("histogram_8", histogram8, 1.2);
  lcAddBenchRow("histogram_8 (circle 70 %)", histogramInCircle8, 1.0);
  lcAddBenchRow("equalize_8", equalize8, 1.0);
}
