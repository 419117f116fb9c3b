#include "std/shapes/ellipse_annulus_section.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/shapes/boundary.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
constexpr double kTurn = 2 * std::numbers::pi;
[[maybe_unused]] const bool registered =
    lcRegisterArchivable<lcEllipseAnnulusSection>("lcEllipseAnnulusSection");
}  // namespace

lcEllipseAnnulusSection::lcEllipseAnnulusSection()
    : lcEllipseAnnulusSection(lc2XformLinear(), 2.0, 0.0, kTurn) {}

lcEllipseAnnulusSection::lcEllipseAnnulusSection(const lc2XformLinear& unitCircle,
                                                 double secondScale, double startAngle,
                                                 double endAngle, bool angleFromStart,
                                                 bool radialFromBase)
    : lcSpanShape(true),
      rows_(unitCircle),
      scale_(secondScale),
      start_(startAngle),
      end_(endAngle),
      angleFromStart_(angleFromStart),
      radialFromBase_(radialFromBase) {
  if (!(scale_ >= 0.0 && std::isfinite(scale_)))
    throw lcShapesError::BadRadius(L"the second scale must be finite and >= 0");
  if (!std::isfinite(start_) || !std::isfinite(end_))
    throw lcShapesError::BadParams(L"the angles must be finite");
  prepare();
}

void lcEllipseAnnulusSection::prepare() {
  sweep_ = std::min(std::abs(end_ - start_), kTurn);
  const double first = std::min(start_, end_), last = first + sweep_;
  const lc2Vector u0{std::cos(first), std::sin(first)}, u1{std::cos(last), std::sin(last)};
  const lcEllipseRows& r = rows_;
  // cross(u0, q) >= 0 and cross(q, u1) >= 0 with q = E^-1 (dx, dy), as functions of dx.
  fromStart_ = {u0.x * r.i10 - u0.y * r.i00, u0.x * r.i11 - u0.y * r.i01};
  toEnd_ = {r.i00 * u1.y - r.i10 * u1.x, r.i01 * u1.y - r.i11 * u1.x};
}

double lcEllipseAnnulusSection::firstRadius() const {
  const lc2Matrix& m = unitCircle().matrix();
  return std::hypot(m.a(), m.c());
}

lc2Vector lcEllipseAnnulusSection::pointAt(double u, double v) const {
  const double theta = start_ + (angleFromStart_ ? u : 1 - u) * (end_ - start_);
  const double s = 1 + (radialFromBase_ ? v : 1 - v) * (scale_ - 1);
  return unitCircle().mapPoint({s * std::cos(theta), s * std::sin(theta)});
}

bool lcEllipseAnnulusSection::isNonDegenerate() const {
  return rows_.valid && scale_ != 1.0 && sweep_ > 0.0;
}

void lcEllipseAnnulusSection::addHalfLine(const HalfPlane& h, double dy, lcRealSpans& spans) const {
  const double beta = h.gamma * dy;
  if (h.alpha == 0.0) {
    if (beta >= 0.0) spans.add(-HUGE_VAL, HUGE_VAL);
    return;
  }
  const double x = unitCircle().translation().x - beta / h.alpha;
  if (h.alpha > 0.0)
    spans.add(x, HUGE_VAL);
  else
    spans.add(-HUGE_VAL, x);
}

void lcEllipseAnnulusSection::rowSpans(double y, lcRealSpans& spans) const {
  lcRealSpans ring;
  rows_.addRing(y, std::min(1.0, scale_), std::max(1.0, scale_), ring);
  if (sweep_ >= kTurn) {
    spans = ring;
    return;
  }
  if (sweep_ == 0.0) return;
  const double dy = y - unitCircle().translation().y;
  lcRealSpans start, end;
  addHalfLine(fromStart_, dy, start);
  addHalfLine(toEnd_, dy, end);
  lcRealSpans wedge;
  if (sweep_ <= std::numbers::pi) {
    wedge = lcIntersectSpans(start, end);
  } else {
    // The union of the two half-lines.
    if (start.size() == 0)
      wedge = end;
    else if (end.size() == 0)
      wedge = start;
    else {
      const lcRealSpan a = *start.begin(), b = *end.begin();
      const lcRealSpan& left = a.lo <= b.lo ? a : b;
      const lcRealSpan& right = a.lo <= b.lo ? b : a;
      if (right.lo <= left.hi) {
        wedge.add(left.lo, std::max(left.hi, right.hi));
      } else {
        wedge.add(left.lo, left.hi);
        wedge.add(right.lo, right.hi);
      }
    }
  }
  spans = lcIntersectSpans(ring, wedge);
}

lcExtent lcEllipseAnnulusSection::extent() const {
  return rows_.box(std::max(1.0, scale_));
}

lcShapeHandle lcEllipseAnnulusSection::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcEllipseAnnulusSection>(xform * unitCircle(), scale_, start_, end_,
                                               angleFromStart_, radialFromBase_);
}

void lcEllipseAnnulusSection::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "ellannsection", __LINE__);
  lcShape::archive(archive);
  lc2XformLinear e = unitCircle();
  double values[3] = {scale_, start_, end_};
  uint8_t flags[2] = {angleFromStart_, radialFromBase_};
  e.archive(archive);
  for (double& value : values)
    archive.transfer(value);
  for (uint8_t& flag : flags)
    archive.transfer(flag);
  if (archive.isLoading())
    *this =
        lcEllipseAnnulusSection(e, values[0], values[1], values[2], flags[0] != 0, flags[1] != 0);
}

lcEllipseAnnulusSection lcInAxesForm(const lcEllipseAnnulusSection& section) {
  const lc2XformLinear& e = section.unitCircle();
  const lc2XformLinear axes = lcEllipseFromAxes(lcAxesOfEllipse(e));
  if (e.matrix().isSingular() || axes.matrix().isSingular()) return section;
  // W = A^-1 E is orthogonal: q in E's frame is W q in the axes frame.
  const lc2Matrix w = axes.matrix().inverse() * e.matrix();
  const double phi = std::atan2(w.c(), w.a());
  double start = section.startAngle(), end = section.endAngle();
  if (w.det() > 0) {
    start += phi, end += phi;  // a turn by phi
  } else {
    start = phi - start, end = phi - end;  // a mirror: theta becomes phi - theta
  }
  return lcEllipseAnnulusSection(axes, section.secondScale(), start, end, section.angleFromStart(),
                                 section.radialFromBase());
}

lcShapeHandle lcEllipseAnnulusSection::reversed() const {
  return lcMakeHandle<lcEllipseAnnulusSection>(lcFlipEllipse(unitCircle()), scale_, -end_, -start_,
                                               !angleFromStart_, radialFromBase_);
}

lcBoundary lcEllipseAnnulusSection::boundary() const {
  const double inner = std::min(1.0, scale_), outer = std::max(1.0, scale_);
  if (sweep_ >= kTurn) return lcRingBoundary(unitCircle(), inner, outer);
  const double lo = std::min(start_, end_), hi = lo + sweep_;
  const lc2XformLinear out = lcScaledEllipse(unitCircle(), outer);
  const lc2XformLinear in = lcScaledEllipse(unitCircle(), inner);
  const lcBoundaryPiece outerArc = lcBoundaryPiece::arc(out, lo, hi);
  const lcBoundaryPiece innerArc = lcBoundaryPiece::arc(in, hi, lo);
  lcContour contour{outerArc.pointAt(0), {outerArc}, true};
  contour.pieces.push_back(lcBoundaryPiece::segment(outerArc.pointAt(1), innerArc.pointAt(0)));
  if (inner > 0.0) contour.pieces.push_back(innerArc);
  contour.pieces.push_back(lcBoundaryPiece::segment(innerArc.pointAt(1), outerArc.pointAt(0)));
  return {{contour}};
}
