#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "pel_test_util.h"
#include "std/pelbuf/pel_3plane.h"
#include "std/pelbuf/pel_drivers.h"
#include "std/pelbuf/pel_range16.h"
#include "std/pelbuf/pel_xform.h"
#include "test_util.h"

namespace {

template <class T>
class PelDrivers : public ::testing::Test {};
TYPED_TEST_SUITE(PelDrivers, lcTestPelTypes);

TYPED_TEST(PelDrivers, UnboundDestinationsAreMadeLikeTheSourceOrTheCommonWindow) {
  using T = TypeParam;
  lcPelBuffer<T> src = numbered<T>(9, 6, 2, 1);
  src.setWindow(1, 2, 5, 3);  // buffer coordinates (3, 3) to (8, 6)
  lcPelBuffer<T> dst;
  std::vector<const T*> rows;
  lcForEachRow(src, dst, [&](const T* in, T* out, int32_t width) {
    rows.push_back(in);
    for (int32_t x = 0; x < width; ++x)
      out[x] = static_cast<T>(in[x] + 1);
  });
  ASSERT_EQ(dst.bufferRect(), src.bufferRect());
  EXPECT_EQ(dst.linearXform(), src.linearXform());
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(dst.firstPelAddress()) % 32, 0u);
  for (int32_t y = 3; y < 6; ++y) {
    EXPECT_EQ(rows[static_cast<std::size_t>(y - 3)], src.rowAddress(y));  // top down
    for (int32_t x = 3; x < 8; ++x)
      EXPECT_EQ(*dst.pelAddress(x, y), static_cast<T>(numberAt<T>(x, y) + 1));
  }

  lcPelBuffer<T> difference;
  lcMapPels(numbered<T>(6, 5, 0, 0), numbered<T>(4, 7, 3, 2), difference,
            [](T a, T b) { return static_cast<T>(a - b + 1); });
  ASSERT_EQ(difference.bufferRect(), (lcPelRect{3, 2, 6, 5}));
  for (int32_t y = 2; y < 5; ++y)
    for (int32_t x = 3; x < 6; ++x)
      EXPECT_EQ(*difference.pelAddress(x, y), T(1));
}

TEST(PelDrivers, EmptyOrDisjointSourcesDoNothingAndLeaveTheDestinationUnbound) {
  lcPelBuffer<uint8_t> src = numbered<uint8_t>(4, 4, 0, 0), dst;
  src.setWindow(4, 0, 0, 4);
  auto fail = [](auto&&...) { FAIL() << "called"; };
  lcForEachRow(src, dst, fail);
  lcForEachRow(numbered<uint8_t>(2, 2, 0, 0), numbered<uint8_t>(2, 2, 2, 0), dst, fail);
  EXPECT_FALSE(dst.isBound());
  EXPECT_THROW(lcForEachRow(lcPelBuffer<uint8_t>(), dst, fail), lcPel::UnboundWindow);
}

TEST(PelDrivers, ABoundDestinationIsWrittenWhereItMeetsTheSourceUnlessThatOverlapsInPart) {
  const lcPelBuffer<uint8_t> src = numbered<uint8_t>(3, 2, 4, 4);
  lcPelBuffer<uint8_t> dst = numbered<uint8_t>(8, 8, 0, 0), small = numbered<uint8_t>(2, 2, 4, 4);
  lcMapPels(src, dst, [](uint8_t v) { return static_cast<uint8_t>(v + 100); });
  EXPECT_EQ(*dst.pelAddress(6, 5), static_cast<uint8_t>(numberAt<uint8_t>(6, 5) + 100));
  EXPECT_EQ(*dst.pelAddress(7, 5), numberAt<uint8_t>(7, 5));  // outside src: untouched
  EXPECT_THROW(lcMapPels(src, small, [](uint8_t v) { return v; }), lcPel::BadWindow);

  for (const auto& [srcX, dstX, refused] :
       {std::tuple{0, 0, false}, {0, 4, false}, {0, 2, true}, {2, 0, true}}) {
    lcPelBuffer<uint8_t> part = dst, target = dst;  // views of one 8 x 8 root
    part.setRootWindow(srcX, 0, 4, 4, false);
    target.setRootWindow(dstX, 0, 4, 4, false);
    target.setOffset(part.offsetX(), part.offsetY());  // covers part's buffer rectangle
    EXPECT_EQ(thrownCode([&] { lcMapPels(part, target, [](uint8_t v) { return v; }); }),
              refused ? lcPelFunc::Overlap::kCode : 0u)
        << srcX << "," << dstX;
  }
}

TEST(PelDrivers, OverlapIsSeenInMemoryWhateverRootsViewIt) {
  // One block of 8 x 8 bytes and one elsewhere, each root over them a view of its own, as
  // an image wrapped twice or an output made over an input's memory would be.
  alignas(8) uint8_t block[64] = {}, elsewhere[64] = {};
  auto over = [](uint8_t* memory, int32_t width, int32_t height, std::ptrdiff_t pitch) {
    return lcPelBuffer<uint8_t>(
        lcMakeHandle<lcPelRoot<uint8_t>>(width, height, pitch, memory, 1, nullptr));
  };
  const lcPelBuffer<uint8_t> image = over(block, 8, 8, 8);
  const lcPelBuffer<uint16_t> wide(
      lcMakeHandle<lcPelRoot<uint16_t>>(4, 8, 4, reinterpret_cast<uint16_t*>(block), 1, nullptr));
  lcPelBuffer<uint8_t> leftHalf = image;
  leftHalf.setRootWindow(0, 0, 4, 8, false);
  const lcPelBuffer<uint8_t> again = over(block, 8, 8, 8), rowBelow = over(block + 8, 8, 7, 8),
                             rightHalf = over(block + 4, 4, 8, 8), other = over(elsewhere, 8, 8, 8);
  const struct {
    const char* name;
    const lcPelFrame& source;
    const lcPelFrame& destination;
    bool refused;
  } cases[] = {
      {"the same pixels through another root", image, again, false},
      {"one row further", image, rowBelow, true},
      {"the left columns against the right ones", leftHalf, rightHalf, false},
      {"bytes taken as pixels of another size", leftHalf, wide, true},
      {"other memory", image, other, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(thrownCode([&] { lcCheckOverlap(c.source, c.destination); }),
              c.refused ? lcPelFunc::Overlap::kCode : 0u)
        << c.name;
}

TEST(PelBuffer, IntersectingWindowsCutsBothToTheirCommonPixelsOrNeither) {
  lcPelBuffer<uint8_t> a = numbered<uint8_t>(5, 5, 0, 0), b = numbered<uint8_t>(5, 5, 3, -2);
  lcPelBuffer<uint8_t> far = numbered<uint8_t>(2, 2, 9, 9);
  lcIntersectWindows(a, b);
  EXPECT_EQ(a.bufferRect(), (lcPelRect{3, 0, 5, 3}));
  EXPECT_EQ(b.bufferRect(), a.bufferRect());
  EXPECT_THROW(lcIntersectWindows(a, far), lcPel::DisjointWindows);
  EXPECT_EQ(a.bufferRect(), (lcPelRect{3, 0, 5, 3}));
}

TEST(PelXform, DerivedTransformsKeepEachPixelCentresClientPosition) {
  // A 5 x 3 source window at offset (2, 1). Mirrored, D(x, y) = S(2 ox + W - 1 - x, y)
  // with M: x' = -x + 2 ox + W; transposed, D(x, y) = S(y, x) with M: x' = y, y' = x.
  const lc2XformCache mirror =
      lcDerivedXform(kTestXform, lc2XformLinear(lc2Matrix(-1, 0, 0, 1), {2 * 2 + 5, 0}));
  const lc2XformCache transpose =
      lcDerivedXform(kTestXform, lc2XformLinear(lc2Matrix(0, 1, 1, 0), {}));
  auto expectSameClientPoint = [](const lc2XformCache& a, int32_t ax, int32_t ay,
                                  const lc2XformCache& b, int32_t bx, int32_t by) {
    const lc2Vector p = a.inverse()->mapPoint({ax + 0.5, ay + 0.5});
    const lc2Vector q = b.inverse()->mapPoint({bx + 0.5, by + 0.5});
    EXPECT_NEAR(p.x, q.x, 1e-12);
    EXPECT_NEAR(p.y, q.y, 1e-12);
  };
  for (int32_t y = 1; y < 4; ++y) {
    for (int32_t x = 2; x < 7; ++x) {
      expectSameClientPoint(mirror, x, y, kTestXform, 2 * 2 + 5 - 1 - x, y);
      expectSameClientPoint(transpose, y, x, kTestXform, x, y);
    }
  }
}

TEST(Pel3Plane, JoiningTakesPlaneZerosViewAndRefusesPlanesThatDiffer) {
  lcPelBuffer<uint8_t> planes[3], larger = numbered<uint8_t>(7, 4, 1, 1);
  for (lcPelBuffer<uint8_t>& plane : planes) {
    plane = numbered<uint8_t>(6, 4, 1, 1);
    plane.setWindow(1, 1, 3, 2);
  }
  planes[1].setXform(lc2XformCache(lcMakeXform(kTestXform.linear())));  // equal, not shared
  const lcPelBuffer<uint8_t> plane1 =
      lc3PlanePelBuffer::join(planes[0], planes[1], planes[2]).plane(1);
  EXPECT_EQ(plane1.bufferRect(), planes[0].bufferRect());
  EXPECT_EQ(plane1.firstPelAddress(), planes[1].firstPelAddress());

  // A plane placed elsewhere would silently take plane 0's place: refused.
  lcPelBuffer<uint8_t> moved = planes[1], turned = planes[1];
  moved.setOffset(40, 40);
  turned.setXform(lc2XformCache(lcMakeXform(lc2XformLinear(lc2Matrix(0, 1, -1, 0), {}))));
  larger.setRootWindow(1, 1, 3, 2, false);
  for (const lcPelBuffer<uint8_t>* differing : {&larger, &moved, &turned})
    EXPECT_THROW(lc3PlanePelBuffer::join(planes[0], *differing, planes[2]), lcPel::BadWindow);
  planes[2].setRootWindow(0, 0, 3, 2, false);
  EXPECT_THROW(lc3PlanePelBuffer::join(planes[0], planes[1], planes[2]), lcPel::BadWindow);
}

}  // namespace
