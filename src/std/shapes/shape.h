#pragma once
// The base of the plane shapes. Shapes are values shared through counted handles:
// operations that change a shape (mapping it, for one) give a handle to a new shape,
// so a shape never changes once shared and threads may read one together. Loading
// from an archive fills a new object before anyone shares it.
//
// The base holds what regions need; further queries (nearest boundary point,
// perimeter, boundary sampling, ...) join it as the classes that answer them arrive.
// A class archives its version, then the base part (empty), then its own values.
//
// Regions meet the pixel grid through pixelWindow and pixelSpans: a pixel belongs to a
// region exactly when contains(its centre) is true, and the spans give those pixels a
// row at a time, at a cost per row rather than per pixel.

#include <vector>

#include "std/archive/persistent.h"
#include "std/math/vector.h"
#include "std/math/xform_linear.h"
#include "std/pelbuf/pel_rect.h"
#include "std/util/ptr_handle.h"

class lcRect;
class lcShape;
using lcShapeHandle = lcPtrHandle<lcShape>;

// Columns begin to end - 1 of one row of pixels.
struct lcPixelSpan {
  int32_t begin = 0;
  int32_t end = 0;
  friend bool operator==(const lcPixelSpan&, const lcPixelSpan&) = default;
};

class LC_VISIBLE lcShape : public lcRepBase, public virtual lcPersistent {
 public:
  // False only for a shape that has collapsed entirely (a rectangle whose every
  // extent is 0); a shape with NaN values is not degenerate by this test.
  virtual bool isNonDegenerate() const = 0;
  // The smallest axis-aligned rectangle holding the shape.
  virtual lcRect boundingBox() const = 0;
  // Whether `point` lies in the shape. Regions include their lower edges and exclude
  // their upper ones, as the pixel grid does (see lcPixelAlignedBox).
  virtual bool contains(const lc2Vector& point) const = 0;
  // The image of this shape under `xform`; the class may change on the way (an
  // axis-aligned rectangle turned by a rotation is an affine rectangle).
  virtual lcShapeHandle map(const lc2XformLinear& xform) const = 0;
  // True when `other` is of this very class with exactly equal defining values.
  virtual bool isEqual(const lcShape& other) const = 0;

  // The window of pixels whose centres may lie in the shape: lcPixelAlignedBox of the
  // bounding box, which leaves out centres on its far edges. Shapes that hold their
  // whole boundary (the circle family) widen it to take those centres in.
  virtual lcPelRect pixelWindow() const;
  // Appends, left to right and disjoint, the pixels of grid row `row` within columns
  // [x0, x1) whose centres the shape contains. lcShapesError::NotRegion for a shape
  // that holds no area.
  virtual void pixelSpans(int32_t row, int32_t x0, int32_t x1,
                          std::vector<lcPixelSpan>& spans) const;

 protected:
  lcShape() = default;
  lcShape(const lcShape&) = default;
  lcShape& operator=(const lcShape&) = default;

  // isEqual for a final class T with operator==.
  template <class T>
  static bool equalAsClass(const T& self, const lcShape& other) {
    const T* same = dynamic_cast<const T*>(&other);
    return same && *same == self;
  }
};
