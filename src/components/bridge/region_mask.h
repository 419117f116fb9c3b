#pragma once
// Region to mask: the one step every masked operator runs before its kernel. It maps
// the region into the image's pixel grid, takes its pixel-aligned bounding box as the
// operating window and, unless the operator works on the whole box, asks the region
// for its run-length encoding (255 inside, 0 outside) and expands it into a mask where
// the region does not fill its window.
//
// A pixel is inside when the region contains its centre; the window is the region's
// pixel-aligned bounding box, so box and mask always agree.

#include "components/bridge/lum_rle_buffer.h"
#include "std/pelbuf/pel_buffer.h"

struct lcRegionMask {
  // The operating window in the image's pixel grid: the region's pixel-aligned box,
  // not clipped to the image.
  lcPelRect window;
  // False when every pixel of the window is inside (and in the bounding-box mode).
  bool needsMask = false;
  // The region's encoding over `window`; empty in the bounding-box mode.
  lcRLEBuffer encoding;
  // When needsMask: 255 inside, 0 outside, over `window` cut to the image's window
  // (buffer coordinates are grid coordinates), with the transform input buffers carry
  // (the image's selected space to its pixels). Unbound otherwise.
  lcPelBuffer<uint8_t> mask;
};

// Fills `result` for `region` over `image`, whose pixels cover `imageWindow` of the
// grid, in `regionMode` (lumRegionModePixelAlignedBoundingBox stops at the window).
// Fails, leaving `result` as it was: no result place E_POINTER; no region
// E_INVALIDARG; no image 0x8004E400; a region space the image does not know
// 0x8004E402; a mapped region that is no ILumRegion E_NOINTERFACE; a window that does
// not even touch the image 0x8004E103 (before any encoding is asked for); a region
// without a valid encoding 0x8004E402 with message 0x8004811D.
LUM_FRAMEWORK_API void lcRegionToMask(ILumImage* image, const lcPelRect& imageWindow,
                                      ILumRegion* region, LONG regionMode, lcRegionMask* result);
