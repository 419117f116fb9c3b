#pragma once
// The images a kernel row works on: a random source seen both as our buffer and as an
// OpenCV matrix over the same pixels, and the outputs both sides write again on every
// run.

#include <memory>
#include <opencv2/core.hpp>
#include <random>

#include "std/pelbuf/pel_buffer.h"

template <class T, class Out = T>
struct Images {
  Images(int32_t width, int32_t height) {
    src.allocate(width, height);
    std::mt19937 random(1);
    const lcPelRows<T> rows = src.rows();
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x)
        rows[y][x] = static_cast<T>(random());
    mat = cv::Mat(height, width, sizeof(T) == 1 ? CV_8U : CV_16U, rows.first,
                  static_cast<std::size_t>(rows.pitch) * sizeof(T));
  }

  lcPelBuffer<T> src;
  lcPelBuffer<Out> dst;
  cv::Mat mat, out;
};

template <class T, class Out = T>
std::shared_ptr<Images<T, Out>> imagesOf(int32_t width, int32_t height) {
  return std::make_shared<Images<T, Out>>(width, height);
}
