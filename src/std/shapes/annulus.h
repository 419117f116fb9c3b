#pragma once
// Rings. lcAnnulus is a circular ring (centre, inner and outer radius); lcEllipseAnnulus
// the ring between the ellipse E (the map of the unit circle, as lcEllipse2) and E
// scaled by `secondScale` about its centre. Both hold both boundaries. Archived sources
// "annulus" and "ellannulus".

#include "std/shapes/span_shape.h"

class LC_VISIBLE lcAnnulus final : public lcSpanShape {
 public:
  // Radii 0.5 and 1 at the origin.
  lcAnnulus() : lcAnnulus({0, 0}, 0.5, 1.0) {}
  // 0 <= inner <= outer, else lcShapesError::BadRadius.
  lcAnnulus(const lc2Vector& centre, double innerRadius, double outerRadius);

  const lc2Vector& centre() const { return rows_.unitCircle.translation(); }
  double innerRadius() const { return inner_; }
  double outerRadius() const { return outer_; }

  bool isNonDegenerate() const override { return outer_ > inner_; }
  // Like the circle, right-handed and not reversible.
  bool isRightHanded() const override { return true; }
  // The identity gives a copy; any other transform the lcEllipseAnnulus of the outer
  // circle's map with scale inner / outer.
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcAnnulus& l, const lcAnnulus& r) {
    return l.centre() == r.centre() && l.inner_ == r.inner_ && l.outer_ == r.outer_;
  }
  // Version, base part, centre (x, y), inner radius, outer radius.
  void archive(lcArchive& archive) override;

 protected:
  // The outer boundary, then the inner one run backwards (none at radius 0).
  lcBoundary boundary() const override;
  void rowSpans(double y, lcRealSpans& spans) const override {
    rows_.addRing(y, inner_, outer_, spans);
  }
  lcExtent extent() const override { return rows_.box(outer_); }

 private:
  lcEllipseRows rows_;  // the unit circle at the centre
  double inner_ = 0.5;
  double outer_ = 1.0;
};

class LC_VISIBLE lcEllipseAnnulus final : public lcSpanShape {
 public:
  lcEllipseAnnulus() : lcEllipseAnnulus(lc2XformLinear(), 0.5) {}
  // secondScale >= 0 and finite, else lcShapesError::BadRadius.
  lcEllipseAnnulus(const lc2XformLinear& unitCircle, double secondScale);

  const lc2XformLinear& unitCircle() const { return rows_.unitCircle; }
  double secondScale() const { return scale_; }

  bool isNonDegenerate() const override { return rows_.valid && scale_ != 1.0; }
  bool isRightHanded() const override { return unitCircle().matrix().det() >= 0.0; }
  // E with its second column negated, the same scale.
  lcShapeHandle reversed() const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcEllipseAnnulus& l, const lcEllipseAnnulus& r) {
    return l.unitCircle() == r.unitCircle() && l.scale_ == r.scale_;
  }
  // Version, base part, E (translation, then matrix), second scale.
  void archive(lcArchive& archive) override;

 protected:
  // The outer boundary, then the inner one run backwards (none at radius 0).
  lcBoundary boundary() const override;
  void rowSpans(double y, lcRealSpans& spans) const override;
  lcExtent extent() const override;

 private:
  lcEllipseRows rows_;
  double scale_ = 0.5;
};
