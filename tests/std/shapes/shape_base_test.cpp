// The operations every shape answers from its boundary: predicates, nearest point,
// perimeter, sampling, reversal, visiting, and the refusals of contours and regions.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "random_shapes.h"
#include "std/rlebuf/region_encoding.h"
#include "std/shapes/polyline.h"
#include "test_util.h"

namespace {

constexpr double kPi = std::numbers::pi;

lcBoundarySamples sampled(const lcShape& shape, double spacing, double deviation, size_t most,
                          bool tangents = false) {
  lcBoundarySamples samples;
  shape.sample({spacing, deviation, most, tangents}, samples);
  return samples;
}

double distance(const lc2Vector& a, const lc2Vector& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

TEST(ShapeBase, TypePredicatesAnswerPerClass) {
  // open contour, region, closed, empty, non-degenerate, set, polygonal, infinite
  struct Case {
    lcShapeHandle shape;
    std::string answers;
  };
  const auto seg = lcMakeHandle<lcLineSeg>(lc2Vector{0, 0}, lc2Vector{1, 1});
  const Case cases[] = {
      {lcMakeHandle<lcAffineRectangle>(), "01101010"},
      {lcMakeHandle<lcCircle>(lc2Vector{1, 1}, 2), "01101000"},
      {lcMakeHandle<lcCircle>(lc2Vector{1, 1}, 0), "01100000"},
      {lcMakeHandle<lcRect>(0, 0, 2, 3), "01101010"},
      {lcMakeHandle<lcGenRect>(lc2XformLinear(), 0.2, 0.3), "01101000"},
      {lcMakeHandle<lcGenPoly>(std::vector<lc2Vector>{{0, 0}, {2, 0}, {1, 1}}), "01101010"},
      {lcMakeHandle<lc2Point>(lc2Vector{1, 2}), "10000010"},
      {seg, "10001010"},
      {lcMakeHandle<lcLine>(lc2Vector{0, 0}, 1.0), "10001011"},
      {lcMakeHandle<lcFLine>(1, 2, 3), "10001011"},
      {lcMakeHandle<lcPolyline>(std::vector<lc2Vector>{}), "10010010"},
      {lcMakeHandle<lcLineSegSet>(lcLineSegSet::Segments{seg}), "10001110"},
  };
  for (const Case& c : cases) {
    const lcShape& s = *c.shape;
    std::string got;
    for (bool b : {s.isOpenContour(), s.isRegion(), s.isClosed(), s.isEmpty(), s.isNonDegenerate(),
                   s.isSet(), s.isPolygonal(), s.isInfinite()})
      got += b ? '1' : '0';
    EXPECT_EQ(got, c.answers) << typeid(s).name();
  }
}

TEST(ShapeBase, ContoursAndRegionsRefuseEachOthersOperations) {
  const lcCircle circle({0, 0}, 1);
  for (const auto& call : std::initializer_list<std::function<void()>>{
           [&] { circle.startPoint(); }, [&] { circle.endPoint(); }, [&] { circle.vertexCount(); },
           [&] { circle.vertex(0); }, [&] { circle.pointAtLength(0); },
           [&] { circle.tangentAtLength(0); }})
    EXPECT_EQ(thrownCode(call), lcShapesError::NotOpenContour::kCode);
  const lcLineSeg seg({0, 0}, {4, 0});
  EXPECT_FALSE(seg.contains({2, 0}));
  EXPECT_EQ(thrownCode([&] { seg.isRightHanded(); }), lcShapesError::NotRegion::kCode);
  EXPECT_EQ(thrownCode([&] { lcEncodeRegion(seg, 255, 0); }), lcShapesError::NotRegion::kCode);
  EXPECT_EQ(thrownCode([&] { circle.reversed(); }), lcShapesError::NotReversible::kCode);
  const lcLine line({0, 1}, 0);
  EXPECT_EQ(thrownCode([&] { line.boundingBox(); }), lcShapesError::InfiniteExtent::kCode);
  EXPECT_EQ(thrownCode([&] { line.perimeter(); }), lcShapesError::InfiniteExtent::kCode);
  EXPECT_EQ(thrownCode([] { lcFLine(0, 0, 1); }), lcShapesError::BadCoef::kCode);
}

TEST(Circle, NearestPointPerimeterAndExtent) {
  const lcCircle circle({3, 4}, 2);
  EXPECT_EQ(circle.nearestPoint({3, 4}), (lc2Vector{5, 4}));
  const lc2Vector p = circle.nearestPoint({3 + 3, 4 + 4});
  EXPECT_NEAR(p.x, 3 + 1.2, 1e-12);
  EXPECT_NEAR(p.y, 4 + 1.6, 1e-12);
  EXPECT_DOUBLE_EQ(circle.perimeter(), 4 * kPi);
  EXPECT_DOUBLE_EQ(circle.distanceTo({3, 9}), 3);
  EXPECT_EQ(circle.distanceTo({3.5, 4}), 0);
  const auto [lo, hi] = circle.extentAlong(kPi / 2);
  EXPECT_NEAR(lo, 2, 1e-6);
  EXPECT_NEAR(hi, 6, 1e-6);
}

TEST(Circle, SamplingCountsFollowSpacingAndDeviation) {
  const lcCircle circle({0, 0}, 10);
  EXPECT_EQ(thrownCode([&] { sampled(circle, 1, 0, 62); }),
            lcShapesError::SampleOverflow::kCode);  // 62 < 20 pi
  EXPECT_EQ(sampled(circle, 1, 0, 63).points.size(), 63u);
  EXPECT_EQ(sampled(circle, 0, 0, 1).points.size(), 2u);
  EXPECT_EQ(thrownCode([&] { sampled(circle, 1e-300, 0, SIZE_MAX); }),
            lcShapesError::SampleOverflow::kCode);  // a count beyond any list
  // Deviation 0.1: half-angle acos(0.99), so ceil(pi / 0.14154) = 23 points.
  EXPECT_EQ(sampled(circle, NAN, 0.1, 23).points.size(), 23u);
  EXPECT_EQ(thrownCode([&] { sampled(circle, 0, 0.1, 22); }), lcShapesError::SampleOverflow::kCode);
  EXPECT_EQ(sampled(circle, 0, 50, 4).points.size(), 2u);  // beyond the radius: a half turn
  // Points from (r, 0) by equal angles, each with the angle plus a quarter turn.
  const lcBoundarySamples s = sampled(circle, 10 * kPi / 2, 0, 10, true);
  ASSERT_EQ(s.points.size(), 4u);
  EXPECT_EQ(s.points[0], (lc2Vector{10, 0}));
  EXPECT_NEAR(s.points[1].y, 10, 1e-12);
  EXPECT_EQ(s.tangents[0], kPi / 2);
  EXPECT_EQ(s.tangents[2], -kPi / 2);  // 3 pi / 2 normalised
  // A list keeps the choice it began with; a refused request leaves it as it was.
  lcBoundarySamples mixed = s;
  EXPECT_EQ(thrownCode([&] {
              circle.sample({1, 0, 100, false}, mixed);
            }),
            lcShapesError::BadParams::kCode);
  EXPECT_EQ(thrownCode([&] {
              circle.sample({0.01, 0, 100, true}, mixed);
            }),
            lcShapesError::SampleOverflow::kCode);
  EXPECT_EQ(mixed.points.size(), 4u);
  // No radius: the centre alone, or nothing with tangents.
  EXPECT_EQ(sampled(lcCircle({1, 2}, 0), 1, 0, 5).points, (std::vector<lc2Vector>{{1, 2}}));
  EXPECT_TRUE(sampled(lcCircle({1, 2}, -1), 1, 0, 5, true).points.empty());
}

TEST(ShapeBase, PerimetersOfKnownShapes) {
  const lc2XformLinear box(lc2Matrix(8, 0, 0, 6), {1, 1});
  struct Case {
    lcShapeHandle shape;
    double perimeter;
  };
  const Case cases[] = {
      {lcMakeHandle<lcAffineRectangle>(box), 28},
      {lcMakeHandle<lcGenRect>(box, 0, 0), 28},
      {lcMakeHandle<lcGenRect>(box, 0.25, 1 / 3.0), 12 + 4 * kPi},
      {lcMakeHandle<lcAnnulus>(lc2Vector{0, 0}, 1, 3), 8 * kPi},
      {lcMakeHandle<lcEllipseAnnulusSection>(lc2XformLinear(lc2Matrix(2, 0, 0, 2), {}), 2, 0, kPi),
       6 * kPi + 4},
      {lcMakeHandle<lcGenPoly>(std::vector<lc2Vector>{{0, 0}, {3, 0}, {3, 4}}), 12},
      {lcMakeHandle<lcPolyline>(std::vector<lc2Vector>{{0, 0}, {3, 0}, {3, 4}}), 7},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(c.shape->perimeter(), c.perimeter, 1e-9) << typeid(*c.shape).name();
  // Ramanujan's approximation is good to 1e-5 here.
  const double h = 4.0 / 64;
  EXPECT_NEAR(lcEllipse2(lcEllipseAxes{{0, 0}, 5, 3, 0.3}).perimeter(),
              kPi * 8 * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h))), 1e-5);
}

TEST(AffineRectangle, NearestPointTiesKeepTheEarlierSide) {
  // The centre of the unit square is equally near all four sides: side X wins.
  EXPECT_EQ(lcAffineRectangle().nearestPoint({0.5, 0.5}), (lc2Vector{0.5, 0}));
  EXPECT_EQ(lcAffineRectangle().nearestPoint({2, 0.5}), (lc2Vector{1, 0.5}));
}

// For random shapes and points: the nearest point lies on the sampled boundary and no
// sample is nearer.
TEST(ShapeBase, NearestPointIsTheNearestOfDenseSamples) {
  RandomShapes random(7);
  for (int i = 0; i < 300; ++i) {
    const lcShapeHandle shape = random.shape();
    if (!shape->isNonDegenerate()) continue;
    const lcBoundarySamples dense = sampled(*shape, 0.02, 0, 1 << 20);
    const lc2Vector p = random.point(), nearest = shape->nearestPoint(p);
    double nearestSample = HUGE_VAL, fromBoundary = HUGE_VAL;
    for (const lc2Vector& q : dense.points) {
      nearestSample = std::min(nearestSample, distance(p, q));
      fromBoundary = std::min(fromBoundary, distance(nearest, q));
    }
    EXPECT_LE(distance(p, nearest), nearestSample + 1e-9) << i << typeid(*shape).name();
    EXPECT_LE(fromBoundary, 0.02) << i << typeid(*shape).name();
  }
}

// Reversed shapes hold the same points with the opposite handedness, and reversing
// twice gives the shape back.
TEST(ShapeBase, ReversalKeepsThePointsAndTurnsTheHandedness) {
  RandomShapes random(11);
  for (int i = 0; i < 200; ++i) {
    const lcShapeHandle shape = random.shape();
    lcShapeHandle back;
    try {
      shape->reverse(back);
    } catch (const lcShapesError::NotReversible&) {
      EXPECT_TRUE(dynamic_cast<const lcCircle*>(shape.get()) ||
                  dynamic_cast<const lcAnnulus*>(shape.get()));
      continue;
    }
    const bool isRect = dynamic_cast<const lcRect*>(shape.get()) != nullptr;
    if (shape->isNonDegenerate() && !isRect) {
      EXPECT_NE(back->isRightHanded(), shape->isRightHanded()) << typeid(*shape).name();
    }
    for (int k = 0; k < 50; ++k) {
      const lc2Vector p{random.uniform(-5, 25), random.uniform(-5, 25)};
      ASSERT_EQ(back->contains(p), shape->contains(p)) << typeid(*shape).name();
    }
    if (!isRect) {
      EXPECT_TRUE(back->reversed()->isEqual(*shape)) << typeid(*shape).name();
    }
  }
}

TEST(OpenContours, WalkTheirVerticesByArcLength) {
  const lcPolyline path({{0, 0}, {3, 0}, {3, 4}});
  EXPECT_EQ(path.startPoint(), (lc2Vector{0, 0}));
  EXPECT_EQ(path.endPoint(), (lc2Vector{3, 4}));
  EXPECT_EQ(path.vertexCount(), 3u);
  EXPECT_EQ(path.vertex(1), (lc2Vector{3, 0}));
  EXPECT_EQ(thrownCode([&] { path.vertex(3); }), lcShapesError::BadIndex::kCode);
  EXPECT_EQ(path.pointAtLength(5), (lc2Vector{3, 2}));
  EXPECT_EQ(path.tangentAtLength(1), 0);
  EXPECT_EQ(path.tangentAtLength(6), kPi / 2);
  EXPECT_EQ(thrownCode([&] { path.pointAtLength(7.5); }), lcShapesError::BadParams::kCode);
  EXPECT_EQ(path.nearestPoint({5, 1}), (lc2Vector{3, 1}));
  EXPECT_EQ(sampled(path, 1, 0, 8).points.size(), 8u);  // 3 + 4 pieces and the end
  EXPECT_EQ(thrownCode([&] { sampled(path, 1, 0, 6); }), lcShapesError::SampleOverflow::kCode);
  EXPECT_EQ(thrownCode([] {
              lc2Point({1, 1}).tangentAtLength(0);
            }),
            lcShapesError::NoTangent::kCode);
  // Lines: nearest by projection, mapped exactly, reversed by a half turn.
  const lcFLine fline(1, -1, 0);  // y = x
  EXPECT_EQ(fline.nearestPoint({2, 0}), (lc2Vector{1, 1}));
  const lcShapeHandle moved = fline.map(lc2XformLinear(lc2Matrix(2, 0, 0, 1), {0, 3}));
  EXPECT_NEAR(moved->distanceTo({4, 5}), 0, 1e-12);
  EXPECT_NEAR(lcLine({0, 0}, 0.5).reversed()->tangentAtLength(0), 0.5 - kPi, 1e-15);
  EXPECT_EQ(thrownCode([&] { fline.map(lc2XformLinear(lc2Matrix(1, 1, 1, 1), {})); }),
            lcShapesError::DegenerateShape::kCode);
}

TEST(ShapeBase, VisitHandsOverTheShapeAsItsClass) {
  struct Names : lcShapeVisitor {
    std::string seen;
    void other(const lcShape&) override { seen += "?"; }
    void visit(const lcCircle&) override { seen += "c"; }
    void visit(const lcLineSegSet&) override { seen += "s"; }
  } names;
  lcCircle().visit(names);
  lcLineSegSet().visit(names);
  lcGenPoly().visit(names);
  EXPECT_EQ(names.seen, "cs?");
}

}  // namespace
