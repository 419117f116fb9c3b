#include "std/math/xform_linear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "std/math/angle.h"
#include "std/math/math_errors.h"

namespace {

constexpr double pi = std::numbers::pi;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

const lc2XformLinear kSamples[] = {
    {lc2Matrix(2, 0.5, -1, 3), {5, -7}},
    {lc2Matrix(0, 1, -1, 0), {0.25, 1e6}},
    {lc2Matrix(-1e-3, 4e3, 2.5, 1e-7), {-3, 0}},
    {lc2Matrix(1e-150, 0, 0, 1e-150), {1, 2}},  // a tiny determinant is still regular
};

bool detBelongsToElements(const lc2Matrix& m) {
  return m.det() == m.a() * m.d() - m.b() * m.c();
}

TEST(Xform2Linear, IdentityComposedWithAnyTransformGivesItExactly) {
  for (const lc2XformLinear& t : kSamples) {
    EXPECT_EQ(lc2XformLinear() * t, t);
    EXPECT_EQ(t * lc2XformLinear(), t);
  }
}

TEST(Xform2Linear, MapsPointsAndVectorsAndComposesRightOperandFirst) {
  const lc2XformLinear scale(lc2Matrix(2, 0, 0, 3), {1, 1});
  const lc2XformLinear shear(lc2Matrix(1, 1, 0, 1), {0, -2});
  const lc2Vector p{5, 7};
  EXPECT_EQ(scale.mapPoint(p), (lc2Vector{11, 22}));
  EXPECT_EQ(scale.mapVector(p), (lc2Vector{10, 21}));
  EXPECT_EQ((scale * shear).mapPoint(p), (lc2Vector{25, 16}));  // shear gives (12, 5)
  EXPECT_EQ((shear * scale).mapPoint(p), (lc2Vector{33, 20}));  // scale gives (11, 22)
  EXPECT_TRUE(detBelongsToElements((scale * shear).matrix()));
}

TEST(Xform2Linear, InverseUndoesTheTransformWithinRounding) {
  for (const lc2XformLinear& t : kSamples) {
    const lc2XformLinear inverse = t.inverse();
    EXPECT_TRUE(detBelongsToElements(inverse.matrix()));
    for (const lc2XformLinear& product : {t * inverse, inverse * t}) {
      const lc2Matrix& m = product.matrix();
      EXPECT_NEAR(m.a(), 1, 1e-12);
      EXPECT_NEAR(m.b(), 0, 1e-12);
      EXPECT_NEAR(m.c(), 0, 1e-12);
      EXPECT_NEAR(m.d(), 1, 1e-12);
      EXPECT_NEAR(product.translation().x, 0, 1e-9);
      EXPECT_NEAR(product.translation().y, 0, 1e-9);
    }
  }
}

TEST(Xform2Linear, SingularMatricesRefuseInverseAndDecompositionButStillMap) {
  for (const lc2Matrix& m :
       {lc2Matrix(0, 0, 0, 0), lc2Matrix(1, 2, 2, 4), lc2Matrix(nan, 0, 0, 1)}) {
    EXPECT_TRUE(m.isSingular());
    EXPECT_THROW(lc2XformLinear(m, {}).inverse(), lcMathError::Singular);
    for (auto part : {&lc2Matrix::xScale, &lc2Matrix::yScale, &lc2Matrix::xRotation,
                      &lc2Matrix::yRotation, &lc2Matrix::skew})
      EXPECT_THROW((m.*part)(), lcMathError::Singular);
  }
  EXPECT_EQ(lc2XformLinear(lc2Matrix(0, 0, 0, 0), {3, 4}).mapPoint({5, 6}), (lc2Vector{3, 4}));
}

TEST(Xform2Linear, EqualityComparesTheSixValuesOnly) {
  // inf * 0 makes the determinant NaN, which equals nothing; the matrices are still equal.
  const lc2Matrix m(inf, 0, 0, 0);
  EXPECT_TRUE(std::isnan(m.det()));
  EXPECT_EQ(lc2XformLinear(m, {1, 2}), lc2XformLinear(m, {1, 2}));
  EXPECT_NE(lc2XformLinear(m, {1, 2}), lc2XformLinear(m, {1, 3}));
  EXPECT_NE(lc2XformLinear(lc2Matrix(1, 0, 0, 2), {}), lc2XformLinear(lc2Matrix(1, 0, 0, 3), {}));
}

TEST(Xform2Linear, DecomposesIntoScalesRotationsAndSkew) {
  struct Case {
    double xScale, yScale, xRotation, yRotation, skew;
  };
  for (const Case c :
       {Case{2, 3, 0.5, 0.7, 0.2}, Case{1, 0.25, -2, 1, 3}, Case{4, 4, 3, -3, -6 + 2 * pi}}) {
    // The images of the unit x and y vectors, from the parts the matrix is made of.
    const lc2Matrix m(c.xScale * std::cos(c.xRotation), -c.yScale * std::sin(c.yRotation),
                      c.xScale * std::sin(c.xRotation), c.yScale * std::cos(c.yRotation));
    EXPECT_NEAR(m.xScale(), c.xScale, 1e-12);
    EXPECT_NEAR(m.yScale(), c.yScale, 1e-12);
    EXPECT_NEAR(m.xRotation(), c.xRotation, 1e-12);
    EXPECT_NEAR(m.yRotation(), c.yRotation, 1e-12);
    EXPECT_NEAR(m.skew(), c.skew, 1e-12);
  }
}

TEST(Xform2Linear, MapsAnglesByTheMatrix) {
  const double phi = 0.3;
  const lc2Matrix rotation(std::cos(phi), -std::sin(phi), std::sin(phi), std::cos(phi));
  const lc2Matrix mirror(-1, 0, 0, 1);
  for (double theta : {0.0, 1.0, -2.5, 3.0}) {
    EXPECT_NEAR(lcNormalizeAngle(rotation.mapAngle(theta) - (theta + phi)), 0, 1e-12);
    EXPECT_NEAR(lcNormalizeAngle(mirror.mapAngle(theta) - (pi - theta)), 0, 1e-12);
  }
}

TEST(Angle, NormalisesIntoMinusPiToPi) {
  struct Case {
    double theta, expected, tolerance;
  };
  const double turns = 2 * pi * 1e6;
  for (const Case c : {Case{3 * pi / 2, -pi / 2, 1e-15}, Case{pi, -pi, 0}, Case{-pi, -pi, 0},
                       Case{0.5, 0.5, 0}, Case{-3.0, -3.0, 0}, Case{turns + 0.5, 0.5, 1e-8},
                       Case{-turns - 0.5, -0.5, 1e-8}, Case{-3 * pi / 2, pi / 2, 1e-15}}) {
    const double r = lcNormalizeAngle(c.theta);
    EXPECT_NEAR(r, c.expected, c.tolerance) << c.theta;
    EXPECT_TRUE(r >= -pi && r < pi) << c.theta;
  }
}

}  // namespace
