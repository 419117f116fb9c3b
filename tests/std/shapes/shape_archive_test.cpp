#include <gtest/gtest.h>

#include "std/math/math_errors.h"
#include "std/shapes/affine_rectangle.h"
#include "std/shapes/annulus.h"
#include "std/shapes/circle.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/ellipse_annulus_section.h"
#include "std/shapes/gen_poly.h"
#include "std/shapes/gen_rect.h"
#include "std/shapes/polyline.h"
#include "test_util.h"

namespace {

using ByteOrder = lcArchive::ByteOrder;
using List = std::vector<lcShapeHandle>;

List loadList(const std::vector<uint8_t>& bytes, ByteOrder order) {
  lcMemoryArchive archive(bytes, order);
  List loaded;
  archive.transfer(loaded);
  return loaded;
}

TEST(ShapeArchive, RectanglesComeBackEqualInBothByteOrdersWithTheirDerivedValues) {
  const lcAffineRectangle turned({1, 2}, 3, 4, 0.5, -0.25);
  const List shapes{lcMakeHandle<lcRect>(1.5, -2, 3, 0.25), lcMakeHandle<lcAffineRectangle>(turned),
                    lcMakeHandle<lcAffineRectangle>(lc2XformLinear(lc2Matrix(0, 1, 0, 1), {}))};
  for (ByteOrder order : {ByteOrder::LeastSignificantFirst, ByteOrder::MostSignificantFirst}) {
    const List loaded = loadList(bytesOf(order, shapes), order);
    ASSERT_EQ(loaded.size(), shapes.size());
    for (std::size_t i = 0; i < shapes.size(); ++i)
      EXPECT_TRUE(loaded[i]->isEqual(*shapes[i])) << i;
    EXPECT_EQ(dynamic_cast<const lcAffineRectangle&>(*loaded[1]).rotation(), turned.rotation());
    EXPECT_THROW(dynamic_cast<const lcAffineRectangle&>(*loaded[2]).sideXLength(),
                 lcMathError::Singular);
  }
}

TEST(ShapeArchive, RegionShapesComeBackEqualAndShared) {
  const lc2XformLinear e(lc2Matrix(3, 1, -1, 2), {5, 6});
  const lcShapeHandle circle = lcMakeHandle<lcCircle>(lc2Vector{1, 2}, 3);
  const List shapes{circle,
                    lcMakeHandle<lcEllipse2>(e),
                    lcMakeHandle<lcAnnulus>(lc2Vector{1, 2}, 0.5, 4),
                    lcMakeHandle<lcEllipseAnnulus>(e, 1.5),
                    lcMakeHandle<lcEllipseAnnulusSection>(e, 0.25, -1, 2, false, true),
                    lcMakeHandle<lcGenRect>(e, 0.1, 0.5),
                    lcMakeHandle<lcGenPoly>(std::vector<lc2Vector>{{0, 0}, {4, 1}, {2, 3}}),
                    circle};
  const List loaded =
      loadList(bytesOf(ByteOrder::MostSignificantFirst, shapes), ByteOrder::MostSignificantFirst);
  ASSERT_EQ(loaded.size(), shapes.size());
  for (std::size_t i = 0; i < shapes.size(); ++i)
    EXPECT_TRUE(loaded[i]->isEqual(*shapes[i])) << i;
  EXPECT_EQ(loaded.front().get(), loaded.back().get());
}

TEST(ShapeArchive, OpenContoursComeBackEqualWithSharedSegmentsShared) {
  const auto seg = lcMakeHandle<lcLineSeg>(lc2Vector{1, 2}, lc2Vector{3, -4});
  const lcShapeHandle set =
      lcMakeHandle<lcLineSegSet>(lcLineSegSet::Segments{seg, lcMakeHandle<lcLineSeg>(), seg});
  const List shapes{lcMakeHandle<lc2Point>(lc2Vector{0.5, -1}),
                    seg,
                    lcMakeHandle<lcLine>(lc2Vector{1, 1}, -2.5),
                    lcMakeHandle<lcFLine>(1, 2, -3),
                    lcMakeHandle<lcPolyline>(std::vector<lc2Vector>{{0, 0}, {4, 1}}),
                    set};
  const List loaded =
      loadList(bytesOf(ByteOrder::LeastSignificantFirst, shapes), ByteOrder::LeastSignificantFirst);
  ASSERT_EQ(loaded.size(), shapes.size());
  for (std::size_t i = 0; i < shapes.size(); ++i)
    EXPECT_TRUE(loaded[i]->isEqual(*shapes[i])) << i;
  const auto& segments = dynamic_cast<const lcLineSegSet&>(*loaded[5]).segments();
  EXPECT_EQ(segments[0].get(), loaded[1].get());
  EXPECT_EQ(segments[2].get(), loaded[1].get());
  EXPECT_NE(segments[1].get(), loaded[1].get());
}

TEST(ShapeArchive, PolygonVertexCountsAreCheckedBeforeAllocating) {
  // A count of 2^31 vertices with no bytes behind it.
  EXPECT_THROW(loadList(bytesOf(1u, uint8_t{1}, std::string("lcGenPoly"), 1u, 0x80000000u),
                        ByteOrder::LeastSignificantFirst),
               lcArchive::Eof);
}

TEST(ShapeArchive, RefusesUnknownVersionsNamingTheirSource) {
  const auto refusedBy = [](const std::string& name, uint32_t version) {
    try {
      loadList(bytesOf(1u, uint8_t{1}, name, version), ByteOrder::LeastSignificantFirst);
    } catch (const lcArchive::UnknownVersion& e) {
      return e.source();
    }
    return std::string("nobody");
  };
  EXPECT_EQ(refusedBy("lcRect", 2), "rect");
  EXPECT_EQ(refusedBy("lcAffineRectangle", 2), "affrect");
  EXPECT_EQ(refusedBy("lcEllipseAnnulusSection", 2), "ellannsection");
}

}  // namespace
