#pragma once
// Grey-scale morphology of 8-bit pixels: erosion, dilation and the operations built of
// them, with a structuring element given as a sequence of passes (n 3 x 3 elements, or
// one N x M element).
//
// Rules we chose:
// - Erosion subtracts a cell's offset from the pixel under it, dilation adds it; each
//   term is clamped to 0..255 (morph_pass.h).
// - The passes of one erosion (dilation) run one after the other, each on the result of
//   the one before; with Fit each pass shrinks the image by its element, so the input
//   must be at least as large as the composed element (lcGMorphDefs::BadImage).
// - Each erosion or dilation places its result on the input pixel under the origin: the
//   result is moved from the composed element's centre by (originX - cx, originY - cy).
//   Open dilates the eroded image with the same element and origin, so both moves add.
// - A difference (DilateMinusErode, CloseMinusOriginal, OriginalMinusOpen) is taken over
//   the pixels both operands cover, in buffer coordinates, and clamped at 0: an element
//   that is not symmetric about its origin can open an image above itself, and the
//   difference is then 0, not a wrapped value.
// - The take mask (from a mask image) applies to every pass, at the positions of the
//   input: the intermediate images lie in the same buffer coordinates.

#include <cstdint>
#include <vector>

#include "ip/gmorph/morph_pass.h"

enum class lcMorphOperation : int32_t {
  Erode = 1,
  Dilate = 2,
  Open = 3,
  Close = 4,
  DilateMinusErode = 5,
  CloseMinusOriginal = 6,
  OriginalMinusOpen = 7,
};

struct lcGreyMorphologyParams {
  std::vector<lcMorphElement> passes;
  // The origin in the composed element, whose size is the sum of the passes' sizes less
  // one per pass after the first; -1: its centre.
  int32_t originX = -1;
  int32_t originY = -1;
  lcMorphOperation operation = lcMorphOperation::Erode;
  lcMorphBorder border = lcMorphBorder::Fit;
  // Unbound: none. Placed in the input's buffer coordinates by its offset; input pixels
  // it does not cover, or covers with 0, take no part.
  lcPelBuffer<uint8_t> imageMask;
};

// dst is always made anew (rows aligned to 32 bytes, src's transform).
// lcGMorphDefs::EmptyList without passes, BadElement for a bad pass or an origin outside
// the composed element, BadImage for an unbound or too small input; lcPel::DisjointWindows
// when the two operands of a difference share no pixel.
void lcGreyMorphology(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                      const lcGreyMorphologyParams& params);

// a - b over the pixels both cover, clamped at 0, into a new buffer with a's transform.
void lcSubtractClamped(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                       lcPelBuffer<uint8_t>& dst);
