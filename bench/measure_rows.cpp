// The measurement tools' kernels and copy region against OpenCV: copying a circle that
// covers 70 % of the image (ours including the encoding of the circle, OpenCV with the
// equivalent mask made beforehand), accumulating one frame into sums and sums of
// squares, and the gradient-energy sharpness.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench_images.h"
#include "bench_rows.h"
#include "ip/average/frame_average.h"
#include "ip/copyregion/copy_runs.h"
#include "ip/sharpness/sharpness.h"
#include "std/rlebuf/region_encoding.h"
#include "std/rlebuf/rle_mask.h"
#include "std/shapes/circle.h"

namespace {

lcBenchSides copyCircle(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  const double radius = std::sqrt(0.7 * w * h / std::numbers::pi);
  auto circle = std::make_shared<lcCircle>(lc2Vector{w / 2.0, h / 2.0}, radius);
  im->dst.allocate(w, h);
  auto mask = std::make_shared<cv::Mat>(h, w, CV_8U, cv::Scalar(0));
  const lcPelBuffer<uint8_t> expanded = lcExpandRLE(lcEncodeRegion(*circle, 255, 0));
  // The circle reaches beyond a wide image's top and bottom: only its part on the image.
  const lcPelRect r = lcIntersect(expanded.bufferRect(), im->src.bufferRect());
  for (int32_t y = r.y0; y < r.y1; ++y)
    for (int32_t x = r.x0; x < r.x1; ++x)
      mask->at<uint8_t>(y, x) = *expanded.pelAddress(x, y);
  im->out = cv::Mat(h, w, CV_8U, cv::Scalar(0));
  return {[im, circle] {
            const lcRLEBuffer runs = lcEncodeRegion(*circle, 255, 0);
            const lcPelRect window = lcIntersect(runs.window(), im->src.bufferRect());
            lcPelBuffer<uint8_t> from = im->src, to = im->dst;
            from.setBufferWindow(window);
            to.setBufferWindow(window);
            lcCopyRegionRuns(from, to, &runs, lcCopyRegionFill<uint8_t>{});
          },
          [im, mask] { im->mat.copyTo(im->out, *mask); }};
}

lcBenchSides accumulateFrame(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  auto buffer = std::make_shared<lcFrameAverageBuffer>();
  buffer->reset(true);
  auto sums = std::make_shared<cv::Mat>(h, w, CV_32F, cv::Scalar(0));
  auto squares = std::make_shared<cv::Mat>(h, w, CV_32F, cv::Scalar(0));
  return {[im, buffer] {
            if (buffer->count() == lcFrameAverageBuffer::kMaxFrames) buffer->reset();
            buffer->add(im->src);
          },
          [im, sums, squares] {
            cv::accumulate(im->mat, *sums);
            cv::accumulateSquare(im->mat, *squares);
          }};
}

lcBenchSides gradientEnergy(int32_t w, int32_t h) {
  auto im = imagesOf<uint8_t>(w, h);
  lcImageSharpnessDefs::Params params;
  params.algorithm = lcImageSharpnessDefs::gradientEnergy;
  auto work = std::make_shared<std::array<cv::Mat, 2>>();
  return {[im, params] { benchmark::DoNotOptimize(lcImageSharpnessScore(im->src, params)); },
          [im, work] {
            // 16-bit derivatives and the squared L2 norm: OpenCV's fastest way to the
            // sum of squared gradients, with no float images or temporaries.
            cv::Sobel(im->mat, (*work)[0], CV_16S, 1, 0);
            cv::Sobel(im->mat, (*work)[1], CV_16S, 0, 1);
            benchmark::DoNotOptimize(cv::norm((*work)[0], cv::NORM_L2SQR) +
                                     cv::norm((*work)[1], cv::NORM_L2SQR));
          }};
}

}  // namespace

void lcAddMeasureBenchRows() {
  lcAddBenchRow("copy_region circle 70% (with its encoding)", copyCircle, 1.0);
  lcAddBenchRow("frame_average add (sums and squares)", accumulateFrame, 1.0);
  lcAddBenchRow("sharpness gradient energy", gradientEnergy, 1.0);
}
