// Our bare kernels against OpenCV doing the same arithmetic on the same image, plus a
// plain copy of that image as the memory-bandwidth ceiling.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>
#include <vector>

#include "kernel_rows.h"

#include "bench_images.h"
#include "bench_rows.h"
#include "ip/arith/add_constant.h"
#include "ip/arith/multiply_table.h"
#include "ip/arith/table_map.h"
#include "ip/conv/convolve3x3.h"
#include "ip/conv/convolve_nxm.h"
#include "ip/conv/high_pass.h"
#include "ip/sobel95/hysteresis.h"
#include "ip/sobel95/sobel_edge.h"
#include "std/pelbuf/pel_bands.h"

namespace {

// Copies src to dst in bands on our pool: one memcpy a band where the rows lie end to
// end, as they do in these images.
template <class T>
void copyPels(const lcPelBuffer<T>& src, lcPelBuffer<T>& dst) {
  lcForEachRowBand(
      src, dst, lcBandRule{}, [](const lcPelRows<const T>& in, const lcPelRows<T>& out) {
        const bool joined = in.pitch == in.width && out.pitch == out.width;
        for (int32_t y = 0; y < (joined ? 1 : in.height); ++y)
          std::memcpy(out[y], in[y], sizeof(T) * std::size_t(in.width) * (joined ? in.height : 1));
      });
}
const double kSharpen[] = {0, -1, 0, -1, 5, -1, 0, -1, 0};

lcPelBuffer<double> kernel7x7() {
  lcPelBuffer<double> values;
  values.allocate(7, 7);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 7; ++x)  // a bell, as smoothing kernels are
      values.rows()[y][x] = std::exp(-((x - 3) * (x - 3) + (y - 3) * (y - 3)) / 8.0);
  return values;
}

template <class T>
lcBenchSides copy(int32_t w, int32_t h) {
  auto im = imagesOf<T>(w, h);
  return {[im] { copyPels(im->src, im->dst); }, [im] { im->mat.copyTo(im->out); }};
}
lcBenchSides add8(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  return {[im] {
            lcAddConstant(im->src, im->dst, {37, false});
          },
          [im] { cv::add(im->mat, cv::Scalar(37), im->out); }};
}

lcBenchSides add16(int32_t w, int32_t h) {
  auto im = imagesOf<uint16_t>(w, h);
  return {[im] {
            lcAddConstant(im->src, im->dst, {1000, false});
          },
          [im] { cv::add(im->mat, cv::Scalar(1000), im->out); }};
}

lcBenchSides multiply8(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  const auto table = std::make_shared<std::array<uint8_t, 256>>(lcMultiplyTable8({1.3, false}));
  const cv::Mat lut(1, 256, CV_8U, table->data());
  return {[im, table] { lcTableMap(im->src, im->dst, {*table}); },
          [im, lut, table] { cv::LUT(im->mat, lut, im->out); }};
}

// No table on OpenCV's side: it takes 8-bit tables only, so it multiplies.
lcBenchSides multiply16(int32_t w, int32_t h) {
  auto im = imagesOf<uint16_t>(w, h);
  const auto table = std::make_shared<std::vector<uint16_t>>(lcMultiplyTable16({1.3, false}));
  return {[im, table] { lcTableMap(im->src, im->dst, {*table}); },
          [im] { im->mat.convertTo(im->out, CV_16U, 1.3); }};
}

template <class Out>
lcBenchSides sharpen3x3(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t, Out>(w, h);
  std::array<double, 9> weights;
  std::copy(std::begin(kSharpen), std::end(kSharpen), weights.begin());
  const lcConvolve3x3Params params = lcPrepareConvolve3x3(weights, 4);
  const cv::Mat kernel(3, 3, CV_64F, const_cast<double*>(kSharpen));
  return {[im, params] { lcConvolve3x3(im->src, im->dst, params); },
          [im, kernel] { cv::filter2D(im->mat, im->out, CV_16S, kernel); }};
}

lcBenchSides bell7x7(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  const lcPelBuffer<double> values = kernel7x7();
  const lcConvolveNxMParams params{lcPrepareConvolveNxM(values), lcBoundaryMode::Reflected};
  cv::Mat kernel(7, 7, CV_64F);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 7; ++x)
      kernel.at<double>(y, x) = values.rows()[y][x];
  kernel /= cv::sum(kernel)[0];
  return {[im, params] { lcConvolveNxM(im->src, im->dst, params); },
          [im, kernel] { cv::filter2D(im->mat, im->out, -1, kernel); }};
}

// OpenCV smooths only; we smooth and subtract.
lcBenchSides highPass2(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  const double sigma = lcHighPassSigma(2);
  return {[im] {
            lcHighPass(im->src, im->dst, {2, 2});
          },
          [im, sigma] { cv::GaussianBlur(im->mat, im->out, cv::Size(), sigma); }};
}

// Gradient, magnitude and angle. OpenCV's quickest way to both: the 3 x 3 derivatives
// to 16 bits in one pass, then magnitude and angle in floats. With hysteresis, against
// OpenCV's whole edge finder on the same image (a comparison of cost, not of output).
struct SobelWork {
  lcSobelEdgeDetector detector{lcSobelEdgeParams{}};
  lcPelBuffer<uint8_t> magnitude, angle, final;
  cv::Mat dx, dy, fx, fy, length, direction;
};

lcBenchSides sobelEdge(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  auto work = std::make_shared<SobelWork>();
  return {[im, work] { work->detector.run(im->src, work->magnitude, work->angle); },
          [im, work] {
            cv::spatialGradient(im->mat, work->dx, work->dy);
            work->dx.convertTo(work->fx, CV_32F);
            work->dy.convertTo(work->fy, CV_32F);
            cv::cartToPolar(work->fx, work->fy, work->length, work->direction);
          }};
}

lcBenchSides sobelHysteresis(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  auto work = std::make_shared<SobelWork>();
  return {[im, work] {
            work->detector.run(im->src, work->magnitude, work->angle);
            lcHysteresisThreshold(work->magnitude, work->final, {10, 20, 255, 0});
          },
          // Our magnitude is about |g| / 4 of the raw gradient OpenCV thresholds.
          [im] { cv::Canny(im->mat, im->out, 40, 80); }};
}

}  // namespace

void lcAddKernelBenchRows() {
  lcAddBenchRow("copy_8 (ceiling)", copy<uint8_t>);
  lcAddBenchRow("copy_16 (ceiling)", copy<uint16_t>);
  lcAddBenchRow("add_8", add8, 1.0);
  lcAddBenchRow("add_16", add16, 3.0);
  lcAddBenchRow("multiply_8 (table)", multiply8, 1.0);
  lcAddBenchRow("multiply_16 (table)", multiply16);
  lcAddBenchRow("convolve3x3_16s", sharpen3x3<int16_t>, 1.5);
  lcAddBenchRow("convolve3x3_8", sharpen3x3<uint8_t>);
  lcAddBenchRow("convolveNxM_7x7", bell7x7, 1.0);
  lcAddBenchRow("highpass_s2", highPass2, 0.7);
  lcAddBenchRow("sobel_edge (magnitude, angle)", sobelEdge, 1.0);
  lcAddBenchRow("sobel_edge + hysteresis", sobelHysteresis, 1.0);
}
