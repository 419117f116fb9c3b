#include "std/math/matrix.h"

#include <cmath>

#include "std/archive/archive.h"
#include "std/math/angle.h"
#include "std/math/math_errors.h"

namespace {
constexpr uint32_t kVersion = 1;
}

bool lc2Matrix::isSingular() const {
  return det_ == 0.0 || std::isnan(det_);
}

void lc2Matrix::requireRegular() const {
  if (isSingular()) throw lcMathError::Singular();
}

lc2Matrix lc2Matrix::operator*(const lc2Matrix& m) const {
  return lc2Matrix(a_ * m.a_ + b_ * m.c_, a_ * m.b_ + b_ * m.d_, c_ * m.a_ + d_ * m.c_,
                   c_ * m.b_ + d_ * m.d_);
}

// (1 / det) times the adjugate: the reciprocal is taken once and multiplied in, so the
// result agrees bit for bit with every implementation of the same rule (dividing each
// element by det rounds differently).
lc2Matrix lc2Matrix::inverse() const {
  requireRegular();
  const double r = 1.0 / det_;
  return lc2Matrix(r * d_, r * -b_, r * -c_, r * a_);
}

double lc2Matrix::mapAngle(double theta) const {
  const lc2Vector direction = *this * lc2Vector{std::cos(theta), std::sin(theta)};
  return std::atan2(direction.y, direction.x);
}

double lc2Matrix::xScale() const {
  requireRegular();
  return std::sqrt(a_ * a_ + c_ * c_);
}

double lc2Matrix::yScale() const {
  requireRegular();
  return std::sqrt(b_ * b_ + d_ * d_);
}

double lc2Matrix::xRotation() const {
  requireRegular();
  return std::atan2(c_, a_);
}

double lc2Matrix::yRotation() const {
  requireRegular();
  return std::atan2(-b_, d_);
}

double lc2Matrix::skew() const {
  return lcNormalizeAngle(yRotation() - xRotation());
}

void lc2Matrix::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "matrix", __LINE__);
  double values[5] = {a_, b_, c_, d_, det_};
  for (double& value : values)
    archive.transfer(value);
  if (archive.isLoading()) *this = lc2Matrix(values[0], values[1], values[2], values[3]);
}
