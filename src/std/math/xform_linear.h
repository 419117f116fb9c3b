#pragma once
// A plane affine map as a value: p -> matrix * p + translation. Its seven doubles lie
// in the order tx, ty, a, b, c, d, det. Composition T1 * T2 applies T2 first. The
// shareable transform object that holds one is lc2XformLinearObject.

#include "std/export.h"
#include "std/math/matrix.h"
#include "std/math/vector.h"

class lcArchive;

class LC_VISIBLE lc2XformLinear {
 public:
  // The identity.
  lc2XformLinear() = default;
  lc2XformLinear(const lc2Matrix& matrix, const lc2Vector& translation)
      : translation_(translation), matrix_(matrix) {}

  const lc2Vector& translation() const { return translation_; }
  const lc2Matrix& matrix() const { return matrix_; }

  lc2Vector mapPoint(const lc2Vector& point) const { return matrix_ * point + translation_; }
  lc2Vector mapVector(const lc2Vector& vector) const { return matrix_ * vector; }
  double mapAngle(double theta) const { return matrix_.mapAngle(theta); }

  // This map after `first`.
  lc2XformLinear operator*(const lc2XformLinear& first) const {
    return lc2XformLinear(matrix_ * first.matrix_, matrix_ * first.translation_ + translation_);
  }
  // lcMathError::Singular for a singular matrix.
  lc2XformLinear inverse() const;

  // Equal when the six defining values are; the determinant is not compared.
  friend bool operator==(const lc2XformLinear&, const lc2XformLinear&) = default;

  // The translation, then the matrix, each with its own version.
  void archive(lcArchive& archive);

 private:
  lc2Vector translation_;
  lc2Matrix matrix_;
};

static_assert(sizeof(lc2XformLinear) == 7 * sizeof(double), "tx, ty, a, b, c, d, det and no more");
