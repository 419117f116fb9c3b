// Re-orienting and resampling kernels against OpenCV doing the same pixel moves: quarter
// turns, mirrors, halving by block means, Gaussian halving, doubling by replication, and
// Gaussian sampling at a real rate against OpenCV's blur and bilinear reduction.

#include <opencv2/imgproc.hpp>

#include "bench_images.h"
#include "bench_rows.h"
#include "ip/orient/flip_rotate.h"
#include "ip/sampling/expand.h"
#include "ip/sampling/gauss_sample.h"
#include "ip/sampling/subsample.h"
#include "ip/smplconv/gauss_kernels.h"
#include "ip/smplconv/sample_convolve.h"

namespace {

template <class Ours, class OpenCv>
lcBenchSides sides(int32_t w, int32_t h, Ours ours, OpenCv opencv) {
  auto im = imagesOf<uint8_t>(w, h);
  return {[im, ours] { ours(im->src, im->dst); }, [im, opencv] { opencv(im->mat, im->out); }};
}

lcBenchSides rotate90(int32_t w, int32_t h) {
  return sides(
      w, h, [](const auto& src, auto& dst) { lcFlipRotate(src, dst, 1); },
      [](const cv::Mat& in, cv::Mat& out) { cv::rotate(in, out, cv::ROTATE_90_CLOCKWISE); });
}

lcBenchSides flip(int32_t w, int32_t h) {
  return sides(
      w, h, [](const auto& src, auto& dst) { lcFlipRotate(src, dst, 4); },
      [](const cv::Mat& in, cv::Mat& out) { cv::flip(in, out, 1); });
}

lcBenchSides halveByMeans(int32_t w, int32_t h) {
  return sides(
      w, h,
      [](const auto& src, auto& dst) {
        lcSubSample(src, dst, {2, 2, true});
      },
      [w, h](const cv::Mat& in, cv::Mat& out) {
        cv::resize(in, out, cv::Size(w / 2, h / 2), 0, 0, cv::INTER_AREA);
      });
}

lcBenchSides gaussHalve(int32_t w, int32_t h) {
  const lcGaussSampleParams params(2, 2, 2, 2);
  return sides(
      w, h, [params](const auto& src, auto& dst) { lcGaussSample(src, dst, params); },
      [](const cv::Mat& in, cv::Mat& out) { cv::pyrDown(in, out); });
}

lcBenchSides doubleByReplication(int32_t w, int32_t h) {
  return sides(
      w, h,
      [](const auto& src, auto& dst) {
        lcExpand(src, dst, {2, 2});
      },
      [w, h](const cv::Mat& in, cv::Mat& out) {
        cv::resize(in, out, cv::Size(w * 2, h * 2), 0, 0, cv::INTER_NEAREST);
      });
}

lcBenchSides gaussRate(int32_t w, int32_t h) {
  const double rate = 1.6, sigma = lcGaussSampleSigma(rate);
  const lcSampleConvolveParams params{lcGaussKernel(sigma), lcGaussKernel(sigma), rate, rate};
  const int side = int(params.kernelX.size());
  return sides(
      w, h, [params](const auto& src, auto& dst) { lcSampleConvolve(src, dst, params); },
      [w, h, side, sigma, rate](const cv::Mat& in, cv::Mat& out) {
        cv::Mat blurred;
        cv::GaussianBlur(in, blurred, cv::Size(side, side), sigma);
        cv::resize(blurred, out, cv::Size(int(w / rate), int(h / rate)), 0, 0, cv::INTER_LINEAR);
      });
}

}  // namespace

void lcAddSamplingBenchRows() {
  lcAddBenchRow("rotate90_8", rotate90, 1.0);
  lcAddBenchRow("flip_8", flip, 1.0);
  lcAddBenchRow("subsample_mean2_8", halveByMeans, 1.0);
  lcAddBenchRow("gauss_sample2_8", gaussHalve, 1.0);
  lcAddBenchRow("expand2_8", doubleByReplication, 1.0);
  lcAddBenchRow("sample_convolve1.6_8", gaussRate);
}
