#include "std/shapes/shape.h"

#include <cmath>

#include "std/shapes/boundary.h"
#include "std/shapes/pixel_aligned_box.h"
#include "std/shapes/rect.h"
#include "std/shapes/shape_errors.h"

namespace {

void requireOpenContour(const lcShape& shape) {
  if (!shape.isOpenContour())
    throw lcShapesError::NotOpenContour(L"only an open contour has ends and vertices");
}

const lcContour& firstContour(const lcBoundary& boundary) {
  if (boundary.contours.empty()) throw lcShapesError::EmptyShape(L"the contour holds no point");
  return boundary.contours.front();
}

}  // namespace

lc2Vector lcShape::nearestPoint(const lc2Vector& point) const {
  return lcNearestOnBoundary(boundary(), point);
}

double lcShape::perimeter() const {
  return lcBoundaryLength(boundary());
}

std::pair<float, float> lcShape::extentAlong(double angle) const {
  // Turned so that the direction lies along x, the extent is the bounding box's.
  const double c = std::cos(angle), s = std::sin(angle);
  const lcRect box = map(lc2XformLinear(lc2Matrix(c, s, -s, c), {}))->boundingBox();
  return {static_cast<float>(box.x()), static_cast<float>(box.x() + box.width())};
}

lc2Vector lcShape::startPoint() const {
  requireOpenContour(*this);
  return firstContour(boundary()).start;
}

lc2Vector lcShape::endPoint() const {
  requireOpenContour(*this);
  const lcBoundary b = boundary();
  firstContour(b);
  const lcContour& last = b.contours.back();
  return last.pieces.empty() ? last.start : last.pieces.back().pointAt(1.0);
}

size_t lcShape::vertexCount() const {
  requireOpenContour(*this);
  size_t count = 0;
  for (const lcContour& contour : boundary().contours)
    count += contour.pieces.size() + 1;
  return count;
}

lc2Vector lcShape::vertex(size_t index) const {
  requireOpenContour(*this);
  for (const lcContour& contour : boundary().contours) {
    if (index == 0) return contour.start;
    if (index <= contour.pieces.size()) return contour.pieces[index - 1].pointAt(1.0);
    index -= contour.pieces.size() + 1;
  }
  throw lcShapesError::BadIndex(L"there is no vertex at this index");
}

lc2Vector lcShape::pointAtLength(double length) const {
  requireOpenContour(*this);
  const lcBoundary b = boundary();
  const lcPieceAt at = lcPieceAtLength(b, length);
  return at.piece ? at.piece->pointAt(at.fraction) : firstContour(b).start;
}

double lcShape::tangentAtLength(double length) const {
  requireOpenContour(*this);
  const lcBoundary b = boundary();
  const lcPieceAt at = lcPieceAtLength(b, length);
  if (!at.piece || !(lcBoundaryLength(b) > 0.0))
    throw lcShapesError::NoTangent(L"a contour of no length has no direction");
  return at.piece->tangentAt(at.fraction);
}

bool lcShape::isRightHanded() const {
  throw lcShapesError::NotRegion(L"only a region has a handedness");
}

lcShapeHandle lcShape::reversed() const {
  throw lcShapesError::NotReversible(L"this shape has no direction to reverse");
}

double lcShape::distanceTo(const lc2Vector& point) const {
  if (isRegion() && contains(point)) return 0.0;
  const lc2Vector d = point - nearestPoint(point);
  return std::hypot(d.x, d.y);
}

lcShapeHandle lcShape::translated(const lc2Vector& offset) const {
  return map(lc2XformLinear(lc2Matrix(), offset));
}

bool lcShape::isNear(const lc2Vector& point, double tolerance) const {
  return distanceTo(point) <= tolerance;
}

void lcShape::reverse(lcShapeHandle& result) const {
  result = reversed();
}

void lcShape::sample(const lcSampleParams& params, lcBoundarySamples& samples) const {
  lcSampleBoundary(boundary(), params, samples);
}

lcShapeHandle lcShape::copy() const {
  return map(lc2XformLinear());
}

lcPelRect lcShape::pixelWindow() const {
  return lcPixelAlignedBox(boundingBox());
}

void lcShape::pixelSpans(int32_t, int32_t, int32_t, std::vector<lcPixelSpan>&) const {
  throw lcShapesError::NotRegion(L"this shape holds no area");
}

void lcShape::pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                        lcPixelRowSink& sink) const {
  std::vector<lcPixelSpan> spans;
  for (int32_t y = y0; y < y1; ++y) {
    spans.clear();
    pixelSpans(y, x0, x1, spans);
    sink.row(y, spans);
  }
}

lcBoundary lcShape::boundary() const {
  throw lcShapesError::NotImplemented(L"this shape does not describe its boundary");
}
