#include "std/shapes/span_shape.h"

#include <algorithm>
#include <cmath>

namespace {

bool inRows(double y, const lcExtent& box, bool closed) {
  return box.top <= y && (closed ? y <= box.bottom : y < box.bottom);
}

}  // namespace

lcRect lcSpanShape::boundingBox() const {
  const lcExtent e = extent();
  return lcRect(e.left, e.top, e.right - e.left, e.bottom - e.top);
}

lcRealSpans lcSpanShape::boxedSpans(double y) const {
  lcRealSpans cut;
  const lcExtent box = extent();
  if (!inRows(y, box, closed_)) return cut;
  lcRealSpans spans;
  rowSpans(y, spans);
  for (const lcRealSpan& s : spans)
    cut.add(std::max(s.lo, box.left), std::min(s.hi, box.right));
  return cut;
}

bool lcSpanShape::contains(const lc2Vector& point) const {
  return lcSpansContain(boxedSpans(point.y), point.x, closed_);
}

lcPelRect lcSpanShape::pixelWindow() const {
  return lcPixelAlignedExtent(extent(), closed_);
}

void lcSpanShape::pixelSpans(int32_t row, int32_t x0, int32_t x1,
                             std::vector<lcPixelSpan>& spans) const {
  lcAppendPixelSpans(boxedSpans(lcPixelCentre(row)), closed_, x0, x1, spans);
}

lcPelRect lcPixelAlignedExtent(const lcExtent& box, bool closed) {
  if (!(box.left <= box.right && box.top <= box.bottom)) return {};  // NaN too
  const auto first = [](double edge) { return static_cast<int32_t>(lcFirstColumnFrom(edge)); };
  const auto last = [&](double edge) { return static_cast<int32_t>(lcLastColumnTo(edge, closed)); };
  const int32_t x0 = first(box.left), y0 = first(box.top);
  return {x0, y0, std::max(x0, last(box.right) + 1), std::max(y0, last(box.bottom) + 1)};
}

lcRealSpans lcIntersectSpans(const lcRealSpans& a, const lcRealSpans& b) {
  lcRealSpans out;
  for (const lcRealSpan& s : a)
    for (const lcRealSpan& t : b)
      out.add(std::max(s.lo, t.lo), std::min(s.hi, t.hi));
  return out;
}

lcEllipseRows::lcEllipseRows(const lc2XformLinear& circle) : unitCircle(circle) {
  const lc2Matrix& m = circle.matrix();
  if (m.isSingular() || !std::isfinite(m.det())) return;
  const lc2Matrix inv = m.inverse();
  i00 = inv.a(), i01 = inv.b(), i10 = inv.c(), i11 = inv.d();
  a = i00 * i00 + i10 * i10;
  b = i00 * i01 + i10 * i11;
  detInverse = inv.det();
  valid = a > 0.0 && std::isfinite(a);
}

bool lcEllipseRows::stretch(double y, double scale, double& lo, double& hi) const {
  if (!valid || !(scale >= 0.0)) return false;
  const double dy = y - unitCircle.translation().y;
  // a dx^2 + 2 b dy dx + c dy^2 <= scale^2 has the discriminant a scale^2 - det^2 dy^2.
  const double discriminant = a * scale * scale - detInverse * detInverse * dy * dy;
  if (!(discriminant >= 0.0)) return false;
  const double mid = unitCircle.translation().x - b / a * dy;
  const double half = std::sqrt(discriminant) / a;
  lo = mid - half, hi = mid + half;
  return true;
}

void lcEllipseRows::add(double y, double scale, lcRealSpans& spans) const {
  double lo = 0, hi = 0;
  if (stretch(y, scale, lo, hi)) spans.add(lo, hi);
}

void lcEllipseRows::addRing(double y, double inner, double outer, lcRealSpans& spans) const {
  double lo = 0, hi = 0, innerLo = 0, innerHi = 0;
  if (!stretch(y, outer, lo, hi)) return;
  if (!(inner > 0.0) || !stretch(y, inner, innerLo, innerHi) || innerLo >= innerHi) {
    spans.add(lo, hi);
    return;
  }
  spans.add(lo, std::min(innerLo, hi));
  spans.add(std::max(innerHi, lo), hi);
}

lcExtent lcEllipseRows::box(double scale) const {
  const lc2Matrix& m = unitCircle.matrix();
  const double ex = scale * std::hypot(m.a(), m.b()), ey = scale * std::hypot(m.c(), m.d());
  const lc2Vector& c = unitCircle.translation();
  return {c.x - ex, c.y - ey, c.x + ex, c.y + ey};
}
