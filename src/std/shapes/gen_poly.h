#pragma once
// A closed polygon through its vertices (the last joins the first). Self-intersecting
// polygons hold their points by the even-odd rule. Like lcRect it holds its lower edges
// and not its upper ones: a point is inside when an odd number of edges cross its row
// at or left of it, where an edge crosses row y when one end lies above y and the other
// at or below it. Archived source "genpoly".

#include <vector>

#include "std/shapes/span_shape.h"

class LC_VISIBLE lcGenPoly final : public lcShape {
 public:
  lcGenPoly() = default;
  explicit lcGenPoly(std::vector<lc2Vector> vertices);

  const std::vector<lc2Vector>& vertices() const { return vertices_; }

  // At least three vertices and a bounding box that is not a point or a line.
  bool isNonDegenerate() const override;
  bool isPolygonal() const override { return true; }
  // The signed area (shoelace sum) is >= 0.
  bool isRightHanded() const override;
  // The vertices in the opposite order.
  lcShapeHandle reversed() const override;
  lcRect boundingBox() const override;
  bool contains(const lc2Vector& point) const override;
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcGenPoly& l, const lcGenPoly& r) {
    return l.vertices_ == r.vertices_;
  }
  lcPelRect pixelWindow() const override;
  void pixelSpans(int32_t row, int32_t x0, int32_t x1,
                  std::vector<lcPixelSpan>& spans) const override;
  // Walks the rows with an edge table sorted by first row and a list of the edges
  // crossing the current row, kept in column order by insertion: a row costs its
  // crossings, not every edge. Each crossing steps by its edge's slope and falls back
  // to the expression contains() evaluates near a pixel centre, so the pixels agree
  // with contains() exactly.
  void pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                 lcPixelRowSink& sink) const override;

  // Version, base part, vertex count, then each vertex (x, y).
  void archive(lcArchive& archive) override;

 protected:
  lcBoundary boundary() const override;

 private:
  std::vector<lc2Vector> vertices_;
  lcExtent extent_;
};
