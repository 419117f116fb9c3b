#pragma once
// A point, a segment and the two forms of an endless line, as open contours.
//
// lc2Point is a contour of one vertex and no length. lcLineSeg runs from its start to
// its end. lcLine passes through a point in the direction `angle`; lcFLine is the set
// a x + b y + c = 0 and runs in the direction (-b, a). Lines reach without end: their
// bounding box, perimeter, ends and samples are lcShapesError::InfiniteExtent.
// Archived sources "point", "lineseg", "line" and "fline".

#include "std/shapes/contour_shape.h"
#include "std/shapes/rect.h"

class LC_VISIBLE lc2Point final : public lcContourShape {
 public:
  lc2Point() = default;
  explicit lc2Point(const lc2Vector& point) : point_(point) {}

  const lc2Vector& point() const { return point_; }

  // A point has collapsed entirely.
  bool isNonDegenerate() const override { return false; }
  lcRect boundingBox() const override { return lcRect(point_.x, point_.y, 0.0, 0.0); }
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  lcShapeHandle reversed() const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lc2Point& l, const lc2Point& r) { return l.point_ == r.point_; }
  // Version, base part, x, y.
  void archive(lcArchive& archive) override;

 protected:
  lcBoundary boundary() const override;

 private:
  lc2Vector point_;
};

class LC_VISIBLE lcLineSeg final : public lcContourShape {
 public:
  lcLineSeg() : lcLineSeg({0, 0}, {1, 0}) {}
  lcLineSeg(const lc2Vector& start, const lc2Vector& end) : start_(start), end_(end) {}

  const lc2Vector& start() const { return start_; }
  const lc2Vector& end() const { return end_; }

  bool isNonDegenerate() const override { return !(start_ == end_); }
  lcRect boundingBox() const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  lcShapeHandle reversed() const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcLineSeg& l, const lcLineSeg& r) {
    return l.start_ == r.start_ && l.end_ == r.end_;
  }
  // Version, base part, start (x, y), end (x, y).
  void archive(lcArchive& archive) override;

 protected:
  lcBoundary boundary() const override;

 private:
  lc2Vector start_, end_;
};

// What the two line forms share: nearest point, tangent and the refusals of an
// endless contour. A line is a point on it and a direction of travel.
class LC_VISIBLE lcEndlessLine : public lcContourShape {
 public:
  bool isInfinite() const final { return true; }
  lcRect boundingBox() const final;
  lc2Vector nearestPoint(const lc2Vector& point) const final;
  // The line's direction, wherever along it.
  double tangentAtLength(double length) const final;

 protected:
  lcEndlessLine() = default;
  lcEndlessLine(const lcEndlessLine&) = default;
  lcEndlessLine& operator=(const lcEndlessLine&) = default;
  virtual lc2Vector through() const = 0;
  virtual lc2Vector direction() const = 0;
  lcBoundary boundary() const final;
};

class LC_VISIBLE lcLine final : public lcEndlessLine {
 public:
  // The x axis.
  lcLine() = default;
  lcLine(const lc2Vector& point, double angle) : point_(point), angle_(angle) {}

  const lc2Vector& point() const { return point_; }
  double angle() const { return angle_; }

  bool isNonDegenerate() const override { return true; }
  // lcShapesError::DegenerateShape when `xform` collapses the direction.
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  lcShapeHandle reversed() const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcLine& l, const lcLine& r) {
    return l.point_ == r.point_ && l.angle_ == r.angle_;
  }
  // Version, base part, point (x, y), angle.
  void archive(lcArchive& archive) override;

 protected:
  lc2Vector through() const override { return point_; }
  lc2Vector direction() const override;

 private:
  lc2Vector point_;
  double angle_ = 0.0;
};

class LC_VISIBLE lcFLine final : public lcEndlessLine {
 public:
  // The x axis: 0 x + 1 y + 0 = 0.
  lcFLine() : lcFLine(0.0, 1.0, 0.0) {}
  // a and b finite and not both 0, c finite, else lcShapesError::BadCoef.
  lcFLine(double a, double b, double c);

  double a() const { return a_; }
  double b() const { return b_; }
  double c() const { return c_; }

  bool isNonDegenerate() const override { return true; }
  // lcShapesError::DegenerateShape for a singular `xform`.
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  // The same set with every coefficient negated.
  lcShapeHandle reversed() const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcFLine& l, const lcFLine& r) {
    return l.a_ == r.a_ && l.b_ == r.b_ && l.c_ == r.c_;
  }
  // Version, base part, a, b, c.
  void archive(lcArchive& archive) override;

 protected:
  lc2Vector through() const override;
  lc2Vector direction() const override { return {-b_, a_}; }

 private:
  double a_, b_, c_;
};
