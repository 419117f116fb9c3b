#pragma once
// The N x M median of 8-bit, 16-bit and 16-bit range pixels (N and M odd), with a kernel
// mask of care and don't-care positions and an optional mask image.
//
// Rules we chose:
// - The result has the input's window and offset: each result sits on the pixel its
//   window is centred on (kernel column N / 2, row M / 2).
// - A pixel of the window takes part when its kernel position is care, it lies inside
//   the input's window (nothing beyond the edges is invented), the mask image, if any,
//   covers it with a non-zero pixel, and, for a range buffer, it is valid.
// - Of k taking part, sorted ascending, the result is the ((k - 1) / 2)-th (from 0): for
//   an even k the lower of the two middle values.
// - Where no pixel takes part the result is 0, and in a range buffer it is invalid.
//   Elsewhere a range result is valid (255 in its mask).

#include <cstdint>

#include "ip/median/median_errors.h"
#include "std/pelbuf/pel_buffer.h"
#include "std/pelbuf/pel_range16.h"

struct lcMedianNxMParams {
  // N x M, non-zero = care (the window of the buffer; its offset is not used).
  lcPelBuffer<uint8_t> kernelMask;
  // Unbound: no mask image. Placed in the input's buffer coordinates by its offset.
  lcPelBuffer<uint8_t> imageMask;
};

// An unbound dst is allocated at src's window with src's transform; a bound one must
// cover it (lcPel::BadWindow) and share no pixel with src (lcPelFunc::Overlap).
// lcPel::UnboundWindow for an unbound src; lcFilterDefs::BadKernelSize for an unbound
// kernel mask or an even size. Kernels "cip_filterMedianWindow8" and
// "cip_filterMedianWindow16" (the range buffer uses the latter).
void lcMedianNxM(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                 const lcMedianNxMParams& params);
void lcMedianNxM(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                 const lcMedianNxMParams& params);
// dst is always made anew.
void lcMedianNxM(const lcPelBufferRange16& src, lcPelBufferRange16& dst,
                 const lcMedianNxMParams& params);
