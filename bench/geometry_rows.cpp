// The geometric samplers against OpenCV on the same geometry: a 2048 x 2048 window turned
// by 30 degrees out of the input, and a full ring unwrapped to 2048 x 512.

#include <cmath>
#include <numbers>
#include <opencv2/imgproc.hpp>

#include "bench_images.h"
#include "bench_rows.h"
#include "ip/affine/affine_sampling.h"
#include "ip/affine/polar_sampling.h"

namespace {

constexpr int32_t kSide = 2048;
constexpr int32_t kRingColumns = 2048, kRingRows = 512;

// Output pixel (i, j) samples the input at centre + R(30 degrees) (i - 1024, j - 1024).
lcBenchSides turnedWindow(int32_t w, int32_t h, int32_t mode, int openCvInterpolation) {
  auto im = imagesOf<uint8_t>(w, h);
  const double c = std::cos(std::numbers::pi / 6), s = std::sin(std::numbers::pi / 6);
  const lcAffineRectangle rect({w / 2.0, h / 2.0}, kSide, kSide, std::numbers::pi / 6, 0);
  const lcAffineSamplingParams params(rect, kSide, kSide, mode);
  const lc2Vector origin = rect.corner0();
  const cv::Mat map = (cv::Mat_<double>(2, 3) << c, -s, origin.x, s, c, origin.y);
  return {[im, params] { lcAffineSample(im->src, im->dst, params); },
          [im, map, openCvInterpolation] {
            cv::warpAffine(im->mat, im->out, map, cv::Size(kSide, kSide),
                           openCvInterpolation | cv::WARP_INVERSE_MAP);
          }};
}

// A full ring about the image centre, radii 400 to 1912, the positions cached by the
// parameters as an operator run would reuse them.
lcEllipseAnnulusSection ring(int32_t w, int32_t h) {
  return lcEllipseAnnulusSection(lc2XformLinear(lc2Matrix(400, 0, 0, 400), {w / 2.0, h / 2.0}),
                                 1912.0 / 400, 0, 2 * std::numbers::pi);
}

lcBenchSides unwrapAgainstWarpPolar(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  const lcPolarSamplingParams params(ring(w, h), kRingColumns, kRingRows);
  return {[im, params] { lcPolarUnwrap(im->src, im->dst, params); },
          [im, w, h] {
            cv::warpPolar(im->mat, im->out, cv::Size(kRingRows, kRingColumns),
                          cv::Point2f(w / 2.0f, h / 2.0f), 1912,
                          int(cv::INTER_LINEAR) | int(cv::WARP_POLAR_LINEAR));
          }};
}

lcBenchSides unwrapAgainstRemap(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  const lcPolarSamplingParams params(ring(w, h), kRingColumns, kRingRows);
  auto maps = std::make_shared<std::pair<cv::Mat, cv::Mat>>();
  maps->first.create(kRingRows, kRingColumns, CV_32F);
  maps->second.create(kRingRows, kRingColumns, CV_32F);
  const lcEllipseAnnulusSection section = ring(w, h);
  for (int j = 0; j < kRingRows; ++j)
    for (int i = 0; i < kRingColumns; ++i) {
      const lc2Vector p =
          section.pointAt((i + 0.5) / kRingColumns, (j + 0.5) / kRingRows) - lc2Vector{0.5, 0.5};
      maps->first.at<float>(j, i) = float(p.x);
      maps->second.at<float>(j, i) = float(p.y);
    }
  return {[im, params] { lcPolarUnwrap(im->src, im->dst, params); },
          [im, maps] { cv::remap(im->mat, im->out, maps->first, maps->second, cv::INTER_LINEAR); }};
}

}  // namespace

void lcAddGeometryBenchRows() {
  const std::vector<lcBenchSize> input{{4096, 4096}};
  lcAddBenchRow(
      "affine30_bilinear_accurate_8",
      [](int32_t w, int32_t h) { return turnedWindow(w, h, 4, cv::INTER_LINEAR); }, 1.5, input);
  lcAddBenchRow(
      "affine30_bilinear_8",
      [](int32_t w, int32_t h) { return turnedWindow(w, h, 2, cv::INTER_LINEAR); }, 1.5, input);
  lcAddBenchRow(
      "affine30_nearest_8",
      [](int32_t w, int32_t h) { return turnedWindow(w, h, 1, cv::INTER_NEAREST); }, 1.0, input);
  lcAddBenchRow(
      "affine30_cubic_8",
      [](int32_t w, int32_t h) { return turnedWindow(w, h, 3, cv::INTER_CUBIC); }, 1.0, input);
  lcAddBenchRow("polar_unwrap_vs_warp_polar_8", unwrapAgainstWarpPolar, 1.5, input);
  lcAddBenchRow("polar_unwrap_vs_remap_8", unwrapAgainstRemap, 1.0, input);
}
