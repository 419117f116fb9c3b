// The two-image kernels against OpenCV combining the same two images.

#include <memory>
#include <opencv2/core.hpp>
#include <random>

#include "bench_rows.h"
#include "ip/arith/image_arith.h"

namespace {

// Two random images seen both as our buffers and as OpenCV matrices over the same
// pixels, and the outputs both sides write again on every run.
template <class T>
struct ImagePair {
  ImagePair(int32_t width, int32_t height) {
    std::mt19937 random(2);
    for (int i = 0; i < 2; ++i) {
      src[i].allocate(width, height);
      const lcPelRows<T> rows = src[i].rows();
      for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
          rows[y][x] = static_cast<T>(random());
      mat[i] = cv::Mat(height, width, sizeof(T) == 1 ? CV_8U : CV_16U, rows.first,
                       static_cast<std::size_t>(rows.pitch) * sizeof(T));
    }
  }
  lcPelBuffer<T> src[2];
  lcPelBuffer<T> dst;
  cv::Mat mat[2], out;
};

template <class T, class Ours, class Theirs>
lcBenchPrepare pairRow(Ours ours, Theirs theirs) {
  return [ours, theirs](int32_t w, int32_t h) {
    auto im = std::make_shared<ImagePair<T>>(w, h);
    return lcBenchSides{[im, ours] { ours(im->src[0], im->src[1], im->dst); },
                        [im, theirs] { theirs(im->mat[0], im->mat[1], im->out); }};
  };
}

}  // namespace

void lcAddImageArithBenchRows() {
  lcAddBenchRow(
      "add_images_8 (bounded)",
      pairRow<uint8_t>([](auto& a, auto& b, auto& d) { lcAddImages(a, b, d, lcAddImagesClamp); },
                       [](auto& a, auto& b, auto& d) { cv::add(a, b, d); }),
      1.0);
  lcAddBenchRow(
      "add_images_16 (bounded)",
      pairRow<uint16_t>([](auto& a, auto& b, auto& d) { lcAddImages(a, b, d, lcAddImagesClamp); },
                        [](auto& a, auto& b, auto& d) { cv::add(a, b, d); }),
      1.0);
  lcAddBenchRow(
      "subtract_images_8 (absolute)",
      pairRow<uint8_t>(
          [](auto& a, auto& b, auto& d) { lcSubtractImages(a, b, d, lcSubtractImagesAbsolute); },
          [](auto& a, auto& b, auto& d) { cv::absdiff(a, b, d); }),
      1.0);
  lcAddBenchRow("min_images_8",
                pairRow<uint8_t>([](auto& a, auto& b, auto& d) { lcMinMaxImages(a, b, d, false); },
                                 [](auto& a, auto& b, auto& d) { cv::min(a, b, d); }),
                1.0);
  lcAddBenchRow("max_images_8",
                pairRow<uint8_t>([](auto& a, auto& b, auto& d) { lcMinMaxImages(a, b, d, true); },
                                 [](auto& a, auto& b, auto& d) { cv::max(a, b, d); }),
                1.0);
}
