#include "std/shapes/points_and_lines.h"

#include <cmath>
#include <numbers>

#include "std/archive/archive_registry.h"
#include "std/math/angle.h"
#include "std/shapes/boundary.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered =
    lcRegisterArchivable<lc2Point>("lc2Point") && lcRegisterArchivable<lcLineSeg>("lcLineSeg") &&
    lcRegisterArchivable<lcLine>("lcLine") && lcRegisterArchivable<lcFLine>("lcFLine");

void requireRegular(const lc2Matrix& m) {
  if (m.isSingular()) throw lcShapesError::DegenerateShape(L"the transform collapses the line");
}
}  // namespace

lcShapeHandle lc2Point::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lc2Point>(xform.mapPoint(point_));
}

lcShapeHandle lc2Point::reversed() const {
  return lcMakeHandle<lc2Point>(*this);
}

lcBoundary lc2Point::boundary() const {
  return {{lcPolygonContour({point_}, false)}};
}

void lc2Point::archive(lcArchive& archive) {
  std::array<double, 2> v{point_.x, point_.y};
  lcArchiveShapeValues(*this, archive, kVersion, "point", v);
  point_ = {v[0], v[1]};
}

lcRect lcLineSeg::boundingBox() const {
  const lcExtent e = lcExtentOf({start_, end_});
  return lcRect(e.left, e.top, e.right - e.left, e.bottom - e.top);
}

lcShapeHandle lcLineSeg::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcLineSeg>(xform.mapPoint(start_), xform.mapPoint(end_));
}

lcShapeHandle lcLineSeg::reversed() const {
  return lcMakeHandle<lcLineSeg>(end_, start_);
}

lcBoundary lcLineSeg::boundary() const {
  return {{lcPolygonContour({start_, end_}, false)}};
}

void lcLineSeg::archive(lcArchive& archive) {
  std::array<double, 4> v{start_.x, start_.y, end_.x, end_.y};
  lcArchiveShapeValues(*this, archive, kVersion, "lineseg", v);
  *this = lcLineSeg({v[0], v[1]}, {v[2], v[3]});
}

lcRect lcEndlessLine::boundingBox() const {
  throw lcShapesError::InfiniteExtent(L"a line has no bounding box");
}

lc2Vector lcEndlessLine::nearestPoint(const lc2Vector& point) const {
  const lc2Vector p = through(), d = direction();
  const double f = ((point.x - p.x) * d.x + (point.y - p.y) * d.y) / (d.x * d.x + d.y * d.y);
  return {p.x + f * d.x, p.y + f * d.y};
}

double lcEndlessLine::tangentAtLength(double length) const {
  if (!std::isfinite(length)) throw lcShapesError::BadParams(L"the length must be finite");
  const lc2Vector d = direction();
  return lcNormalizeAngle(std::atan2(d.y, d.x));
}

lcBoundary lcEndlessLine::boundary() const {
  throw lcShapesError::InfiniteExtent(L"a line reaches without end");
}

lc2Vector lcLine::direction() const {
  return {std::cos(angle_), std::sin(angle_)};
}

lcShapeHandle lcLine::map(const lc2XformLinear& xform) const {
  requireRegular(xform.matrix());
  return lcMakeHandle<lcLine>(xform.mapPoint(point_), lcNormalizeAngle(xform.mapAngle(angle_)));
}

lcShapeHandle lcLine::reversed() const {
  return lcMakeHandle<lcLine>(point_, lcNormalizeAngle(angle_ + std::numbers::pi));
}

void lcLine::archive(lcArchive& archive) {
  std::array<double, 3> v{point_.x, point_.y, angle_};
  lcArchiveShapeValues(*this, archive, kVersion, "line", v);
  *this = lcLine({v[0], v[1]}, v[2]);
}

lcFLine::lcFLine(double a, double b, double c) : a_(a), b_(b), c_(c) {
  if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || (a == 0.0 && b == 0.0))
    throw lcShapesError::BadCoef(L"a line needs finite coefficients, a and b not both 0");
}

lc2Vector lcFLine::through() const {
  const double f = -c_ / (a_ * a_ + b_ * b_);
  return {a_ * f, b_ * f};
}

lcShapeHandle lcFLine::map(const lc2XformLinear& xform) const {
  requireRegular(xform.matrix());
  // The normal maps by the inverse transpose; the offset follows the translation.
  const lc2Matrix inv = xform.matrix().inverse();
  const double a = inv.a() * a_ + inv.c() * b_, b = inv.b() * a_ + inv.d() * b_;
  const lc2Vector& t = xform.translation();
  return lcMakeHandle<lcFLine>(a, b, c_ - a * t.x - b * t.y);
}

lcShapeHandle lcFLine::reversed() const {
  return lcMakeHandle<lcFLine>(-a_, -b_, -c_);
}

void lcFLine::archive(lcArchive& archive) {
  std::array<double, 3> v{a_, b_, c_};
  lcArchiveShapeValues(*this, archive, kVersion, "fline", v);
  *this = lcFLine(v[0], v[1], v[2]);
}
