#pragma once
// The base of the open contours (points, segments, polylines, lines, segment sets):
// they hold no area, so they answer the region operations as contours do. contains()
// is false for every point and no pixel is ever theirs; handedness and pixel spans
// are lcShapesError::NotRegion. Their boundary is all straight.

#include "std/shapes/shape.h"
#include "std/shapes/shape_visitor.h"

class LC_VISIBLE lcContourShape : public lcShape {
 public:
  bool isOpenContour() const final { return true; }
  bool isRegion() const final { return false; }
  bool isClosed() const final { return false; }
  bool isPolygonal() const final { return true; }
  bool contains(const lc2Vector&) const final { return false; }

 protected:
  lcContourShape() = default;
  lcContourShape(const lcContourShape&) = default;
  lcContourShape& operator=(const lcContourShape&) = default;
};
