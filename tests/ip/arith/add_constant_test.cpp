#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <tuple>

#include "ip/arith/add_constant.h"
#include "kernel_test_util.h"

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// A flat image of `pel` plus `constant`, as every twin and target computes it; wide
// enough that the vector code sees it, not only the scalar tail.
template <class T>
T added(T pel, int32_t constant, bool wrap) {
  const lcPelBuffer<T> result = expectEveryWayAgrees([&] {
    lcPelBuffer<T> dst;
    lcAddConstant(flatPels<T>(133, 2, pel), dst, {constant, wrap});
    return dst;
  });
  EXPECT_TRUE(allPelsAre(result, result.rows()[0][0]));
  return result.rows()[0][0];
}

TEST(AddConstant, ClampsOrWrapsAt8Bits) {
  // pixel, constant, bounded, wrap
  const std::tuple<uint8_t, int32_t, uint8_t, uint8_t> cases[] = {
      {250, 10, 255, 4},  {5, -10, 0, 251},  {0, 1000, 255, 232}, {200, -1000, 0, 224},
      {7, kMin, 0, 7},    {7, kMax, 255, 6}, {255, -255, 0, 0},   {0, 255, 255, 255},
      {100, 0, 100, 100}, {254, 1, 255, 255}};
  for (const auto& [pel, constant, bounded, wrap] : cases) {
    EXPECT_EQ(added(pel, constant, false), bounded) << +pel << " + " << constant;
    EXPECT_EQ(added(pel, constant, true), wrap) << +pel << " + " << constant;
  }
}

TEST(AddConstant, ClampsOrWrapsAt16Bits) {
  const std::tuple<uint16_t, int32_t, uint16_t, uint16_t> cases[] = {
      {65500, 100, 65535, 64}, {5, -10, 0, 65531},        {0, 70000, 65535, 4464},
      {7, kMin, 0, 7},         {7, kMax, 65535, 6},       {65535, -65535, 0, 0},
      {1000, -999, 1, 1},      {300, 65235, 65535, 65535}};
  for (const auto& [pel, constant, bounded, wrap] : cases) {
    EXPECT_EQ(added(pel, constant, false), bounded) << pel << " + " << constant;
    EXPECT_EQ(added(pel, constant, true), wrap) << pel << " + " << constant;
  }
}

template <class T>
class AddConstantTyped : public ::testing::Test {};
using PelTypes = ::testing::Types<uint8_t, uint16_t>;
TYPED_TEST_SUITE(AddConstantTyped, PelTypes);

TYPED_TEST(AddConstantTyped, TwinsAgreeOnRandomWindowsAndConstants) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int32_t> size(1, 150), offset(-50, 50);
  const int32_t constants[] = {0, 1, -1, 37, -200, 254, 255, -70000, 65534, 65536, kMax, kMin};
  for (int32_t constant : constants) {
    const lcPelBuffer<TypeParam> src =
        randomPels<TypeParam>(random, size(random), size(random), offset(random), offset(random));
    for (bool wrap : {false, true}) {
      const lcPelBuffer<TypeParam> result = expectEveryWayAgrees([&] {
        lcPelBuffer<TypeParam> dst;
        lcAddConstant(src, dst, {constant, wrap});
        return dst;
      });
      EXPECT_EQ(result.bufferRect(), src.bufferRect());
    }
  }
}

TYPED_TEST(AddConstantTyped, BandsStreamedStoresAndWorkingInPlaceChangeNoPixel) {
  // Over 8 MB: many bands, and the fast rows store past the caches.
  const lcPelBuffer<TypeParam> src =
      patternPels<TypeParam>(3001 / static_cast<int32_t>(sizeof(TypeParam)), 2900);
  const lcPelBuffer<TypeParam> once = expectBandsAgree([&] {
    lcPelBuffer<TypeParam> dst;
    lcAddConstant(src, dst, {-77, true});
    return dst;
  });
  lcPelBuffer<TypeParam> inPlace = patternPels<TypeParam>(src.width(), src.height()),
                         same = inPlace;
  lcAddConstant(inPlace, same, {-77, true});
  EXPECT_TRUE(samePels(inPlace, once));
}

}  // namespace
