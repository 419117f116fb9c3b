#include "components/bridge/region_mask.h"

#include "components/bridge/image_bridge.h"
#include "components/framework/com_error.h"
#include "std/rlebuf/rle_mask.h"

namespace {

constexpr uint32_t kMessageNoMask = 0x8004811D;

// Touching along an edge counts as overlapping: only a gap between them fails.
bool overlapsOrTouches(const lcPelRect& a, const lcPelRect& b) {
  return std::max(a.x0, b.x0) <= std::min(a.x1, b.x1) &&
         std::max(a.y0, b.y0) <= std::min(a.y1, b.y1);
}

}  // namespace

void lcRegionToMask(ILumImage* image, const lcPelRect& imageWindow, ILumRegion* region,
                    LONG regionMode, lcRegionMask* result) {
  if (result == nullptr) throw lcCOMError(E_POINTER, 0);
  if (region == nullptr) throw lcCOMError(E_INVALIDARG, 0);
  if (image == nullptr) throw lcCOMError(kNoInputImage, 0);
  const ComPtr<ILumRegion> mapped = lcMapRegionIntoPixels(image, region);
  lcRegionMask out;
  LONG x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  throwIfFailed(mapped->GetPixelAlignedBoundingBox(&x0, &y0, &x1, &y1));
  out.window = {x0, y0, x1, y1};
  if (regionMode == lumRegionModePixelAlignedBoundingBox) {
    *result = std::move(out);
    return;
  }
  if (!overlapsOrTouches(out.window, imageWindow)) throw lcCOMError(kWindowOutsideImage, 0);

  LONG offsetX = 0, offsetY = 0, width = 0, height = 0;
  lum::Variant rows;
  VARIANT_BOOL valid = VARIANT_FALSE;
  throwIfFailed(mapped->GetRunLengthEncoding(255, 0, &offsetX, &offsetY, &width, &height,
                                             rows.put(), &valid));
  if (valid != VARIANT_TRUE) throw lcCOMError(kRegionDoesNotFit, 0, kMessageNoMask);
  out.encoding = lcLumRLEBuffer(mapped, offsetX, offsetY, width, height, *rows.ptr());
  out.window = out.encoding.window();
  out.needsMask = out.encoding.hasRunOf(0);
  if (out.needsMask) {
    out.encoding.setXform(lcSelectedToPixels(image));
    out.mask = lcExpandRLE(out.encoding, imageWindow);
  }
  *result = std::move(out);
}
