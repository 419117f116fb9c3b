#include "std/shapes/gen_rect.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/shapes/boundary.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lcGenRect>("lcGenRect");

lc2XformLinear scaled(const lc2XformLinear& u, double x, double y, double sx, double sy) {
  return u * lc2XformLinear(lc2Matrix(sx, 0, 0, sy), {x, y});
}

void include(lcExtent& e, const lc2Vector& p) {
  e.left = std::min(e.left, p.x), e.right = std::max(e.right, p.x);
  e.top = std::min(e.top, p.y), e.bottom = std::max(e.bottom, p.y);
}

// The stretch of the line at y inside the parallelogram U([0, 1] x [0, 1]).
bool barStretch(const lc2XformLinear& u, double y, double& lo, double& hi) {
  const lc2Matrix& m = u.matrix();
  if (m.isSingular()) return false;
  const lc2Matrix inv = m.inverse();
  const double dy = y - u.translation().y, tx = u.translation().x;
  lo = -HUGE_VAL, hi = HUGE_VAL;
  // Unit coordinate = slope * (x - tx) + at, for both coordinates.
  for (const auto& [slope, at] :
       {std::pair{inv.a(), inv.b() * dy}, std::pair{inv.c(), inv.d() * dy}}) {
    if (slope == 0.0) {
      if (!(0.0 <= at && at <= 1.0)) return false;
      continue;
    }
    const double p = tx - at / slope, q = tx + (1.0 - at) / slope;
    lo = std::max(lo, std::min(p, q)), hi = std::min(hi, std::max(p, q));
  }
  return lo <= hi;
}
}  // namespace

lcGenRect::lcGenRect(const lc2XformLinear& unitSquare, double roundX, double roundY)
    : lcSpanShape(true), unitSquare_(unitSquare), roundX_(roundX), roundY_(roundY) {
  if (!(0.0 <= roundX_ && roundX_ <= 0.5 && 0.0 <= roundY_ && roundY_ <= 0.5))
    throw lcShapesError::BadParams(L"corner roundings must lie in [0, 0.5]");
  const double rx = roundX_, ry = roundY_;
  bars_ = {scaled(unitSquare_, rx, 0, 1 - 2 * rx, 1), scaled(unitSquare_, 0, ry, 1, 1 - 2 * ry)};
  const double cx[2] = {rx, 1 - rx}, cy[2] = {ry, 1 - ry};
  for (int k = 0; k < 4; ++k)
    corners_[k] = lcEllipseRows(scaled(unitSquare_, cx[k % 2], cy[k / 2], rx, ry));
  const lc2Vector origin = unitSquare_.mapPoint({rx, 0});
  extent_ = {origin.x, origin.y, origin.x, origin.y};
  for (const lc2XformLinear& bar : bars_)
    for (const lc2Vector corner : {lc2Vector{0, 0}, {1, 0}, {0, 1}, {1, 1}})
      include(extent_, bar.mapPoint(corner));
  for (const lcEllipseRows& corner : corners_) {
    if (!corner.valid) continue;
    const lcExtent box = corner.box(1.0);
    include(extent_, {box.left, box.top});
    include(extent_, {box.right, box.bottom});
  }
}

void lcGenRect::rowSpans(double y, lcRealSpans& spans) const {
  double lo = HUGE_VAL, hi = -HUGE_VAL;
  for (const lc2XformLinear& bar : bars_) {
    double a = 0, b = 0;
    if (barStretch(bar, y, a, b)) lo = std::min(lo, a), hi = std::max(hi, b);
  }
  for (const lcEllipseRows& corner : corners_) {
    lcRealSpans piece;
    corner.add(y, 1.0, piece);
    for (const lcRealSpan& s : piece)
      lo = std::min(lo, s.lo), hi = std::max(hi, s.hi);
  }
  spans.add(lo, hi);
}

lcShapeHandle lcGenRect::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcGenRect>(xform * unitSquare_, roundX_, roundY_);
}

void lcGenRect::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "genrect", __LINE__);
  lcShape::archive(archive);
  lc2XformLinear u = unitSquare_;
  double rounds[2] = {roundX_, roundY_};
  u.archive(archive);
  for (double& r : rounds)
    archive.transfer(r);
  if (archive.isLoading()) *this = lcGenRect(u, rounds[0], rounds[1]);
}

lcShapeHandle lcGenRect::reversed() const {
  return lcMakeHandle<lcGenRect>(lcSwapSides(unitSquare_), roundY_, roundX_);
}

lcBoundary lcGenRect::boundary() const {
  // In unit-square coordinates: each side between its corners' roundings, then the
  // quarter ellipse of the next corner.
  const double rx = roundX_, ry = roundY_, pi = std::numbers::pi;
  const lc2Vector sides[4][2] = {{{rx, 0}, {1 - rx, 0}},
                                 {{1, ry}, {1, 1 - ry}},
                                 {{1 - rx, 1}, {rx, 1}},
                                 {{0, 1 - ry}, {0, ry}}};
  const lc2Vector centres[4] = {{1 - rx, ry}, {1 - rx, 1 - ry}, {rx, 1 - ry}, {rx, ry}};
  lcContour contour{unitSquare_.mapPoint(sides[0][0]), {}, true};
  for (int k = 0; k < 4; ++k) {
    const lc2Vector a = unitSquare_.mapPoint(sides[k][0]), b = unitSquare_.mapPoint(sides[k][1]);
    if (!(a == b)) contour.pieces.push_back(lcBoundaryPiece::segment(a, b));
    if (rx > 0.0 && ry > 0.0) {
      const lc2XformLinear corner = scaled(unitSquare_, centres[k].x, centres[k].y, rx, ry);
      contour.pieces.push_back(lcBoundaryPiece::arc(corner, (k - 1) * pi / 2, k * pi / 2));
    }
  }
  return {{contour}};
}
