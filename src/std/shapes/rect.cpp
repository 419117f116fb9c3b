#include "std/shapes/rect.h"

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/shapes/affine_rectangle.h"
#include "std/shapes/boundary.h"
#include "std/shapes/row_spans.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lcRect>("lcRect");
}  // namespace

lc2XformLinear lcRect::unitSquare() const {
  return lc2XformLinear(lc2Matrix(width_, 0.0, 0.0, height_), {x_, y_});
}

bool lcRect::isNonDegenerate() const {
  return !(width_ == 0.0 && height_ == 0.0);
}

bool lcRect::contains(const lc2Vector& point) const {
  return x_ <= point.x && point.x < x_ + width_ && y_ <= point.y && point.y < y_ + height_;
}

void lcRect::pixelSpans(int32_t row, int32_t x0, int32_t x1,
                        std::vector<lcPixelSpan>& spans) const {
  const double y = lcPixelCentre(row);
  if (!(y_ <= y && y < y_ + height_)) return;
  lcRealSpans line;
  line.add(x_, x_ + width_);
  lcAppendPixelSpans(line, false, x0, x1, spans);
}

lcShapeHandle lcRect::map(const lc2XformLinear& xform) const {
  const lc2XformLinear mapped = xform * unitSquare();
  const lc2Matrix& m = xform.matrix();
  if (m.b() == 0.0 && m.c() == 0.0 && m.a() > 0.0 && m.d() > 0.0)
    return lcMakeHandle<lcRect>(mapped.translation().x, mapped.translation().y, mapped.matrix().a(),
                                mapped.matrix().d());
  return lcMakeHandle<lcAffineRectangle>(mapped);
}

void lcRect::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "rect", __LINE__);
  lcShape::archive(archive);
  // Read into a copy, so that a failed load leaves this rectangle as it was.
  double values[4] = {x_, y_, width_, height_};
  for (double& value : values)
    archive.transfer(value);
  *this = lcRect(values[0], values[1], values[2], values[3]);
}

bool lcRect::isRightHanded() const {
  return width_ * height_ >= 0.0;
}

lcShapeHandle lcRect::reversed() const {
  return lcMakeHandle<lcAffineRectangle>(lcSwapSides(unitSquare()));
}

lcBoundary lcRect::boundary() const {
  const double x1 = x_ + width_, y1 = y_ + height_;
  return {{lcPolygonContour({{x_, y_}, {x1, y_}, {x1, y1}, {x_, y1}}, true)}};
}
