#pragma once
// An ellipse, given by the linear transform E that maps the unit circle onto it, so any
// linear map of an ellipse (or a circle) is again exactly an ellipse: T * E. It holds
// its whole boundary. Archived source "ellipse2".

#include "std/shapes/span_shape.h"

// Centre, radii and rotation: E = translation(centre) * rotation * diag(rx, ry).
struct lcEllipseAxes {
  lc2Vector centre;
  double radiusX = 1.0;
  double radiusY = 1.0;
  double rotation = 0.0;
};

// E from centre, radii and rotation.
LC_CORE_API lc2XformLinear lcEllipseFromAxes(const lcEllipseAxes& axes);
// The axes of E: radiusX >= radiusY >= 0, rotation in [-pi/2, pi/2) the direction of
// the longer one.
LC_CORE_API lcEllipseAxes lcAxesOfEllipse(const lc2XformLinear& unitCircle);

class LC_VISIBLE lcEllipse2 final : public lcSpanShape {
 public:
  // The unit circle.
  lcEllipse2() : lcEllipse2(lc2XformLinear()) {}
  explicit lcEllipse2(const lc2XformLinear& unitCircle) : lcSpanShape(true), rows_(unitCircle) {}
  explicit lcEllipse2(const lcEllipseAxes& axes) : lcEllipse2(lcEllipseFromAxes(axes)) {}

  const lc2XformLinear& unitCircle() const { return rows_.unitCircle; }
  const lc2Vector& centre() const { return unitCircle().translation(); }
  lcEllipseAxes axes() const { return lcAxesOfEllipse(unitCircle()); }

  // E's matrix is not singular.
  bool isNonDegenerate() const override { return rows_.valid; }
  bool isRightHanded() const override { return unitCircle().matrix().det() >= 0.0; }
  // E with its second column negated.
  lcShapeHandle reversed() const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  // The rows with rowSpans inlined into the loop: the common regions encode fastest.
  void pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                 lcPixelRowSink& sink) const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcEllipse2& l, const lcEllipse2& r) {
    return l.unitCircle() == r.unitCircle();
  }
  // Version, base part, E (translation, then matrix).
  void archive(lcArchive& archive) override;

 protected:
  lcBoundary boundary() const override;
  void rowSpans(double y, lcRealSpans& spans) const override { rows_.add(y, 1.0, spans); }
  lcExtent extent() const override { return rows_.box(1.0); }

 private:
  lcEllipseRows rows_;
};
