#pragma once
// A 2x2 matrix, row-major [a b; c d], with its determinant. Every operation that
// writes the elements recomputes the determinant, so it always belongs to them.

#include "std/export.h"
#include "std/math/vector.h"

class lcArchive;

class LC_VISIBLE lc2Matrix {
 public:
  // The identity.
  lc2Matrix() = default;
  lc2Matrix(double a, double b, double c, double d)
      : a_(a), b_(b), c_(c), d_(d), det_(a * d - b * c) {}

  double a() const { return a_; }
  double b() const { return b_; }
  double c() const { return c_; }
  double d() const { return d_; }
  double det() const { return det_; }

  // Singular when the determinant is exactly 0 or not a number; there is no tolerance.
  bool isSingular() const;

  lc2Vector operator*(const lc2Vector& v) const {
    return {a_ * v.x + b_ * v.y, c_ * v.x + d_ * v.y};
  }
  lc2Matrix operator*(const lc2Matrix& m) const;
  // lcMathError::Singular for a singular matrix.
  lc2Matrix inverse() const;

  // The direction of angle `theta` after mapping, as an angle (not normalised).
  double mapAngle(double theta) const;

  // Decomposition; each throws lcMathError::Singular for a singular matrix.
  // Lengths of the images of the unit x and unit y vectors.
  double xScale() const;
  double yScale() const;
  // Angles of the images of the unit x and unit y axes: atan2(c, a) and atan2(-b, d).
  double xRotation() const;
  double yRotation() const;
  // yRotation - xRotation, normalised to [-pi, pi).
  double skew() const;

  // Equal when the four elements are; the determinant is not compared.
  bool operator==(const lc2Matrix& other) const {
    return a_ == other.a_ && b_ == other.b_ && c_ == other.c_ && d_ == other.d_;
  }

  // Its own version (source "matrix"), then a, b, c, d and the determinant. The
  // determinant read back is not trusted: it is recomputed from the elements.
  void archive(lcArchive& archive);

 private:
  void requireRegular() const;

  double a_ = 1.0;
  double b_ = 0.0;
  double c_ = 0.0;
  double d_ = 1.0;
  double det_ = 1.0;
};
