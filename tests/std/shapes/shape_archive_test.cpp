#include <gtest/gtest.h>

#include "std/math/math_errors.h"
#include "std/shapes/affine_rectangle.h"
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
}

}  // namespace
