#pragma once
// A parallelogram given by its one defining value, the unit-square transform U: the
// rectangle is the image of [0, 1] x [0, 1] under U. Its corners are U(0, 0) (the
// origin corner), U(1, 0) (corner X), U(0, 1) (corner Y) and U(1, 1) (the opposite
// corner). Archived source "affrect".
//
// The derived values are worked out once, whenever U is set, and each is marked in a
// cache-valid word. Nothing is filled later, so readers sharing a rectangle between
// threads never write to it. Side lengths and angles come from the decomposition of
// U's matrix; for a singular matrix they are left unmarked, and asking for them runs
// the decomposition again, which throws lcMathError::Singular.

#include <array>
#include <cstdint>

#include "std/shapes/rect.h"
#include "std/shapes/shape_errors.h"

class LC_VISIBLE lcAffineRectangle final : public lcShape {
 public:
  // Its errors belong to the shapes group.
  using Errors = lcShapesError::Errors;
  LC_ERROR(lcAffineRectangle, BadLength, 0x10002a07);
  LC_ERROR(lcAffineRectangle, BadSkew, 0x10002a08);

  // The unit square.
  lcAffineRectangle() { fill(); }
  // Any U, a singular one included.
  explicit lcAffineRectangle(const lc2XformLinear& unitSquare) : unitSquare_(unitSquare) { fill(); }
  // The parallelogram with these three corners.
  lcAffineRectangle(const lc2Vector& origin, const lc2Vector& cornerY, const lc2Vector& cornerX);
  // Side X runs at `rotation` from the x axis, side Y at rotation + skew from the y
  // axis. Both lengths must be > 0 (BadLength); a skew within 0.001 of a quarter turn
  // either way is refused (BadSkew).
  lcAffineRectangle(const lc2Vector& centre, double sideXLength, double sideYLength,
                    double rotation, double skew);

  const lc2XformLinear& unitSquare() const { return unitSquare_; }
  const lc2Vector& corner0() const { return corners_[0]; }
  const lc2Vector& cornerX() const { return corners_[1]; }
  const lc2Vector& cornerY() const { return corners_[2]; }
  const lc2Vector& oppositeCorner() const { return corners_[3]; }
  const lc2Vector& centre() const { return centre_; }
  // Each throws lcMathError::Singular when U's matrix is singular.
  double sideXLength() const;
  double sideYLength() const;
  double rotation() const;
  double yRotation() const;
  // yRotation() - rotation(), normalised to [-pi, pi).
  double skew() const;

  // False only when all four elements of U's matrix are 0.
  bool isNonDegenerate() const override;
  bool isPolygonal() const override { return true; }
  // det(U) >= 0.
  bool isRightHanded() const override;
  lcRect boundingBox() const override;
  // The points whose unit-square coordinates (u, v) lie in [0, 1) x [0, 1); a
  // singular U holds none.
  bool contains(const lc2Vector& point) const override;
  void pixelSpans(int32_t row, int32_t x0, int32_t x1,
                  std::vector<lcPixelSpan>& spans) const override;
  // The rectangle of xform * U, so every corner maps as the transform maps it.
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  // U with its sides swapped: corner X and corner Y trade places.
  lcShapeHandle reversed() const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  // Equal when the six values of U are.
  friend bool operator==(const lcAffineRectangle& l, const lcAffineRectangle& r) {
    return l.unitSquare_ == r.unitSquare_;
  }

  // Version, base part, then U (translation, then matrix).
  void archive(lcArchive& archive) override;

 protected:
  // The sides corner 0 to corner X, to the opposite corner, to corner Y, to corner 0.
  lcBoundary boundary() const override;

 private:
  // The cache-valid bits, one per derived value.
  enum CacheBit : uint32_t {
    kCorner0 = 1,
    kCornerX = 2,
    kCornerY = 4,
    kOppositeCorner = 8,
    kCentre = 16,
    kSideXLength = 32,
    kSideYLength = 64,
    kRotation = 128,
    kYRotation = 256,
  };
  static constexpr uint32_t kCornersAndCentre =
      kCorner0 | kCornerX | kCornerY | kOppositeCorner | kCentre;
  static constexpr uint32_t kDecomposition = kSideXLength | kSideYLength | kRotation | kYRotation;

  // Works out every derived value of U that exists.
  void fill();
  bool isCached(CacheBit bit) const { return (cacheValid_ & bit) != 0; }

  lc2XformLinear unitSquare_;
  std::array<lc2Vector, 4> corners_;
  lc2Vector centre_;
  double sideXLength_ = 0.0;
  double sideYLength_ = 0.0;
  double rotation_ = 0.0;
  double yRotation_ = 0.0;
  uint32_t cacheValid_ = 0;
};
