#include "std/math/xform_linear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "std/math/angle.h"
#include "std/math/math_errors.h"

namespace {

constexpr double pi = std::numbers::pi;

const lc2XformLinear kSamples[] = {
    {lc2Matrix(2, 0.5, -1, 3), {5, -7}},
    {lc2Matrix(0, 1, -1, 0), {0.25, 1e6}},
    {lc2Matrix(-1e-3, 4e3, 2.5, 1e-7), {-3, 0}},
    {lc2Matrix(1e-150, 0, 0, 1e-150), {1, 2}},  // a tiny determinant is still regular
};

TEST(Xform2Linear, ComposesRightOperandFirstAndWithTheIdentityExactly) {
  const lc2XformLinear scale(lc2Matrix(2, 0, 0, 3), {1, 1});
  const lc2XformLinear shear(lc2Matrix(1, 1, 0, 1), {0, -2});
  EXPECT_EQ(scale.mapPoint({5, 7}), (lc2Vector{11, 22}));
  EXPECT_EQ(scale.mapVector({5, 7}), (lc2Vector{10, 21}));
  EXPECT_EQ((scale * shear).mapPoint({5, 7}), (lc2Vector{25, 16}));  // shear gives (12, 5)
  for (const lc2XformLinear& t : kSamples) {
    EXPECT_EQ(lc2XformLinear() * t, t);
    EXPECT_EQ(t * lc2XformLinear(), t);
  }
}

TEST(Xform2Linear, InverseUndoesTheTransformWithinRounding) {
  for (const lc2XformLinear& t : kSamples) {
    const lc2Matrix inverse = t.inverse().matrix();
    // The determinant comes from the inverted elements, not from 1 / det.
    EXPECT_EQ(inverse.det(), inverse.a() * inverse.d() - inverse.b() * inverse.c());
    for (const lc2Vector& p : {lc2Vector{0, 0}, lc2Vector{3, -4e3}}) {
      const lc2Vector back = (t * t.inverse()).mapPoint(p);
      EXPECT_NEAR(back.x, p.x, 1e-9);
      EXPECT_NEAR(back.y, p.y, 1e-9);
    }
  }
}

TEST(Xform2Linear, InverseIsTheReciprocalOfTheDeterminantTimesTheAdjugate) {
  // det 10: 1/det is 0.1, and 0.1 * 3 is 0.30000000000000004, where 3 / 10 would be 0.3.
  const lc2Matrix inverse = lc2Matrix(4, 1, 2, 3).inverse();
  EXPECT_EQ(inverse.a(), 0.30000000000000004);
  EXPECT_EQ(inverse.b(), -0.1);
  EXPECT_EQ(inverse.c(), -0.2);
  EXPECT_EQ(inverse.d(), 0.4);
}

TEST(Xform2Linear, SingularMatricesRefuseInverseAndDecompositionButStillMap) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  for (const lc2Matrix& m :
       {lc2Matrix(0, 0, 0, 0), lc2Matrix(1, 2, 2, 4), lc2Matrix(nan, 0, 0, 1)}) {
    EXPECT_THROW(lc2XformLinear(m, {}).inverse(), lcMathError::Singular);
    for (auto part : {&lc2Matrix::xScale, &lc2Matrix::yScale, &lc2Matrix::xRotation,
                      &lc2Matrix::yRotation, &lc2Matrix::skew})
      EXPECT_THROW((m.*part)(), lcMathError::Singular);
  }
  EXPECT_EQ(lc2XformLinear(lc2Matrix(0, 0, 0, 0), {3, 4}).mapPoint({5, 6}), (lc2Vector{3, 4}));
}

TEST(Xform2Linear, EqualityComparesTheSixValuesOnly) {
  // inf * 0 makes the determinant NaN, which equals nothing; the values are still equal.
  const lc2Matrix m(std::numeric_limits<double>::infinity(), 0, 0, 0);
  EXPECT_EQ(lc2XformLinear(m, {1, 2}), lc2XformLinear(m, {1, 2}));
  EXPECT_NE(lc2XformLinear(m, {1, 2}), lc2XformLinear(m, {1, 3}));
}

TEST(Xform2Linear, DecomposesIntoScalesRotationsAndSkew) {
  for (const auto& [xScale, yScale, xRotation, yRotation, skew] :
       {std::tuple{2.0, 3.0, 0.5, 0.7, 0.2}, {4.0, 0.25, 3.0, -3.0, -6 + 2 * pi}}) {
    // The images of the unit x and y vectors, made from the parts.
    const lc2Matrix m(xScale * std::cos(xRotation), -yScale * std::sin(yRotation),
                      xScale * std::sin(xRotation), yScale * std::cos(yRotation));
    for (const auto& [found, expected] : {std::pair{m.xScale(), xScale},
                                          {m.yScale(), yScale},
                                          {m.xRotation(), xRotation},
                                          {m.yRotation(), yRotation},
                                          {m.skew(), skew},
                                          {m.mapAngle(0.0), xRotation}})
      EXPECT_NEAR(found, expected, 1e-12);
  }
}

TEST(Angle, NormalisesIntoMinusPiToPi) {
  const double turns = 2 * pi * 1e6;
  for (const auto& [theta, expected, tolerance] : {std::tuple{3 * pi / 2, -pi / 2, 1e-15},
                                                   {pi, -pi, 0.0},
                                                   {-pi, -pi, 0.0},
                                                   {-3.0, -3.0, 0.0},
                                                   {turns + 0.5, 0.5, 1e-8},
                                                   {-turns - 0.5, -0.5, 1e-8},
                                                   {-3 * pi / 2, pi / 2, 1e-15}}) {
    const double r = lcNormalizeAngle(theta);
    EXPECT_NEAR(r, expected, tolerance) << theta;
    EXPECT_TRUE(r >= -pi && r < pi) << theta;
  }
}

}  // namespace
