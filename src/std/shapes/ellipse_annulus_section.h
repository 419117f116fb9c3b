#pragma once
// A section of an elliptical ring: the base ellipse E (the map of the unit circle), a
// second boundary that is E scaled by `secondScale` about its centre, and the angular
// span from the start to the end angle, measured in E's own frame (the angle of
// E^-1(p - centre)). It holds its whole boundary. A span of a full turn or more is the
// whole ring; a span of 0 holds nothing.
//
// The polar unwrap walks it by normalised coordinates (u, v) in [0, 1]: pointAt.
// Archived source "ellannsection".

#include "std/shapes/span_shape.h"

class lcEllipseAnnulusSection;

// The same section with E in axes form (lcEllipseFromAxes of its axes), the angles
// carried over into the new frame, so that it holds the same points and pointAt gives
// the same points (to rounding). A singular E is kept as it is.
LC_CORE_API lcEllipseAnnulusSection lcInAxesForm(const lcEllipseAnnulusSection& section);

class LC_VISIBLE lcEllipseAnnulusSection final : public lcSpanShape {
 public:
  // The unit circle ring out to radius 2, over a full turn.
  lcEllipseAnnulusSection();
  // secondScale >= 0 and finite (lcShapesError::BadRadius); finite angles
  // (lcShapesError::BadParams).
  lcEllipseAnnulusSection(const lc2XformLinear& unitCircle, double secondScale, double startAngle,
                          double endAngle, bool angleFromStart = true, bool radialFromBase = true);

  const lc2XformLinear& unitCircle() const { return rows_.unitCircle; }
  double secondScale() const { return scale_; }
  double startAngle() const { return start_; }
  double endAngle() const { return end_; }
  // True: u grows from the start angle; false: from the end angle.
  bool angleFromStart() const { return angleFromStart_; }
  // True: v grows from the base ellipse; false: from the second boundary.
  bool radialFromBase() const { return radialFromBase_; }
  // The base ellipse's radius along its first axis (the length of E's first column),
  // and the second boundary's along the same axis.
  double firstRadius() const;
  double secondRadius() const { return scale_ * firstRadius(); }
  // The point at normalised coordinates (u, v).
  lc2Vector pointAt(double u, double v) const;

  bool isNonDegenerate() const override;
  bool isRightHanded() const override { return unitCircle().matrix().det() >= 0.0; }
  // E with its second column negated, the angles negated and swapped and the angle
  // direction flipped: the same points, and pointAt gives the same points.
  lcShapeHandle reversed() const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcEllipseAnnulusSection& l, const lcEllipseAnnulusSection& r) {
    return l.unitCircle() == r.unitCircle() && l.scale_ == r.scale_ && l.start_ == r.start_ &&
           l.end_ == r.end_ && l.angleFromStart_ == r.angleFromStart_ &&
           l.radialFromBase_ == r.radialFromBase_;
  }
  // Version, base part, E, second scale, start and end angle, the two flags (a byte
  // each).
  void archive(lcArchive& archive) override;

 protected:
  // Outer arc, radial side, inner arc back, radial side; a full turn is two rings.
  lcBoundary boundary() const override;
  void rowSpans(double y, lcRealSpans& spans) const override;
  lcExtent extent() const override;

 private:
  // The half-plane alpha * dx + gamma * dy >= 0 of a boundary ray.
  struct HalfPlane {
    double alpha = 0.0, gamma = 0.0;
  };
  void prepare();
  void addHalfLine(const HalfPlane& h, double dy, lcRealSpans& spans) const;

  lcEllipseRows rows_;
  double scale_ = 2.0;
  double start_ = 0.0;
  double end_ = 0.0;
  bool angleFromStart_ = true;
  bool radialFromBase_ = true;
  // Derived: the sweep in [0, 2 pi] (2 pi for a full turn) and the boundary rays.
  double sweep_ = 0.0;
  HalfPlane fromStart_, toEnd_;
};
