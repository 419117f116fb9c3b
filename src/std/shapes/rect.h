#pragma once
// An axis-aligned rectangle: origin corner (x, y) and size (width, height). It is the
// type of every bounding box. It holds the points x <= px < x + width and
// y <= py < y + height, so a rectangle with a size <= 0 holds none. Archived source
// "rect".

#include "std/shapes/shape.h"

class LC_VISIBLE lcRect final : public lcShape {
 public:
  // The empty rectangle at the origin.
  lcRect() = default;
  lcRect(double x, double y, double width, double height)
      : x_(x), y_(y), width_(width), height_(height) {}

  double x() const { return x_; }
  double y() const { return y_; }
  double width() const { return width_; }
  double height() const { return height_; }
  // The map of the unit square onto this rectangle.
  lc2XformLinear unitSquare() const;

  // False only when both width and height are 0.
  bool isNonDegenerate() const override;
  bool isPolygonal() const override { return true; }
  // width * height >= 0.
  bool isRightHanded() const override;
  lcRect boundingBox() const override { return *this; }
  bool contains(const lc2Vector& point) const override;
  // An lcRect when `xform` only scales by positive factors and translates; otherwise
  // the lcAffineRectangle of xform * unitSquare().
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  // The lcAffineRectangle of unitSquare() with its sides swapped.
  lcShapeHandle reversed() const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  void pixelSpans(int32_t row, int32_t x0, int32_t x1,
                  std::vector<lcPixelSpan>& spans) const override;
  friend bool operator==(const lcRect& l, const lcRect& r) {
    return l.x_ == r.x_ && l.y_ == r.y_ && l.width_ == r.width_ && l.height_ == r.height_;
  }

  // Version, base part, then x, y, width and height.
  void archive(lcArchive& archive) override;

 protected:
  // The corners from the origin along x first.
  lcBoundary boundary() const override;

 private:
  double x_ = 0.0;
  double y_ = 0.0;
  double width_ = 0.0;
  double height_ = 0.0;
};
