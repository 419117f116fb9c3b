#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "std/math/xform_linear_object.h"
#include "std/pelbuf/pel_3plane.h"
#include "std/pelbuf/pel_drivers.h"
#include "std/pelbuf/pel_range16.h"
#include "std/pelbuf/pel_xform.h"
#include "test_util.h"

namespace {

const lc2XformCache kXform(lcMakeXform(lc2XformLinear(lc2Matrix(0.5, 0.25, -1, 2), {3, -8})));

// A width x height buffer at the given offset whose pixel (x, y) (buffer coordinates)
// holds x + 10 * y.
template <class T>
lcPelBuffer<T> numbered(int32_t width, int32_t height, int32_t offsetX, int32_t offsetY) {
  lcPelBuffer<T> buffer;
  buffer.allocate(width, height, offsetX, offsetY, 1);
  for (int32_t y = offsetY; y < offsetY + height; ++y)
    for (int32_t x = offsetX; x < offsetX + width; ++x)
      *buffer.pelAddress(x, y) = static_cast<T>(x + 10 * y);
  buffer.setXform(kXform);
  return buffer;
}

template <class T>
class PelDrivers : public ::testing::Test {};
using PelTypes = ::testing::Types<uint8_t, int8_t, uint16_t, int16_t, uint32_t, int32_t, double>;
TYPED_TEST_SUITE(PelDrivers, PelTypes);

TYPED_TEST(PelDrivers, AnUnboundDestinationIsMadeLikeTheSourceAndFilledRowByRow) {
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
    EXPECT_EQ(rows[static_cast<std::size_t>(y - 3)], src.rowAddress(y));
    for (int32_t x = 3; x < 8; ++x)
      EXPECT_EQ(*dst.pelAddress(x, y), static_cast<T>(x + 10 * y + 1));
  }
}

TYPED_TEST(PelDrivers, TheBinaryDriverWorksOverTheCommonWindow) {
  using T = TypeParam;
  const lcPelBuffer<T> a = numbered<T>(6, 5, 0, 0);
  const lcPelBuffer<T> b = numbered<T>(4, 7, 3, 2);
  lcPelBuffer<T> dst;
  lcMapPels(a, b, dst, [](T x, T y) { return static_cast<T>(x - y + 1); });
  ASSERT_EQ(dst.bufferRect(), (lcPelRect{3, 2, 6, 5}));
  for (int32_t y = 2; y < 5; ++y)
    for (int32_t x = 3; x < 6; ++x)
      EXPECT_EQ(*dst.pelAddress(x, y), T(1));
}

TEST(PelDrivers, EmptyOrDisjointSourcesDoNothing) {
  lcPelBuffer<uint8_t> src = numbered<uint8_t>(4, 4, 0, 0);
  src.setWindow(4, 0, 0, 4);
  lcPelBuffer<uint8_t> dst;
  int calls = 0;
  auto count = [&](auto&&...) { ++calls; };
  lcForEachRow(src, dst, count);
  lcForEachRow(numbered<uint8_t>(2, 2, 0, 0), numbered<uint8_t>(2, 2, 2, 0), dst, count);
  EXPECT_EQ(calls, 0);
  EXPECT_FALSE(dst.isBound());
  EXPECT_THROW(lcForEachRow(lcPelBuffer<uint8_t>(), dst, count), lcPel::UnboundWindow);
}

TEST(PelDrivers, ABoundDestinationIsWrittenAtTheSourcesBufferCoordinates) {
  const lcPelBuffer<uint8_t> src = numbered<uint8_t>(3, 2, 4, 4);
  lcPelBuffer<uint8_t> dst = numbered<uint8_t>(8, 8, 0, 0);
  lcMapPels(src, dst, [](uint8_t v) { return static_cast<uint8_t>(v + 100); });
  EXPECT_EQ(*dst.pelAddress(6, 5), 6 + 50 + 100);
  EXPECT_EQ(*dst.pelAddress(7, 5), 7 + 50);  // outside src: untouched
  lcPelBuffer<uint8_t> small = numbered<uint8_t>(2, 2, 4, 4);
  EXPECT_THROW(lcMapPels(src, small, [](uint8_t v) { return v; }), lcPel::BadWindow);
}

TEST(PelDrivers, OnlyPartialOverlapOnOneRootIsRefused) {
  const lcPelBuffer<uint8_t> whole = numbered<uint8_t>(8, 4, 0, 0);
  for (const auto& [srcX, dstX, refused] :
       {std::tuple{0, 0, false}, {0, 4, false}, {0, 2, true}, {2, 0, true}}) {
    lcPelBuffer<uint8_t> src = whole, dst = whole;
    src.setRootWindow(srcX, 0, 4, 4, false);
    dst.setRootWindow(dstX, 0, 4, 4, false);
    dst.setOffset(src.offsetX(), src.offsetY());  // dst covers src's rect
    auto run = [&] { lcMapPels(src, dst, [](uint8_t v) { return v; }); };
    EXPECT_EQ(thrownCode(run), refused ? lcPelFunc::Overlap::kCode : 0u) << srcX << "," << dstX;
  }
  lcPelBuffer<uint8_t> inPlace = whole;
  lcMapPels(inPlace, inPlace, [](uint8_t v) { return static_cast<uint8_t>(2 * v); });
  EXPECT_EQ(*whole.pelAddress(3, 2), 2 * 23);
}

TEST(PelBuffer, IntersectingWindowsCutsBothToTheirCommonPixels) {
  lcPelBuffer<uint8_t> a = numbered<uint8_t>(5, 5, 0, 0), b = numbered<uint8_t>(5, 5, 3, -2);
  lcIntersectWindows(a, b);
  EXPECT_EQ(a.bufferRect(), (lcPelRect{3, 0, 5, 3}));
  EXPECT_EQ(b.bufferRect(), a.bufferRect());
  lcPelBuffer<uint8_t> far = numbered<uint8_t>(2, 2, 9, 9);
  EXPECT_THROW(lcIntersectWindows(a, far), lcPel::DisjointWindows);
  EXPECT_EQ(a.bufferRect(), (lcPelRect{3, 0, 5, 3}));
}

TEST(PelXform, DerivedTransformsKeepEachPixelCentresClientPosition) {
  // A 5 x 3 window at offset (2, 1); each case gives the source pixel of destination
  // pixel (x, y) and M, the map from destination to source buffer coordinates.
  const int32_t W = 5, H = 3, ox = 2, oy = 1;
  struct Case {
    const char* name;
    std::pair<int32_t, int32_t> (*source)(int32_t, int32_t);
    lc2XformLinear m;
    int32_t width, height;
  };
  for (const Case& c : {
           Case{"mirror",
                [](int32_t x, int32_t y) {
                  return std::pair{2 * ox + W - 1 - x, y};
                },
                lc2XformLinear(lc2Matrix(-1, 0, 0, 1), {2.0 * ox + W, 0}), W, H},
           Case{"transpose",
                [](int32_t x, int32_t y) {
                  return std::pair{y, x};
                },
                lc2XformLinear(lc2Matrix(0, 1, 1, 0), {}), H, W},
       }) {
    const lc2XformCache derived = lcDerivedXform(kXform, c.m);
    const int32_t dx0 = c.width == W ? ox : oy, dy0 = c.width == W ? oy : ox;
    for (int32_t y = dy0; y < dy0 + c.height; ++y) {
      for (int32_t x = dx0; x < dx0 + c.width; ++x) {
        const auto [sx, sy] = c.source(x, y);
        const lc2Vector here = derived.inverse()->mapPoint({x + 0.5, y + 0.5});
        const lc2Vector there = kXform.inverse()->mapPoint({sx + 0.5, sy + 0.5});
        EXPECT_NEAR(here.x, there.x, 1e-12) << c.name << " " << x << "," << y;
        EXPECT_NEAR(here.y, there.y, 1e-12) << c.name << " " << x << "," << y;
      }
    }
  }
}

TEST(Pel3Plane, JoiningKeepsPlaneZerosViewAndRefusesPlanesThatDiffer) {
  lcPelBuffer<uint8_t> planes[3];
  for (lcPelBuffer<uint8_t>& plane : planes) {
    plane = numbered<uint8_t>(6, 4, 1, 1);
    plane.setWindow(1, 1, 3, 2);
  }
  planes[1].setOffset(40, 40);  // only plane 0's offset counts
  const lc3PlanePelBuffer joined = lc3PlanePelBuffer::join(planes[0], planes[1], planes[2]);
  EXPECT_EQ(joined.colorSpace(), 1);
  for (int n = 0; n < 3; ++n) {
    const lcPelBuffer<uint8_t> plane = joined.plane(n);
    EXPECT_EQ(plane.bufferRect(), planes[0].bufferRect());
    EXPECT_EQ(plane.linearXform(), kXform.linear());
    EXPECT_EQ(plane.firstPelAddress(), planes[n].firstPelAddress());
  }
  EXPECT_THROW(joined.plane(3), lcPelFunc::BadParams);

  lcPelBuffer<uint8_t> moved = planes[2], larger = numbered<uint8_t>(7, 4, 1, 1);
  moved.setRootWindow(0, 0, 3, 2, false);
  larger.setRootWindow(1, 1, 3, 2, false);
  EXPECT_THROW(lc3PlanePelBuffer::join(planes[0], planes[1], moved), lcPel::BadWindow);
  EXPECT_THROW(lc3PlanePelBuffer::join(planes[0], larger, planes[2]), lcPel::BadWindow);
  EXPECT_THROW(lc3PlanePelBuffer::join(planes[0], {}, planes[2]), lcPel::UnboundWindow);
}

TEST(PelRange16, PixelsAndMaskMustShareTheirWindowAndStayTogether) {
  const lcPelBuffer<uint16_t> pels = numbered<uint16_t>(4, 4, 2, 2);
  lcPelBuffer<uint8_t> mask = numbered<uint8_t>(4, 4, 2, 2);
  lcPelBufferRange16 range(pels, mask);
  range.setWindow(1, 1, 2, 2);
  EXPECT_EQ(range.mask().bufferRect(), range.pels().bufferRect());
  EXPECT_THROW(range.setWindow(2, 0, 3, 1), lcPel::BadWindow);
  EXPECT_EQ(range.mask().bufferRect(), (lcPelRect{3, 3, 5, 5}));
  EXPECT_THROW(range.setRange({9, 8}), lcPelFunc::Range);
  mask.setOffset(3, 2);
  EXPECT_THROW(lcPelBufferRange16(pels, mask), lcPelBufferRange16Defs::MaskWindowMismatch);
}

}  // namespace
