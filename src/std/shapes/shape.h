#pragma once
// The base of the plane shapes. Shapes are values shared through counted handles:
// operations that change a shape (mapping it, for one) give a handle to a new shape,
// so a shape never changes once shared and threads may read one together. Loading
// from an archive fills a new object before anyone shares it.
//
// The virtual operations keep a fixed order (destructor, seven type predicates,
// bounding box, nearest point, perimeter, ...; see the numbered comments), the grid
// operations of regions follow them. Most queries of the boundary are answered here
// once, from the boundary a class describes as straight pieces and elliptical arcs
// (boundary.h); a class overrides one only where it knows better.
//
// A class archives its version, then the base part (empty), then its own values.
//
// Regions meet the pixel grid through pixelWindow and pixelSpans: a pixel belongs to a
// region exactly when contains(its centre) is true, and the spans give those pixels a
// row at a time, at a cost per row rather than per pixel.

#include <cstddef>
#include <span>
#include <utility>
#include <vector>

#include "std/archive/persistent.h"
#include "std/math/vector.h"
#include "std/math/xform_linear.h"
#include "std/pelbuf/pel_rect.h"
#include "std/shapes/shape_visitor.h"
#include "std/util/ptr_handle.h"

class lcRect;
class lcShape;
struct lcBoundary;
using lcShapeHandle = lcPtrHandle<lcShape>;

// Columns begin to end - 1 of one row of pixels.
struct lcPixelSpan {
  int32_t begin = 0;
  int32_t end = 0;
  friend bool operator==(const lcPixelSpan&, const lcPixelSpan&) = default;
};

// Takes the pixel spans of a shape a row at a time (see lcShape::pixelRows).
class lcPixelRowSink {
 public:
  virtual void row(int32_t y, std::span<const lcPixelSpan> spans) = 0;

 protected:
  ~lcPixelRowSink() = default;
};

// What boundary sampling asks for: the largest spacing along the boundary (0 or NaN:
// no limit), the largest distance between boundary and chord (<= 0: no limit), the
// most points it may give, and whether tangent angles come with the points.
struct lcSampleParams {
  double spacing = 0.0;
  double deviation = 0.0;
  size_t maxPoints = 0;
  bool tangents = false;
};

// Points along a boundary, with their tangent angles when the list was started with
// them. A list keeps the choice it was started with: appending with the other one is
// lcShapesError::BadParams.
struct lcBoundarySamples {
  std::vector<lc2Vector> points;
  std::vector<double> tangents;
  bool withTangents = false;
};

class LC_VISIBLE lcShape : public lcRepBase, public virtual lcPersistent {
 public:
  // 1.
  ~lcShape() override = default;

  // 2 to 8, the type predicates. Regions answer false, true, true, false,
  // non-degeneracy, false, and whether their boundary is all straight.
  // A contour with two ends (segments, polylines, lines, a point).
  virtual bool isOpenContour() const { return false; }
  // A shape that holds area.
  virtual bool isRegion() const { return true; }
  // Its boundary closes on itself.
  virtual bool isClosed() const { return true; }
  // Holds no point at all.
  virtual bool isEmpty() const { return false; }
  // False only for a shape that has collapsed entirely (a rectangle whose every
  // extent is 0); a shape with NaN values is not degenerate by this test.
  virtual bool isNonDegenerate() const = 0;
  // A set of separate pieces (a set of segments).
  virtual bool isSet() const { return false; }
  // The boundary is made of straight pieces only.
  virtual bool isPolygonal() const { return false; }

  // 9. The smallest axis-aligned rectangle holding the shape.
  virtual lcRect boundingBox() const = 0;
  // 10. The point of the boundary nearest to `point`; of equally near pieces, the
  // first in boundary order.
  virtual lc2Vector nearestPoint(const lc2Vector& point) const;
  // 11. The arc length of the whole boundary.
  virtual double perimeter() const;
  // 12. The least and greatest of x cos(angle) + y sin(angle) over the shape: its
  // extent along the direction `angle`.
  virtual std::pair<float, float> extentAlong(double angle) const;

  // 13 to 18, the open-contour operations; lcShapesError::NotOpenContour for any other
  // shape. Arc lengths run from the start along the pieces in order.
  virtual lc2Vector startPoint() const;
  virtual lc2Vector endPoint() const;
  virtual size_t vertexCount() const;
  // lcShapesError::BadIndex beyond the last vertex.
  virtual lc2Vector vertex(size_t index) const;
  // lcShapesError::BadParams outside [0, perimeter()].
  virtual lc2Vector pointAtLength(double length) const;
  // The direction of travel there; lcShapesError::NoTangent on a contour of no length.
  virtual double tangentAtLength(double length) const;

  // 19. Whether the region's boundary turns anticlockwise in a y-up frame (its
  // orientation is that of the identity); lcShapesError::NotRegion for a contour.
  virtual bool isRightHanded() const;
  // 20. Whether `point` lies in the shape. Regions include their lower edges and
  // exclude their upper ones, as the pixel grid does (see lcPixelAlignedBox), save
  // the circle family, which holds its whole boundary. A contour holds no area and
  // contains no point.
  virtual bool contains(const lc2Vector& point) const = 0;
  // 21. The image of this shape under `xform`; the class may change on the way (an
  // axis-aligned rectangle turned by a rotation is an affine rectangle).
  virtual lcShapeHandle map(const lc2XformLinear& xform) const = 0;
  // 22. The same points with the boundary run the other way;
  // lcShapesError::NotReversible for a shape that has no direction to turn.
  virtual lcShapeHandle reversed() const;
  // 23. Distance from `point` to the shape: 0 inside a region, else to the nearest
  // boundary point.
  virtual double distanceTo(const lc2Vector& point) const;
  // 24. The shape moved by `offset`.
  virtual lcShapeHandle translated(const lc2Vector& offset) const;
  // 25. Whether `point` lies within `tolerance` of the shape.
  virtual bool isNear(const lc2Vector& point, double tolerance) const;
  // 26. reversed(), handed back through `result`.
  virtual void reverse(lcShapeHandle& result) const;
  // 27. Appends points along the boundary to `samples`; lcShapesError::SampleOverflow
  // when the spacing or deviation asked for needs more than params.maxPoints.
  virtual void sample(const lcSampleParams& params, lcBoundarySamples& samples) const;
  // 28. True when `other` is of this very class with exactly equal defining values.
  virtual bool isEqual(const lcShape& other) const = 0;
  // 29. Reaches without end (lines); false for every region.
  virtual bool isInfinite() const { return false; }
  // 30. A new shape equal to this one.
  virtual lcShapeHandle copy() const;
  // 31. Hands this shape, as its own class, to `visitor`.
  virtual void visit(lcShapeVisitor& visitor) const = 0;

  // The window of pixels whose centres may lie in the shape: lcPixelAlignedBox of the
  // bounding box, which leaves out centres on its far edges. Shapes that hold their
  // whole boundary (the circle family) widen it to take those centres in.
  virtual lcPelRect pixelWindow() const;
  // Appends, left to right and disjoint, the pixels of grid row `row` within columns
  // [x0, x1) whose centres the shape contains. lcShapesError::NotRegion for a shape
  // that holds no area.
  virtual void pixelSpans(int32_t row, int32_t x0, int32_t x1,
                          std::vector<lcPixelSpan>& spans) const;
  // The pixel spans of rows y0 to y1 - 1 in order, each handed to `sink` (empty rows
  // too). Shapes that can carry work from row to row (polygons) override it.
  virtual void pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                         lcPixelRowSink& sink) const;

 protected:
  lcShape() = default;
  lcShape(const lcShape&) = default;
  lcShape& operator=(const lcShape&) = default;

  // The boundary as pieces, for the queries answered here. lcShapesError::InfiniteExtent
  // for shapes without end; the base's answer is NotImplemented.
  virtual lcBoundary boundary() const;

  // isEqual for a final class T with operator==.
  template <class T>
  static bool equalAsClass(const T& self, const lcShape& other) {
    const T* same = dynamic_cast<const T*>(&other);
    return same && *same == self;
  }
};
