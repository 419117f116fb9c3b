#pragma once
// One erosion or dilation of 8-bit pixels by one structuring element: the building block
// of the grey-morphology operations (grey_morphology.h).
//
// Erosion gives each result the minimum, dilation the maximum, over the element's care
// cells, of the input pixel under the cell less (erosion) or plus (dilation) the cell's
// offset, clamped to 0..255. The element's centre (column N / 2, row M / 2) lies on the
// result's own pixel.

#include <cstdint>
#include <vector>

#include "ip/gmorph/gmorph_errors.h"
#include "std/pelbuf/pel_buffer.h"

// An odd N x M structuring element: per cell, row-major, whether it is cared for and
// its offset (-255 to 255).
struct lcMorphElement {
  int32_t width = 3;
  int32_t height = 3;
  std::vector<uint8_t> care = std::vector<uint8_t>(9, 255);  // non-zero: care
  std::vector<int16_t> offsets = std::vector<int16_t>(9, 0);

  // Every cell cared for with offset 0: a flat rectangle, separable.
  bool isFlatRectangle() const;
};

enum class lcMorphBorder : int32_t {
  // Results only where the whole element lies inside the input: (w - N + 1) x (h - M + 1)
  // pixels; an input smaller than the element is lcGMorphDefs::BadImage.
  Fit,
  // A result for every input pixel, in its place; cells beyond the input take no part.
  Clipped,
};

// lcGMorphDefs::BadElement for an element of even or non-positive size, cells and
// offsets that do not match the size, or an offset outside -255..255.
void lcCheckMorphElement(const lcMorphElement& element);

// One pass into dst: an unbound dst is allocated at the result's place (rows aligned to
// 32 bytes, src's transform); a bound one must cover it (lcPel::BadWindow) and share no
// pixel with src (lcPelFunc::Overlap). `take`, when given, is a mask over src's window
// (lcTakeMask): input pixels where it is 0 take no part. Where no pixel takes part,
// erosion gives 255 and dilation 0. lcGMorphDefs::BadImage for an unbound src. Kernels
// "cip_morphology_col" (flat rectangles: a running minimum or maximum down columns and
// along rows) and "cip_morphology_weighted" (any other element or a take mask).
void lcMorphologyPass(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                      const lcMorphElement& element, bool erode, lcMorphBorder border,
                      const lcPelBuffer<uint8_t>* take);
