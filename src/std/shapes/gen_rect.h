#pragma once
// A rectangle with rounded corners: the unit square under the transform U (as
// lcAffineRectangle), its corners rounded in unit-square coordinates by quarter
// ellipses of radii (roundX, roundY), each in [0, 0.5]. Rounding 0 gives the whole
// parallelogram; (0.5, 0.5) gives the ellipse inscribed in it. A rounded rectangle with
// sides w, h and corner radius r is U = diag(w, h) at its origin, roundings r / w and
// r / h. It holds its whole boundary. Archived source "genrect".

#include <array>

#include "std/shapes/span_shape.h"

class LC_VISIBLE lcGenRect final : public lcSpanShape {
 public:
  lcGenRect() : lcGenRect(lc2XformLinear(), 0.0, 0.0) {}
  // Roundings outside [0, 0.5] (or NaN) are lcShapesError::BadParams.
  lcGenRect(const lc2XformLinear& unitSquare, double roundX, double roundY);

  const lc2XformLinear& unitSquare() const { return unitSquare_; }
  double roundX() const { return roundX_; }
  double roundY() const { return roundY_; }

  bool isNonDegenerate() const override { return !unitSquare_.matrix().isSingular(); }
  bool isPolygonal() const override { return roundX_ == 0.0 || roundY_ == 0.0; }
  bool isRightHanded() const override { return unitSquare_.matrix().det() >= 0.0; }
  // U with its sides swapped, the roundings with them.
  lcShapeHandle reversed() const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcGenRect& l, const lcGenRect& r) {
    return l.unitSquare_ == r.unitSquare_ && l.roundX_ == r.roundX_ && l.roundY_ == r.roundY_;
  }
  // Version, base part, U (translation, then matrix), roundX, roundY.
  void archive(lcArchive& archive) override;

 protected:
  // Sides and corner arcs in turn, from the start of side X.
  lcBoundary boundary() const override;
  // The shape is convex and the union of two crossing bars and four corner ellipses,
  // so its stretch of a line runs from the leftmost piece's start to the rightmost
  // piece's end.
  void rowSpans(double y, lcRealSpans& spans) const override;
  lcExtent extent() const override { return extent_; }

 private:
  lc2XformLinear unitSquare_;
  double roundX_ = 0.0;
  double roundY_ = 0.0;
  std::array<lc2XformLinear, 2> bars_;  // unit squares of the two bars
  std::array<lcEllipseRows, 4> corners_;
  lcExtent extent_;
};
