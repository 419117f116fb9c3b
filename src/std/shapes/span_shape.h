#pragma once
// The base of region shapes that decide contains() from the spans of a horizontal line
// (see row_spans.h): contains, pixel spans and pixel window all come from rowSpans, cut
// to the bounding box, so the pixels, the window and contains() agree exactly.
//
// Closed shapes (the circle family) hold their whole boundary: spans are [lo, hi] and
// the window takes in centres on the bounding box's far edges. Half-open shapes hold
// their lower edges and not their upper ones, as lcRect does.

#include <algorithm>
#include <array>
#include <cmath>

#include "std/shapes/rect.h"
#include "std/shapes/row_spans.h"
#include "std/shapes/shape_errors.h"

// The edges of a bounding box as the shape works them out, before any rounding of a
// width or height.
struct lcExtent {
  double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
};

class LC_VISIBLE lcSpanShape : public lcShape {
 public:
  // The box of extent(): origin (left, top), size (right - left, bottom - top).
  lcRect boundingBox() const final;
  bool contains(const lc2Vector& point) const override;
  lcPelRect pixelWindow() const override;
  void pixelSpans(int32_t row, int32_t x0, int32_t x1,
                  std::vector<lcPixelSpan>& spans) const override;
  // The same spans row after row, with the extent worked out once.
  void pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                 lcPixelRowSink& sink) const override;

 protected:
  explicit lcSpanShape(bool closed) : closed_(closed) {}
  lcSpanShape(const lcSpanShape&) = default;
  lcSpanShape& operator=(const lcSpanShape&) = default;

  // The spans of the line at height y, left to right, before the cut to the extent.
  virtual void rowSpans(double y, lcRealSpans& spans) const = 0;
  virtual lcExtent extent() const = 0;

  // pixelRows for a shape with at most one span a line, which `stretch(y, lo, hi)` gives
  // (false: none): the same columns as spanRows, with nothing but the span in between.
  template <class Stretch>
  void stretchRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1, lcPixelRowSink& sink,
                   Stretch&& stretch) const {
    const lcExtent box = extent();
    // Rows a block at a time, their spans first: without a call in between, the square
    // roots and roundings of neighbouring rows overlap.
    constexpr int64_t kBlock = 64;
    std::array<lcPixelSpan, kBlock> spans;
    for (int64_t first = y0; first < y1; first += kBlock) {
      const int64_t count = std::min(kBlock, y1 - first);
      for (int64_t i = 0; i < count; ++i) {
        const double y = lcPixelCentre(first + i);
        double lo = NAN, hi = NAN;
        if (!(inRows(y, box) && stretch(y, lo, hi))) lo = NAN;
        lo = std::max(lo, box.left), hi = std::min(hi, box.right);
        const int64_t begin = std::max<int64_t>(lcFirstColumnFrom(lo), x0);
        const int64_t end = std::min<int64_t>(lcLastColumnTo(hi, closed_) + 1, x1);
        spans[i] = lo <= hi && begin < end
                       ? lcPixelSpan{static_cast<int32_t>(begin), static_cast<int32_t>(end)}
                       : lcPixelSpan{};
      }
      for (int64_t i = 0; i < count; ++i)
        sink.row(static_cast<int32_t>(first + i),
                 {&spans[i], spans[i].begin < spans[i].end ? 1u : 0u});
    }
  }

  // pixelRows with `spansOfRow(y, spans)` giving the spans of a line.
  template <class SpansOfRow>
  void spanRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1, lcPixelRowSink& sink,
                SpansOfRow&& spansOfRow) const {
    const lcExtent box = extent();
    std::array<lcPixelSpan, 4> columns;
    for (int32_t row = y0; row < y1; ++row) {
      const double y = lcPixelCentre(row);
      lcRealSpans spans;
      if (inRows(y, box)) spansOfRow(y, spans);
      const size_t count = lcColumnSpans(cutToBox(spans, box), closed_, x0, x1, columns.data());
      sink.row(row, {columns.data(), count});
    }
  }

 private:
  bool inRows(double y, const lcExtent& box) const {
    return box.top <= y && (closed_ ? y <= box.bottom : y < box.bottom);
  }
  static lcRealSpans cutToBox(const lcRealSpans& spans, const lcExtent& box) {
    lcRealSpans cut;
    for (const lcRealSpan& s : spans)
      cut.add(std::max(s.lo, box.left), std::min(s.hi, box.right));
    return cut;
  }
  // rowSpans cut to `box`; none when y lies outside it.
  lcRealSpans boxedSpans(double y, const lcExtent& box) const;

  bool closed_;
};

// The pixels whose centres lie in the box, closed ([left, right] covers columns
// ceil(left - 0.5) to floor(right - 0.5)) or half-open (the lcPixelAlignedBox rule),
// held within the 32-bit range.
LC_CORE_API lcPelRect lcPixelAlignedExtent(const lcExtent& box, bool closed);

// Spans common to `a` and `b`.
LC_CORE_API lcRealSpans lcIntersectSpans(const lcRealSpans& a, const lcRealSpans& b);

// The stretch [cx + lo, cx + hi] of the line at dy from the centre of the ellipse
// {c + M q : |q| <= scale}, given M's inverse; nothing when the line misses it.
struct LC_VISIBLE lcEllipseRows {
  lcEllipseRows() = default;
  explicit lcEllipseRows(const lc2XformLinear& unitCircle);
  void add(double y, double scale, lcRealSpans& spans) const;
  // The stretch [lo, hi] of the line at y inside the ellipse at `scale`; false when the
  // line misses it.
  bool stretch(double y, double scale, double& lo, double& hi) const {
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
  // The same with the stretch inside the ellipse at `inner` left out (its ends kept).
  void addRing(double y, double inner, double outer, lcRealSpans& spans) const;
  // The bounding box of the ellipse at `scale`.
  lcExtent box(double scale) const;

  lc2XformLinear unitCircle;
  double a = 0.0, b = 0.0, detInverse = 0.0;  // |q|^2 = a dx^2 + 2 b dx dy + ... ; det(M^-1)
  double i00 = 0.0, i01 = 0.0, i10 = 0.0, i11 = 0.0;
  bool valid = false;  // M is not singular
};
