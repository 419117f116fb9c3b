#include "std/shapes/shape.h"

#include "std/shapes/pixel_aligned_box.h"
#include "std/shapes/shape_errors.h"

lcPelRect lcShape::pixelWindow() const {
  return lcPixelAlignedBox(boundingBox());
}

void lcShape::pixelSpans(int32_t, int32_t, int32_t, std::vector<lcPixelSpan>&) const {
  throw lcShapesError::NotRegion(L"this shape holds no area");
}
