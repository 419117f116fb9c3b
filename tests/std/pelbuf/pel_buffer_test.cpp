#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <tuple>

#include "pel_test_util.h"
#include "std/pelbuf/pel_buffer.h"
#include "test_util.h"

namespace {

template <class T>
class PelRootTyped : public ::testing::Test {};
TYPED_TEST_SUITE(PelRootTyped, lcTestPelTypes);

TYPED_TEST(PelRootTyped, RowsArePaddedToTheFewestPixelsThatMakeWholeAlignments) {
  for (int32_t alignment : {1, 2, 3, 4, 8, 12, 32, 64}) {
    for (int32_t width = 1; width <= 40; ++width) {
      auto pitch = static_cast<std::ptrdiff_t>(width);
      while (pitch * sizeof(TypeParam) % alignment != 0)
        ++pitch;
      lcPelRoot<TypeParam> root(width, 3, alignment);
      ASSERT_EQ(root.pitch(), pitch) << width << " pixels aligned to " << alignment;
      ASSERT_EQ(reinterpret_cast<std::uintptr_t>(root.base()) % alignment, 0u);
      root.base()[2 * pitch + width - 1] = TypeParam(1);  // the last pixel is ours
    }
  }
  EXPECT_EQ(lcPelRoot<uint8_t>(5, 1, 4).pitch(), 8);
  EXPECT_EQ(lcPelRoot<uint16_t>(5, 1, 4).pitch(), 6);
  EXPECT_EQ(lcPelRoot<uint16_t>(5, 1).pitch(), 16);  // kernels' default: 32 bytes
}

TEST(PelRoot, RefusesWhatBreaksItsInvariant) {
  alignas(8) static uint16_t memory[64];
  const auto odd = reinterpret_cast<uint16_t*>(reinterpret_cast<char*>(memory) + 1);
  // Height without width, pitch below width, alignment 0, no base, rows of 10 bytes
  // aligned to 4, a 16-bit pixel at an odd address.
  const std::tuple<int32_t, int32_t, int32_t, uint16_t*, int32_t> cases[] = {
      {0, 1, 0, memory, 1},  {4, 2, 3, memory, 1}, {4, 2, 4, memory, 0},
      {4, 2, 4, nullptr, 1}, {4, 2, 5, memory, 4}, {2, 2, 2, odd, 1}};
  for (const auto& [width, height, pitch, base, alignment] : cases)
    EXPECT_THROW(lcPelRoot<uint16_t>(width, height, pitch, base, alignment, nullptr),
                 lcInvariantFailure)
        << width << "x" << height << " pitch " << pitch << " alignment " << alignment;
  EXPECT_THROW(lcPelRoot<uint8_t>(3, 0), lcInvariantFailure);
  EXPECT_THROW(lcPelRoot<double>(0x7fffffff, 0x7fffffff), std::bad_alloc);  // 2^65 bytes
}

// A root that counts how many of its kind are alive.
struct CountedRoot final : lcPelRoot<uint8_t> {
  CountedRoot() : lcPelRoot(6, 4) { ++live; }
  ~CountedRoot() override { --live; }
  static inline int live = 0;
};

TEST(PelRoot, IsFreedWithTheLastBufferAndReleasesItsOwner) {
  lcPelBuffer<uint8_t> first(lcMakeHandle<CountedRoot>()), other;
  {
    lcPelBuffer<uint8_t> copy = first;
    copy.setWindow(1, 1, 2, 2);
    other = copy;
    first.bind(lcMakeHandle<CountedRoot>());
    EXPECT_EQ(CountedRoot::live, 2);
  }
  first.unbind();
  EXPECT_EQ(CountedRoot::live, 1);
  other = lcPelBuffer<uint8_t>();
  EXPECT_EQ(CountedRoot::live, 0);

  const auto owner = std::make_shared<std::vector<uint8_t>>(12);
  other.bind(lcMakeHandle<lcPelRoot<uint8_t>>(4, 3, 4, owner->data(), 1, owner));
  EXPECT_EQ(owner.use_count(), 2);
  other.unbind();
  EXPECT_EQ(owner.use_count(), 1);
}

lcPelBuffer<uint8_t> numberedBuffer() {
  return numbered<uint8_t>(10, 7, 3, -2, 4);
}

// Window and offset.
using Geometry = std::tuple<lcPelRect, int32_t, int32_t>;
Geometry geometryOf(const lcPelFrame& buffer) {
  return {buffer.window(), buffer.offsetX(), buffer.offsetY()};
}

TEST(PelBuffer, RelativeWindowsStayWithinTheCurrentOneAndFailuresChangeNothing) {
  lcPelBuffer<uint8_t> buffer = numberedBuffer();
  buffer.setWindow(2, 1, 6, 5);  // root (2, 1) to (8, 6), offset (5, -1)
  const Geometry before = geometryOf(buffer);
  const int32_t outside[][4] = {{6, 0, 1, 1}, {0, 5, 1, 1}, {-1, 0, 1, 1}, {0, -1, 1, 1},
                                {0, 0, 7, 1}, {0, 0, 1, 6}, {0, 0, -1, 1}};
  for (const auto& [x, y, w, h] : outside) {
    EXPECT_THROW(buffer.setWindow(x, y, w, h), lcPel::BadWindow) << x << "," << y;
    EXPECT_EQ(geometryOf(buffer), before);
  }
  buffer.setWindow(6, 0, 0, 5);  // width 0 at x = width
  EXPECT_TRUE(buffer.isEmpty());
  EXPECT_EQ(geometryOf(buffer), (Geometry{{8, 1, 8, 6}, 11, -1}));
  EXPECT_THROW(lcPelBuffer<uint8_t>().setWindow(0, 0, 0, 0), lcPel::BadWindow);
}

TEST(PelBuffer, RootWindowsClipOrRefuseWhatLiesOutsideTheRoot) {
  struct Case {
    int32_t x, y, w, h;
    bool clip;
    uint32_t error;
    bool clipped;
    Geometry after;
  };
  // From the whole window (0, 0, 10, 7) at offset (3, -2).
  for (const Case& c : {Case{2, 3, 4, 2, false, 0, false, {{2, 3, 6, 5}, 5, 1}},
                        Case{8, 5, 4, 4, true, 0, true, {{8, 5, 10, 7}, 11, 3}},
                        Case{-3, -1, 5, 3, true, 0, true, {{0, 0, 2, 2}, 3, -2}},
                        Case{12, 0, 3, 3, true, 0, true, {{0, 0, 0, 0}, 3, -2}},
                        Case{-9, 2, 4, 1, true, 0, true, {{0, 0, 0, 0}, 3, -2}},
                        Case{8, 5, 4, 4, false, lcPel::BadWindow::kCode, false, {}},
                        Case{1, 1, -1, 2, true, lcPel::BadWindow::kCode, false, {}}}) {
    lcPelBuffer<uint8_t> buffer = numberedBuffer();
    const Geometry before = geometryOf(buffer);
    bool clipped = false;
    EXPECT_EQ(thrownCode([&] { clipped = buffer.setRootWindow(c.x, c.y, c.w, c.h, c.clip); }),
              c.error);
    EXPECT_EQ(clipped, c.clipped);
    EXPECT_EQ(geometryOf(buffer), c.error ? before : c.after) << c.x << "," << c.y;
  }
  EXPECT_THROW(lcPelBuffer<uint8_t>().setRootWindow(0, 0, 0, 0, true), lcPel::UnboundWindow);
}

TEST(PelBuffer, AnyChainOfWindowsKeepsEachPixelsCoordinatesAndValue) {
  const lcPelBuffer<uint8_t> whole = numberedBuffer();
  std::mt19937 random(7);
  auto pick = [&](int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(random);
  };
  for (int chain = 0; chain < 300; ++chain) {
    lcPelBuffer<uint8_t> buffer = whole;
    for (int step = 0; step < 5; ++step) {
      const int32_t w = pick(0, buffer.width()), h = pick(0, buffer.height());
      const lcPelRect r = buffer.bufferRect();
      switch (pick(0, 3)) {  // relative, root, buffer-coordinate window, or the whole root
        case 0:
          buffer.setWindow(pick(0, buffer.width() - w), pick(0, buffer.height() - h), w, h);
          break;
        case 1:
          buffer.setRootWindow(pick(-4, 12), pick(-4, 9), pick(0, 8), pick(0, 8), true);
          break;
        case 2:
          buffer.setBufferWindow({r.x1 - w, r.y1 - h, r.x1, r.y1});
          break;
        default:
          buffer.bind(buffer.rootHandle());
      }
      ASSERT_TRUE(buffer.isWindowInsideRoot());
      const lcPelRect rect = buffer.bufferRect();
      if (buffer.isEmpty()) continue;
      ASSERT_TRUE(whole.bufferRect().contains(rect));
      ASSERT_EQ(buffer.firstPelAddress(), buffer.pelAddress(rect.x0, rect.y0));
      for (int32_t y = rect.y0; y < rect.y1; ++y)
        for (int32_t x = rect.x0; x < rect.x1; ++x)
          ASSERT_EQ(*buffer.pelAddress(x, y), numberAt<uint8_t>(x, y)) << x << "," << y;
    }
  }
}

TEST(PelBuffer, AccessOneStepOutsideTheWindowThrowsBadCoord) {
  lcPelBuffer<uint8_t> buffer = numberedBuffer();
  buffer.setWindow(1, 1, 3, 2);  // buffer coordinates (4, -1) to (7, 1)
  EXPECT_EQ(*buffer.rowAddress(0), numberAt<uint8_t>(4, 0));
  for (const auto& [x, y] : {std::pair{7, 0}, {3, 0}, {4, 1}, {4, -2}})
    EXPECT_THROW(buffer.pelAddress(x, y), lcPel::BadCoord) << x << "," << y;
  EXPECT_THROW(buffer.rowAddress(1), lcPel::BadCoord);
  EXPECT_THROW(lcPelBuffer<uint8_t>().firstPelAddress(), lcPel::UnboundWindow);
}

}  // namespace
