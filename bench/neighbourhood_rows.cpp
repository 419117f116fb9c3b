// The median and grey-morphology kernels against OpenCV on the same image: the 3 x 3
// median, the N x M median and flat erosion and dilation over growing windows, whose
// rows show how the cost grows with the window.

#include <cstdint>
#include <memory>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <random>
#include <string>

#include "bench_rows.h"
#include "ip/gmorph/morph_pass.h"
#include "ip/median/median3x3.h"
#include "ip/median/median_nxm.h"

namespace {

// A random 8-bit image seen as our buffer and as an OpenCV matrix over the same pixels.
struct Images {
  Images(int32_t width, int32_t height) {
    src.allocate(width, height);
    std::mt19937 random(1);
    const lcPelRows<uint8_t> rows = src.rows();
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        rows[y][x] = static_cast<uint8_t>(random());
    mat = cv::Mat(height, width, CV_8U, rows.first, static_cast<std::size_t>(rows.pitch));
  }

  lcPelBuffer<uint8_t> src;
  // Kept between runs, as OpenCV keeps `out`: the timing is the kernel's, not the
  // allocation and first touch of a new image.
  lcPelBuffer<uint8_t> dst;
  cv::Mat mat, out;
};

const std::vector<lcBenchSize> kLarge{{4096, 4096}};

lcBenchPrepare median3x3() {
  return [](int32_t w, int32_t h) {
    auto im = std::make_shared<Images>(w, h);
    return lcBenchSides{[im] { lcMedian3x3(im->src, im->dst); },
                        [im] { cv::medianBlur(im->mat, im->out, 3); }};
  };
}

lcBenchPrepare medianNxM(int32_t size) {
  return [size](int32_t w, int32_t h) {
    auto im = std::make_shared<Images>(w, h);
    lcMedianNxMParams params;
    params.kernelMask.allocate(size, size);
    for (int32_t y = 0; y < size; ++y)
      std::fill_n(params.kernelMask.rows()[y], size, uint8_t{255});
    return lcBenchSides{[im, params] { lcMedianNxM(im->src, im->dst, params); },
                        [im, size] { cv::medianBlur(im->mat, im->out, size); }};
  };
}

lcBenchPrepare flat(int32_t size, bool erode) {
  return [size, erode](int32_t w, int32_t h) {
    auto im = std::make_shared<Images>(w, h);
    const std::size_t cells = static_cast<std::size_t>(size) * static_cast<std::size_t>(size);
    const lcMorphElement element{size, size, std::vector<uint8_t>(cells, 255),
                                 std::vector<int16_t>(cells, 0)};
    const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(size, size));
    return lcBenchSides{[im, element, erode] {
                          lcMorphologyPass(im->src, im->dst, element, erode, lcMorphBorder::Clipped,
                                           nullptr);
                        },
                        [im, kernel, erode] {
                          if (erode)
                            cv::erode(im->mat, im->out, kernel);
                          else
                            cv::dilate(im->mat, im->out, kernel);
                        }};
  };
}

}  // namespace

void lcAddNeighbourhoodBenchRows() {
  lcAddBenchRow("median3x3_8", median3x3(), 1.0);
  for (int32_t size : {3, 5, 9, 15, 31})
    lcAddBenchRow("medianNxM_" + std::to_string(size), medianNxM(size),
                  size == 5 || size == 15 ? 1.0 : 0, kLarge);
  for (int32_t size : {3, 5, 7, 9, 15, 21, 31})
    lcAddBenchRow("erode_flat_" + std::to_string(size), flat(size, true),
                  size == 3 || size == 7 || size == 21 ? 1.0 : 0, kLarge);
  for (int32_t size : {3, 7, 21})
    lcAddBenchRow("dilate_flat_" + std::to_string(size), flat(size, false), 1.0, kLarge);
}
