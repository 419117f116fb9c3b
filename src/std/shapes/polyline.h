#pragma once
// Open contours of several pieces. lcPolyline runs through its vertices in order and
// does not close. lcLineSegSet is a set of segments held through handles, so segments
// shared between sets stay shared through archiving. Archived sources "polyline" and
// "linesegset".

#include <vector>

#include "std/shapes/contour_shape.h"
#include "std/shapes/points_and_lines.h"

class LC_VISIBLE lcPolyline final : public lcContourShape {
 public:
  lcPolyline() = default;
  explicit lcPolyline(std::vector<lc2Vector> vertices) : vertices_(std::move(vertices)) {}

  const std::vector<lc2Vector>& vertices() const { return vertices_; }

  bool isEmpty() const override { return vertices_.empty(); }
  // Two vertices that differ.
  bool isNonDegenerate() const override;
  lcRect boundingBox() const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  lcShapeHandle reversed() const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcPolyline& l, const lcPolyline& r) {
    return l.vertices_ == r.vertices_;
  }
  // Version, base part, vertex count, then each vertex (x, y).
  void archive(lcArchive& archive) override;

 protected:
  lcBoundary boundary() const override;

 private:
  std::vector<lc2Vector> vertices_;
};

class LC_VISIBLE lcLineSegSet final : public lcContourShape {
 public:
  using Segments = std::vector<lcPtrHandle<lcLineSeg>>;

  lcLineSegSet() = default;
  // An empty handle is lcShapesError::BadParams.
  explicit lcLineSegSet(Segments segments);

  const Segments& segments() const { return segments_; }

  bool isEmpty() const override { return segments_.empty(); }
  bool isSet() const override { return true; }
  // One of its segments is.
  bool isNonDegenerate() const override;
  lcRect boundingBox() const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  // The segments in the opposite order, each reversed.
  lcShapeHandle reversed() const override;
  // The segments' values, in order.
  bool isEqual(const lcShape& other) const override;
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  // Version, base part, the list of segment handles (shared ones written once).
  void archive(lcArchive& archive) override;

 protected:
  // One contour per segment, in order.
  lcBoundary boundary() const override;

 private:
  Segments segments_;
};
