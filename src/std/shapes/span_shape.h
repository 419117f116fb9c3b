#pragma once
// The base of region shapes that decide contains() from the spans of a horizontal line
// (see row_spans.h): contains, pixel spans and pixel window all come from rowSpans, cut
// to the bounding box, so the pixels, the window and contains() agree exactly.
//
// Closed shapes (the circle family) hold their whole boundary: spans are [lo, hi] and
// the window takes in centres on the bounding box's far edges. Half-open shapes hold
// their lower edges and not their upper ones, as lcRect does.

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

 protected:
  explicit lcSpanShape(bool closed) : closed_(closed) {}
  lcSpanShape(const lcSpanShape&) = default;
  lcSpanShape& operator=(const lcSpanShape&) = default;

  // The spans of the line at height y, left to right, before the cut to the extent.
  virtual void rowSpans(double y, lcRealSpans& spans) const = 0;
  virtual lcExtent extent() const = 0;

 private:
  // rowSpans cut to the extent; none when y lies outside it.
  lcRealSpans boxedSpans(double y) const;

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
  // The same with the stretch inside the ellipse at `inner` left out (its ends kept).
  void addRing(double y, double inner, double outer, lcRealSpans& spans) const;
  // The bounding box of the ellipse at `scale`.
  lcExtent box(double scale) const;

  lc2XformLinear unitCircle;
  double a = 0.0, b = 0.0, detInverse = 0.0;  // |q|^2 = a dx^2 + 2 b dx dy + ... ; det(M^-1)
  double i00 = 0.0, i01 = 0.0, i10 = 0.0, i11 = 0.0;
  bool valid = false;  // M is not singular

 private:
  bool stretch(double y, double scale, double& lo, double& hi) const;
};
