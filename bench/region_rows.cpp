// Region encodings against OpenCV's filled drawing on the same grid: a circle of radius
// 1000 and a 50-vertex polygon over 2000 x 2000 pixels, and expanding an encoding into a
// mask against filling the same bytes. Mpix/s count the pixels of the grid, so an
// encoding that costs per row shows far above a per-pixel fill.
//
// The pixels that differ from OpenCV's drawing are printed once per row: OpenCV rounds
// the outline to whole pixels (and draws it), where an encoding takes a pixel exactly
// when the shape contains its centre.

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <opencv2/imgproc.hpp>

#include "bench_rows.h"
#include "std/rlebuf/region_encoding.h"
#include "std/rlebuf/rle_mask.h"
#include "std/shapes/circle.h"
#include "std/shapes/gen_poly.h"

namespace {

constexpr int32_t kSide = 2000;

// Pixels of `mask` (the shape's window on the grid) and `drawn` that disagree.
int64_t differingPixels(const lcPelBuffer<uint8_t>& mask, const cv::Mat& drawn) {
  int64_t count = 0;
  for (int y = 0; y < drawn.rows; ++y)
    for (int x = 0; x < drawn.cols; ++x) {
      const lcPelRect r = mask.bufferRect();
      const bool inMask =
          x >= r.x0 && x < r.x1 && y >= r.y0 && y < r.y1 && *mask.pelAddress(x, y) != 0;
      count += inMask != (drawn.at<uint8_t>(y, x) != 0);
    }
  return count;
}

void reportDifference(const char* what, const lcShape& shape, const cv::Mat& drawn) {
  const lcPelBuffer<uint8_t> mask = lcExpandRLE(lcEncodeRegion(shape, 255, 0));
  std::fprintf(stderr, "%s: %lld of %lld pixels differ from OpenCV's drawing\n", what,
               static_cast<long long>(differingPixels(mask, drawn)),
               static_cast<long long>(drawn.total()));
}

lcBenchSides circle(int32_t, int32_t) {
  auto shape = std::make_shared<lcCircle>(lc2Vector{1000, 1000}, 1000);
  auto drawn = std::make_shared<cv::Mat>(kSide + 1, kSide + 1, CV_8U, cv::Scalar(0));
  cv::circle(*drawn, {1000, 1000}, 1000, 255, cv::FILLED, cv::LINE_8);
  reportDifference("circle r=1000", *shape, *drawn);
  return {[shape] { lcEncodeRegion(*shape, 255, 0); },
          [drawn] {
            cv::circle(*drawn, {1000, 1000}, 1000, 255, cv::FILLED, cv::LINE_8);
          }};
}

lcBenchSides polygon(int32_t, int32_t) {
  std::vector<lc2Vector> vertices;
  std::vector<cv::Point> points;
  for (int k = 0; k < 50; ++k) {
    const double a = k * 2 * std::numbers::pi / 50, r = k % 2 ? 1000 : 620;
    const lc2Vector v{std::round(1000 + r * std::cos(a)), std::round(1000 + r * std::sin(a))};
    vertices.push_back(v);
    points.push_back({static_cast<int>(v.x), static_cast<int>(v.y)});
  }
  auto shape = std::make_shared<lcGenPoly>(vertices);
  auto drawn = std::make_shared<cv::Mat>(kSide + 1, kSide + 1, CV_8U, cv::Scalar(0));
  auto contour = std::make_shared<std::vector<std::vector<cv::Point>>>(1, points);
  cv::fillPoly(*drawn, *contour, 255, cv::LINE_8);
  reportDifference("polygon of 50 vertices", *shape, *drawn);
  return {[shape] { lcEncodeRegion(*shape, 255, 0); },
          [drawn, contour] { cv::fillPoly(*drawn, *contour, 255, cv::LINE_8); }};
}

// The same bytes filled with setTo stand for memset.
lcBenchSides expand(int32_t, int32_t) {
  auto rle = std::make_shared<lcRLEBuffer>(lcEncodeRegion(lcCircle({1000, 1000}, 1000), 255, 0));
  auto filled = std::make_shared<cv::Mat>(rle->height(), rle->width(), CV_8U);
  return {[rle] { lcExpandRLE(*rle); }, [filled] { filled->setTo(255); }};
}

}  // namespace

void lcAddRegionBenchRows() {
  const std::vector<lcBenchSize> grid{{kSide, kSide}};
  lcAddBenchRow("region_circle_r1000 (encode vs cv::circle)", circle, 1.0, grid);
  lcAddBenchRow("region_polygon_50 (encode vs cv::fillPoly)", polygon, 1.0, grid);
  lcAddBenchRow("region_mask_expand (vs fill of the bytes)", expand, 0.5, grid);
}
