#pragma once
// Resampling the part of a buffer that an affine rectangle covers into an upright
// buffer of a given number of samples: output column i and row j sample the input at the
// image of ((i + 0.5) / nx, (j + 0.5) / ny) under the rectangle's unit-square transform,
// mapped into the input's buffer coordinates by the input's transform.
//
// Positions are 16.16 fixed point relative to the input window's first pixel, converted
// from doubles by multiplying by 65536, adding 0.5 and truncating (so -1.0 becomes
// -65535), and stepped per column and per row. The modes:
//
//   1 (and any value not below) nearest: the pixel that contains the position;
//   2 bilinear: separable, 15-bit weights, truncating each pass;
//   3 cubic: separable 4-tap cubic convolution (a = -0.5), 256 phases, Q15 weights;
//   4 bilinear accurate: 16-bit weights in both axes at once, rounded.
//
// A pixel is touched by a sample when the sample's kernel gives it a non-zero weight; a
// sample is clipped when it touches a pixel outside the input window. Touched pixels
// outside read as 0.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"
#include "std/shapes/affine_rectangle.h"

class lcAffineSamplingParams {
 public:
  LC_ERROR_GROUP();
  LC_ERROR(lcAffineSamplingParams, BadNumSamples, 0x10002320);
  LC_ERROR(lcAffineSamplingParams, NotImplemented, 0x10002321);

  enum Mode : int32_t { kNearest = 1, kBilinear = 2, kCubic = 3, kBilinearAccurate = 4 };

  // The unit square, one sample each way, bilinear.
  lcAffineSamplingParams() = default;
  // Sample counts must be >= 1 (BadNumSamples).
  lcAffineSamplingParams(const lcAffineRectangle& rectangle, int32_t numSamplesX,
                         int32_t numSamplesY, int32_t mode = kBilinear);

  const lcAffineRectangle& rectangle() const { return rectangle_; }
  int32_t numSamplesX() const { return numSamplesX_; }
  int32_t numSamplesY() const { return numSamplesY_; }
  // The counts as 16-bit values: BadNumSamples from 32768 on.
  int16_t numSamplesX16() const;
  int16_t numSamplesY16() const;
  int32_t mode() const { return mode_; }
  // The mode the kernels run: every value other than 2, 3 and 4 is nearest.
  Mode kernelMode() const;

 private:
  lcAffineRectangle rectangle_;
  int32_t numSamplesX_ = 1;
  int32_t numSamplesY_ = 1;
  int32_t mode_ = kBilinear;
};

// Where the samples of `params` lie on a source buffer.
struct lcAffineGeometry {
  // Output buffer coordinates (pixel (i, j) spans [i, i + 1) x [j, j + 1)) to source
  // buffer coordinates.
  lc2XformLinear sourceFromOutput;
  // 16.16 positions relative to the source window's first pixel: the centre of output
  // pixel (0, 0), and the steps from one column and from one row to the next.
  int64_t startX = 0, startY = 0;
  int64_t columnStepX = 0, columnStepY = 0;
  int64_t rowStepX = 0, rowStepY = 0;
  // Whether the map moves whole pixels in one of the eight right-angle orientations;
  // then output pixel (i, j) is source pixel (pelX + i * dx + j * ex, pelY + i * dy + j
  // * ey) of the window.
  bool wholePixels = false;
  int64_t pelX = 0, pelY = 0;
  int32_t dx = 0, dy = 0, ex = 0, ey = 0;
};

// lcPel::UnboundWindow for an unbound source; lcMathError::Singular is left to the
// caller's transforms; NotImplemented when a sample position lies beyond 2^24 pixels of
// the window, where 16.16 steps would no longer be exact in 64 bits.
lcAffineGeometry lcAffineGeometryFor(const lcAffineSamplingParams& params,
                                     const lcPelFrame& source);

// Whether any sample of `params` touches a pixel outside the source window.
bool lcAffineIsClipped(const lcAffineSamplingParams& params, const lcPelFrame& source);

// dst (unbound: allocated numSamplesX x numSamplesY at offset (0, 0), with the transform
// that keeps every output pixel's client position; bound: must be that size) receives
// the samples. With `mask`, it is allocated in the same way and gets 255 for every
// sample that touches only window pixels and 0 for the others. Returns whether any
// sample was clipped. Kernels "cip_affineSample_8" and "cip_affineSample_16".
bool lcAffineSample(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                    const lcAffineSamplingParams& params, lcPelBuffer<uint8_t>* mask = nullptr);
bool lcAffineSample(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                    const lcAffineSamplingParams& params, lcPelBuffer<uint8_t>* mask = nullptr);

// The stripe height the sampler cuts an output of `width` columns into.
int32_t lcAffineStripeRows(int32_t width, int32_t height, bool eightBit);
