#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "std/shapes/annulus.h"
#include "std/shapes/circle.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/ellipse_annulus_section.h"
#include "std/shapes/gen_poly.h"
#include "std/shapes/gen_rect.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(Circle, HoldsItsBoundaryAndNothingBeyond) {
  const lcCircle circle({2.5, -1}, 5);
  for (const lc2Vector p : {lc2Vector{7.5, -1}, {-2.5, -1}, {2.5, 4}, {5.5, 3}, {-0.5, -5}})
    EXPECT_TRUE(circle.contains(p)) << p.x << ", " << p.y;
  EXPECT_FALSE(circle.contains({7.5000001, -1}));
  EXPECT_FALSE(circle.contains({5.5, 3.0000001}));
  const lcRect box = circle.boundingBox();
  EXPECT_EQ(box, lcRect(-2.5, -6, 10, 10));
  EXPECT_FALSE(lcCircle({0, 0}, std::nan("")).isNonDegenerate());
  EXPECT_FALSE(lcCircle({0, 0}, 0).isNonDegenerate());
}

TEST(Circle, MapsToItselfByTheIdentityAndToAnEllipseOtherwise) {
  const lcCircle circle({1, 2}, 3);
  EXPECT_TRUE(circle.map(lc2XformLinear())->isEqual(circle));
  const lc2XformLinear shift(lc2Matrix(1, 0, 0, 1), {1, 0});
  const lcShapeHandle moved = circle.map(shift);
  ASSERT_NE(dynamic_cast<const lcEllipse2*>(moved.get()), nullptr);
  EXPECT_TRUE(moved->contains({4.99, 2}));
  EXPECT_FALSE(moved->contains({5.01, 2}));
  EXPECT_FALSE(moved->contains({-1.5, 2}));
  // Rings follow: a circular ring becomes an elliptical one.
  const lcShapeHandle ring = lcAnnulus({0, 0}, 1, 2).map(lc2XformLinear(lc2Matrix(2, 0, 0, 1), {}));
  ASSERT_NE(dynamic_cast<const lcEllipseAnnulus*>(ring.get()), nullptr);
  EXPECT_TRUE(ring->contains({3, 0}));
  EXPECT_FALSE(ring->contains({1.5, 0}));
  EXPECT_FALSE(ring->contains({0, 1.5 + 1e-9 + 0.5}));
  EXPECT_THROW(lcAnnulus({0, 0}, 2, 1), lcShapesError::BadRadius);
}

TEST(Ellipse, AxesRoundTripThroughTheUnitCircleMap) {
  const lcEllipseAxes axes{{3, 4}, 5, 2, 0.7};
  const lcEllipseAxes back = lcAxesOfEllipse(lcEllipseFromAxes(axes));
  EXPECT_NEAR(back.radiusX, 5, 1e-12);
  EXPECT_NEAR(back.radiusY, 2, 1e-12);
  EXPECT_NEAR(back.rotation, 0.7, 1e-12);
  const lcEllipse2 ellipse(axes);
  EXPECT_TRUE(ellipse.contains({3 + 4.99 * std::cos(0.7), 4 + 4.99 * std::sin(0.7)}));
  EXPECT_FALSE(ellipse.contains({3 - 2.01 * std::sin(0.7), 4 + 2.01 * std::cos(0.7)}));
}

TEST(EllipseAnnulusSection, HoldsTheRingWithinItsAngularSpan) {
  // Radii 10 to 20 over the upper half turn, and the same span going the other way.
  const lc2XformLinear circle(lc2Matrix(10, 0, 0, 10), {0, 0});
  for (const auto& [start, end] : {std::pair{0.0, kPi}, std::pair{kPi, 0.0}}) {
    const lcEllipseAnnulusSection half(circle, 2, start, end);
    EXPECT_TRUE(half.contains({0, 15}));
    EXPECT_TRUE(half.contains({15, 0}));  // on the start ray
    EXPECT_FALSE(half.contains({20.01, 0}));
    EXPECT_FALSE(half.contains({0, -15}));
    EXPECT_FALSE(half.contains({0, 5}));
  }
  // Three quarters of a turn leaves out the fourth quadrant only.
  const lcEllipseAnnulusSection most(circle, 2, 0, 1.5 * kPi);
  EXPECT_TRUE(most.contains({-12, -1}));
  EXPECT_FALSE(most.contains({10, -10}));
  EXPECT_FALSE(lcEllipseAnnulusSection(circle, 2, 1, 1).isNonDegenerate());
  EXPECT_NEAR(most.pointAt(0, 1).x, 20, 1e-12);
  EXPECT_NEAR(most.secondRadius(), 20, 1e-12);
}

TEST(GenPoly, SelfIntersectingPolygonsFollowTheEvenOddRule) {
  // A pentagram: its centre is crossed twice on either side, so it is outside.
  std::vector<lc2Vector> star;
  for (int k = 0; k < 5; ++k) {
    const double a = kPi / 2 + k * 4 * kPi / 5;
    star.push_back({10 * std::cos(a), 10 * std::sin(a)});
  }
  const lcGenPoly pentagram(star);
  EXPECT_FALSE(pentagram.contains({0, 0}));
  EXPECT_TRUE(pentagram.contains({0, 8}));
  // Lower edges in, upper edges out, as a rectangle.
  const lcGenPoly square({{0, 0}, {4, 0}, {4, 4}, {0, 4}});
  EXPECT_TRUE(square.contains({0, 0}));
  EXPECT_FALSE(square.contains({4, 2}));
  EXPECT_FALSE(square.contains({2, 4}));
  EXPECT_FALSE(lcGenPoly({{0, 0}, {1, 1}}).isNonDegenerate());
}

TEST(GenRect, RoundsItsCornersOnly) {
  const lc2XformLinear box(lc2Matrix(10, 0, 0, 6), {0, 0});
  const lcGenRect sharp(box, 0, 0), round(box, 0.2, 2.0 / 6);
  EXPECT_TRUE(sharp.contains({0.1, 0.1}));
  EXPECT_FALSE(round.contains({0.1, 0.1}));
  EXPECT_TRUE(round.contains({5, 0}));
  EXPECT_TRUE(round.contains({0, 3}));
  EXPECT_TRUE(round.contains({10, 6 - 2}));
  EXPECT_THROW(lcGenRect(box, 0.6, 0), lcShapesError::BadParams);
  EXPECT_EQ(round.boundingBox(), lcRect(0, 0, 10, 6));
}

}  // namespace
