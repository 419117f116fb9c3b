#include "std/shapes/span_shape.h"

#include <algorithm>
#include <cmath>

lcRect lcSpanShape::boundingBox() const {
  const lcExtent e = extent();
  return lcRect(e.left, e.top, e.right - e.left, e.bottom - e.top);
}

lcRealSpans lcSpanShape::boxedSpans(double y, const lcExtent& box) const {
  lcRealSpans spans;
  if (inRows(y, box)) rowSpans(y, spans);
  return cutToBox(spans, box);
}

bool lcSpanShape::contains(const lc2Vector& point) const {
  return lcSpansContain(boxedSpans(point.y, extent()), point.x, closed_);
}

lcPelRect lcSpanShape::pixelWindow() const {
  return lcPixelAlignedExtent(extent(), closed_);
}

void lcSpanShape::pixelSpans(int32_t row, int32_t x0, int32_t x1,
                             std::vector<lcPixelSpan>& spans) const {
  lcAppendPixelSpans(boxedSpans(lcPixelCentre(row), extent()), closed_, x0, x1, spans);
}

void lcSpanShape::pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                            lcPixelRowSink& sink) const {
  spanRows(y0, y1, x0, x1, sink, [this](double y, lcRealSpans& spans) { rowSpans(y, spans); });
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
