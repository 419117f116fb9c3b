#pragma once
// Which source pixels the samples touch: the exact tap range of one sample (the pixels
// with a non-zero weight), a quick test that every sample lies well inside, and the run
// of columns of an output row whose samples need no window check.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "ip/affine/affine_pixel.h"
#include "ip/affine/affine_sampling.h"

class lcAffineTaps {
 public:
  lcAffineTaps(const lcAffineGeometry& g, lcAffineSamplingParams::Mode mode, int64_t width,
               int64_t height)
      : g_(g), mode_(mode), width_(width), height_(height) {}

  int64_t x(int64_t i, int64_t j) const { return g_.startX + i * g_.columnStepX + j * g_.rowStepX; }
  int64_t y(int64_t i, int64_t j) const { return g_.startY + i * g_.columnStepY + j * g_.rowStepY; }

  // The first and last pixel touched along one axis by a sample at 16.16 `position`.
  std::pair<int64_t, int64_t> range(int64_t position) const {
    if (mode_ == lcAffineSamplingParams::kNearest || g_.wholePixels)
      return {position >> 16, position >> 16};
    const int64_t p = position - lcAffinePixel::kHalf;
    const int64_t base = p >> 16, fraction = p & 0xffff;
    switch (mode_) {
      case lcAffineSamplingParams::kBilinearAccurate:
        return {base, base + (fraction != 0)};
      case lcAffineSamplingParams::kBilinear:
        return {base, base + ((fraction >> 1) != 0)};
      default: {
        const lcCubicWeights& w = lcAffineCubicTable[fraction >> 8];
        int first = 0, last = 3;
        while (w[first] == 0)
          ++first;
        while (w[last] == 0)
          --last;
        return {base - 1 + first, base - 1 + last};
      }
    }
  }

  // Whether sample (i, j) touches window pixels only.
  bool inside(int64_t i, int64_t j) const {
    if (g_.wholePixels) return wholePelInside(i, j);
    const auto [x0, x1] = range(x(i, j));
    const auto [y0, y1] = range(y(i, j));
    return x0 >= 0 && y0 >= 0 && x1 < width_ && y1 < height_;
  }

  // True when the samples at the four corners lie so far inside that every tap of every
  // sample does (samples lie between the corners); false says nothing.
  bool cornersInside(int64_t nx, int64_t ny) const {
    for (int64_t j : {int64_t{0}, ny - 1})
      for (int64_t i : {int64_t{0}, nx - 1})
        if (g_.wholePixels ? !wholePelInside(i, j) : !wellInside(x(i, j), y(i, j))) return false;
    return true;
  }

  // The columns [begin, end) of row j, within [0, nx), whose samples lie well inside:
  // every tap any mode might read is a window pixel.
  std::pair<int64_t, int64_t> trustedColumns(int64_t j, int64_t nx) const {
    int64_t begin = 0, end = nx;
    const auto keep = [&](int64_t start, int64_t step, int64_t extent) {
      // lo <= start + i * step <= hi, with every tap from base - 1 to base + 2.
      const int64_t lo = lcAffinePixel::kHalf + 65536;
      const int64_t hi = (extent - 2) * 65536 + lcAffinePixel::kHalf - 1;
      if (step == 0) {
        if (start < lo || start > hi) end = begin;
        return;
      }
      const int64_t a = step > 0 ? ceilDiv(lo - start, step) : ceilDiv(hi - start, step);
      const int64_t b = step > 0 ? floorDiv(hi - start, step) : floorDiv(lo - start, step);
      begin = std::max(begin, a);
      end = std::min(end, b + 1);
    };
    keep(x(0, j), g_.columnStepX, width_);
    keep(y(0, j), g_.columnStepY, height_);
    begin = std::min(begin, nx);
    end = std::max(end, begin);
    return {begin, end};
  }

 private:
  static int64_t floorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
  }
  static int64_t ceilDiv(int64_t a, int64_t b) { return -floorDiv(-a, b); }

  bool wellInside(int64_t px, int64_t py) const {
    const int64_t bx = (px - lcAffinePixel::kHalf) >> 16, by = (py - lcAffinePixel::kHalf) >> 16;
    return bx >= 1 && by >= 1 && bx + 2 < width_ && by + 2 < height_;
  }
  bool wholePelInside(int64_t i, int64_t j) const {
    const int64_t px = g_.pelX + i * g_.dx + j * g_.ex, py = g_.pelY + i * g_.dy + j * g_.ey;
    return px >= 0 && py >= 0 && px < width_ && py < height_;
  }

  const lcAffineGeometry& g_;
  lcAffineSamplingParams::Mode mode_;
  int64_t width_, height_;
};
