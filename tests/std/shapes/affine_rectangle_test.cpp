#include "std/shapes/affine_rectangle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <utility>

#include "std/math/math_errors.h"
#include "test_util.h"

namespace {

constexpr double pi = std::numbers::pi;

void expectNear(const lc2Vector& actual, const lc2Vector& expected, double tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
}

TEST(AffineRectangle, MappedByARotationEachCornerGoesWhereTheRotationTakesIt) {
  const lc2Vector origin{2, 1}, cornerY{1, 4}, cornerX{5, 2}, opposite{4, 5};
  const lcAffineRectangle rect(origin, cornerY, cornerX);
  const double c = std::cos(pi / 6), s = std::sin(pi / 6);
  for (const lc2XformLinear& rotation : {lc2XformLinear(lc2Matrix(0, -1, 1, 0), {3, -1}),
                                         lc2XformLinear(lc2Matrix(c, -s, s, c), {0.5, 7})}) {
    const auto mapped = lcHandleCast<lcAffineRectangle>(rect.map(rotation));
    ASSERT_TRUE(mapped);
    expectNear(mapped->corner0(), rotation.mapPoint(origin), 1e-13);
    expectNear(mapped->cornerX(), rotation.mapPoint(cornerX), 1e-13);
    expectNear(mapped->cornerY(), rotation.mapPoint(cornerY), 1e-13);
    expectNear(mapped->oppositeCorner(), rotation.mapPoint(opposite), 1e-13);
  }
  EXPECT_TRUE(rect.map(lc2XformLinear())->isEqual(rect));
  EXPECT_FALSE(rect.map(lc2XformLinear({}, {0, 1e-9}))->isEqual(rect));
  // The same unit square, but another class.
  EXPECT_FALSE(lcAffineRectangle().isEqual(lcRect(0, 0, 1, 1)));
}

TEST(AffineRectangle, BuiltFromItsCentreItGivesBackSidesAnglesAndCorners) {
  // A quarter turn: side X (4 long) points down the y axis, side Y (2 long) to the left.
  const lcAffineRectangle turned({10, 20}, 4, 2, pi / 2, 0);
  expectNear(turned.corner0(), {11, 18}, 1e-14);
  expectNear(turned.oppositeCorner(), {9, 22}, 1e-14);
  const lcAffineRectangle skewed({-3, 8}, 3, 0.5, 3.0, -1.569);
  EXPECT_NEAR(skewed.sideYLength(), 0.5, 1e-14);
  EXPECT_NEAR(skewed.skew(), -1.569, 1e-12);
  expectNear(skewed.centre(), {-3, 8}, 1e-14);
}

TEST(AffineRectangle, RefusesSidesThatAreNotPositiveAndSkewsNearAQuarterTurn) {
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr uint32_t kLength = lcAffineRectangle::BadLength::kCode;
  constexpr uint32_t kSkew = lcAffineRectangle::BadSkew::kCode;
  static_assert(std::is_base_of_v<lcShapesError::Errors, lcAffineRectangle::BadSkew>);
  struct Case {
    double sideX, sideY, skew;
    uint32_t code;
  };
  for (const Case& c : {Case{1, 1, 1.5700, kSkew}, Case{1, 1, -1.5700 - 2 * pi, kSkew},
                        Case{1, 1, 1.5690, 0}, Case{1, 1, -1.5720, 0}, Case{0, 1, 0, kLength},
                        Case{1, -2, 0, kLength}, Case{nan, 1, 0, kLength}})
    EXPECT_EQ(thrownCode([&] { lcAffineRectangle({}, c.sideX, c.sideY, 0, c.skew); }), c.code)
        << c.sideX << " " << c.sideY << " " << c.skew;
}

TEST(AffineRectangle, FromASingularTransformItExistsButHasNoSidesOrAngles) {
  const lcAffineRectangle flat(lc2XformLinear(lc2Matrix(0, 2, 0, 3), {1, 1}));  // side X is 0
  EXPECT_TRUE(flat.isNonDegenerate());
  EXPECT_EQ(flat.oppositeCorner(), (lc2Vector{3, 4}));
  for (auto derived : {&lcAffineRectangle::sideXLength, &lcAffineRectangle::sideYLength,
                       &lcAffineRectangle::rotation, &lcAffineRectangle::skew})
    EXPECT_THROW((flat.*derived)(), lcMathError::Singular);
  EXPECT_FALSE(lcAffineRectangle(lc2XformLinear(lc2Matrix(0, 0, 0, 0), {})).isNonDegenerate());
}

// Both rectangle classes hold their lower edges and leave out their upper ones.
TEST(AffineRectangle, ContainsAndBoxesLikeAnAxisAlignedRectangle) {
  const lcRect axisAligned(1, 1, 2, 3);
  const auto affine =
      lcHandleCast<lcAffineRectangle>(axisAligned.map({lc2Matrix(0, -1, 1, 0), {}}));
  ASSERT_TRUE(affine);  // turned a quarter: x in (-4, -1], y in [1, 3)
  EXPECT_EQ(affine->boundingBox(), lcRect(-4, 1, 3, 2));
  // Scaled by positive factors it stays axis-aligned.
  EXPECT_TRUE(axisAligned.map({lc2Matrix(2, 0, 0, 0.5), {9, 0}})->isEqual(lcRect(11, 0.5, 4, 1.5)));
  const std::pair<lc2Vector, bool> cases[] = {
      {{1, 1}, true}, {{2.9, 3.9}, true}, {{3, 2}, false}, {{2, 4}, false}, {{0.9, 2}, false}};
  for (const auto& [p, inside] : cases) {
    EXPECT_EQ(axisAligned.contains(p), inside) << p.x << ", " << p.y;
    EXPECT_EQ(affine->contains({-p.y, p.x}), inside) << p.x << ", " << p.y;
  }
}

}  // namespace
