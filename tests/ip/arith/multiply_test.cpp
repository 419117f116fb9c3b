#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "ip/arith/multiply_table.h"
#include "ip/arith/table_map.h"
#include "kernel_test_util.h"
#include "std/pelbuf/pel_errors.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(MultiplyTable, RoundsHalfUpThenClampsOrKeepsTheLowBits) {
  // constant, wrap, pixel, entry
  const std::tuple<double, bool, int, int> cases8[] = {
      {0.5, false, 3, 2},     {0.5, false, 1, 1},    {0.5, true, 0, 0},    {0.49, false, 1, 0},
      {2.0, false, 200, 255}, {2.0, true, 200, 144}, {0.0, false, 255, 0}, {1.0, true, 255, 255},
      {1e300, false, 1, 255}, {1e300, true, 1, 0},   {kInf, true, 200, 0}, {kInf, false, 1, 255},
      {2.5, true, 103, 2}};  // 257.5 + 0.5 -> 258 -> 2
  for (const auto& [constant, wrap, pel, entry] : cases8)
    EXPECT_EQ(lcMultiplyTable8({constant, wrap})[pel], entry)
        << pel << " * " << constant << (wrap ? " wrap" : " bounded");

  const std::tuple<double, bool, int, int> cases16[] = {
      {2.0, false, 40000, 65535}, {2.0, true, 40000, 14464}, {0.5, false, 65535, 32768},
      {3.0, true, 30000, 24464},  {1e300, true, 7, 0},       {kInf, false, 7, 65535},
      {1.0, false, 65535, 65535}, {0.7, true, 0, 0}};
  for (const auto& [constant, wrap, pel, entry] : cases16)
    EXPECT_EQ(lcMultiplyTable16({constant, wrap})[static_cast<std::size_t>(pel)], entry)
        << pel << " * " << constant << (wrap ? " wrap" : " bounded");
}

TEST(MultiplyTable, RefusesNegativeAndNaNConstants) {
  for (double constant : {-1e-300, -2.0, std::nan("")}) {
    EXPECT_THROW(lcMultiplyTable8({constant, false}), lcPelFunc::BadParams) << constant;
    EXPECT_THROW(lcMultiplyTable16({constant, true}), lcPelFunc::BadParams) << constant;
  }
}

template <class T>
class TableMapTyped : public ::testing::Test {};
using PelTypes = ::testing::Types<uint8_t, uint16_t>;
TYPED_TEST_SUITE(TableMapTyped, PelTypes);

TYPED_TEST(TableMapTyped, TwinsAgreeAndShortTablesReadAsPaddedWithZeros) {
  using T = TypeParam;
  std::mt19937 random(3);
  std::uniform_int_distribution<int32_t> size(1, 140), offset(-9, 9);
  const std::size_t full = std::size_t{1} << (8 * sizeof(T));
  for (std::size_t entries : {full, full + 5, full / 2 + 1, std::size_t{10}, std::size_t{0}}) {
    std::vector<T> table(entries);
    for (T& entry : table)
      entry = static_cast<T>(random() | 1);  // never 0, so padding shows
    const lcPelBuffer<T> src =
        randomPels<T>(random, size(random), size(random), offset(random), offset(random));
    const lcPelBuffer<T> result = expectEveryWayAgrees([&] {
      lcPelBuffer<T> dst;
      lcTableMap(src, dst, {table});
      return dst;
    });
    for (int32_t y = 0; y < src.height(); ++y)
      for (int32_t x = 0; x < src.width(); ++x) {
        const T pel = src.rows()[y][x];
        ASSERT_EQ(result.rows()[y][x], pel < entries ? table[pel] : T{0}) << entries;
      }
  }
}

TYPED_TEST(TableMapTyped, MultiplyingByOneGivesAnEqualImageAlsoInBands) {
  const auto table = [] {
    if constexpr (sizeof(TypeParam) == 1)
      return lcMultiplyTable8({1.0, false});
    else
      return lcMultiplyTable16({1.0, true});
  }();
  std::mt19937 random(8);
  const lcPelBuffer<TypeParam> small = randomPels<TypeParam>(random, 301, 203, 1, 1);
  EXPECT_TRUE(samePels(expectEveryWayAgrees([&] {
                         lcPelBuffer<TypeParam> dst;
                         lcTableMap(small, dst, {table});
                         return dst;
                       }),
                       small));
  // Over 8 MB: many bands, streamed stores.
  const lcPelBuffer<TypeParam> large =
      patternPels<TypeParam>(3001 / static_cast<int32_t>(sizeof(TypeParam)), 2900);
  EXPECT_TRUE(samePels(expectBandsAgree([&] {
                         lcPelBuffer<TypeParam> dst;
                         lcTableMap(large, dst, {table});
                         return dst;
                       }),
                       large));
}

}  // namespace
