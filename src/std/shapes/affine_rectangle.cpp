#include "std/shapes/affine_rectangle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/math/angle.h"
#include "std/shapes/boundary.h"
#include "std/shapes/convex_row.h"
#include "std/shapes/shape_values.h"

namespace {

constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered =
    lcRegisterArchivable<lcAffineRectangle>("lcAffineRectangle");

// How close to a quarter turn a skew may come: nearer, the sides are all but parallel.
constexpr double kSkewTolerance = 0.001;

lc2XformLinear fromCorners(const lc2Vector& origin, const lc2Vector& cornerY,
                           const lc2Vector& cornerX) {
  const lc2Vector sideX = cornerX - origin, sideY = cornerY - origin;
  return lc2XformLinear(lc2Matrix(sideX.x, sideY.x, sideX.y, sideY.y), origin);
}

lc2XformLinear fromCentre(const lc2Vector& centre, double sideX, double sideY, double rotation,
                          double skew) {
  // Negated so that NaN fails too.
  if (!(sideX > 0.0) || !(sideY > 0.0))
    throw lcAffineRectangle::BadLength(L"side lengths must be greater than 0");
  if (std::abs(lcNormalizeAngle(std::abs(skew) - std::numbers::pi / 2)) <= kSkewTolerance)
    throw lcAffineRectangle::BadSkew(L"a skew this close to a quarter turn collapses the sides");
  const double yRotation = rotation + skew;
  const lc2Matrix matrix(sideX * std::cos(rotation), -sideY * std::sin(yRotation),
                         sideX * std::sin(rotation), sideY * std::cos(yRotation));
  return lc2XformLinear(matrix, centre - matrix * lc2Vector{0.5, 0.5});
}

}  // namespace

lcAffineRectangle::lcAffineRectangle(const lc2Vector& origin, const lc2Vector& cornerY,
                                     const lc2Vector& cornerX)
    : lcAffineRectangle(fromCorners(origin, cornerY, cornerX)) {}

lcAffineRectangle::lcAffineRectangle(const lc2Vector& centre, double sideXLength,
                                     double sideYLength, double rotation, double skew)
    : lcAffineRectangle(fromCentre(centre, sideXLength, sideYLength, rotation, skew)) {}

void lcAffineRectangle::fill() {
  const lc2XformLinear& u = unitSquare_;
  corners_ = {u.mapPoint({0, 0}), u.mapPoint({1, 0}), u.mapPoint({0, 1}), u.mapPoint({1, 1})};
  centre_ = u.mapPoint({0.5, 0.5});
  cacheValid_ = kCornersAndCentre;
  const lc2Matrix& m = u.matrix();
  if (m.isSingular()) return;
  sideXLength_ = m.xScale();
  sideYLength_ = m.yScale();
  rotation_ = m.xRotation();
  yRotation_ = m.yRotation();
  cacheValid_ |= kDecomposition;
}

double lcAffineRectangle::sideXLength() const {
  return isCached(kSideXLength) ? sideXLength_ : unitSquare_.matrix().xScale();
}

double lcAffineRectangle::sideYLength() const {
  return isCached(kSideYLength) ? sideYLength_ : unitSquare_.matrix().yScale();
}

double lcAffineRectangle::rotation() const {
  return isCached(kRotation) ? rotation_ : unitSquare_.matrix().xRotation();
}

double lcAffineRectangle::yRotation() const {
  return isCached(kYRotation) ? yRotation_ : unitSquare_.matrix().yRotation();
}

double lcAffineRectangle::skew() const {
  return lcNormalizeAngle(yRotation() - rotation());
}

bool lcAffineRectangle::isNonDegenerate() const {
  const lc2Matrix& m = unitSquare_.matrix();
  return !(m.a() == 0.0 && m.b() == 0.0 && m.c() == 0.0 && m.d() == 0.0);
}

lcRect lcAffineRectangle::boundingBox() const {
  const auto [left, right] =
      std::minmax({corners_[0].x, corners_[1].x, corners_[2].x, corners_[3].x});
  const auto [top, bottom] =
      std::minmax({corners_[0].y, corners_[1].y, corners_[2].y, corners_[3].y});
  return lcRect(left, top, right - left, bottom - top);
}

bool lcAffineRectangle::contains(const lc2Vector& point) const {
  const lc2Matrix& m = unitSquare_.matrix();
  if (m.isSingular()) return false;
  // Cramer's rule rather than the inverse matrix, whose rounded elements could move a
  // far edge off 1: for an axis-aligned U, u is (h * rx) / (w * h), exactly 1 there.
  const lc2Vector r = point - unitSquare_.translation();
  const double u = (m.d() * r.x - m.b() * r.y) / m.det();
  const double v = (m.a() * r.y - m.c() * r.x) / m.det();
  return 0.0 <= u && u < 1.0 && 0.0 <= v && v < 1.0;
}

namespace {

// The x interval of a row on which the affine function slope * x + at0 lies in [0, 1].
void narrowToUnit(double slope, double at0, double& lo, double& hi) {
  if (slope == 0.0) {
    if (!(0.0 <= at0 && at0 <= 1.0)) lo = 1.0, hi = 0.0;
    return;
  }
  const double a = -at0 / slope, b = (1.0 - at0) / slope;
  lo = std::max(lo, std::min(a, b));
  hi = std::min(hi, std::max(a, b));
}

}  // namespace

void lcAffineRectangle::pixelSpans(int32_t row, int32_t x0, int32_t x1,
                                   std::vector<lcPixelSpan>& spans) const {
  const lc2Matrix& m = unitSquare_.matrix();
  if (m.isSingular()) return;
  const double y = lcPixelCentre(row);
  const double ry = y - unitSquare_.translation().y, tx = unitSquare_.translation().x;
  // u and v as affine functions of x along the row: the approximate run.
  double lo = -HUGE_VAL, hi = HUGE_VAL;
  narrowToUnit(m.d() / m.det(), (-m.d() * tx - m.b() * ry) / m.det(), lo, hi);
  narrowToUnit(-m.c() / m.det(), (m.a() * ry + m.c() * tx) / m.det(), lo, hi);
  lcConvexRowSpan(
      lo, hi, x0, x1,
      [&](int64_t c) {
        return contains({lcPixelCentre(c), y});
      },
      spans);
}

lcShapeHandle lcAffineRectangle::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcAffineRectangle>(xform * unitSquare_);
}

void lcAffineRectangle::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "affrect", __LINE__);
  lcShape::archive(archive);
  // lc2XformLinear reads into copies, so a failed load leaves U as it was.
  unitSquare_.archive(archive);
  if (archive.isLoading()) fill();
}

bool lcAffineRectangle::isRightHanded() const {
  return unitSquare_.matrix().det() >= 0.0;
}

lcShapeHandle lcAffineRectangle::reversed() const {
  return lcMakeHandle<lcAffineRectangle>(lcSwapSides(unitSquare_));
}

lcBoundary lcAffineRectangle::boundary() const {
  return {{lcPolygonContour({corner0(), cornerX(), oppositeCorner(), cornerY()}, true)}};
}
