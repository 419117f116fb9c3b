#include "components/bridge/region_pixels.h"

#include <algorithm>

#include "components/bridge/image_bridge.h"
#include "std/pelbuf/pel_drivers.h"

ComPtr<ILumImage> lcCopyPixelsWithin(ILumImage* image, ILumRegion* region) {
  const lcPelBuffer<uint8_t> source =
      lcInputBuffer8({image, lumRegionModePixelAlignedBoundingBox, region});
  lcPelBuffer<uint8_t> copy;
  lcForEachRow(source, copy,
               [](const uint8_t* in, uint8_t* out, int32_t width) { std::copy_n(in, width, out); });
  return lcOutputImage8(copy, image);
}
