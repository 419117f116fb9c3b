#include "ip/histo/remap_tables.h"

#include <gtest/gtest.h>

#include <random>

#include "ip/histo/otsu_threshold.h"
#include "std/pelbuf/pel_errors.h"

TEST(QuantizeTable, TwoLevelsAreAThresholdAtOtsusThreshold) {
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    std::vector<uint64_t> bins(256);
    for (auto& n : bins)
      n = random() % 50 * (random() % 3 == 0);
    lcOtsuThreshold otsu;
    otsu.compute(bins, 0, 256);
    const auto table = lcQuantizeTable<uint8_t>(bins, 1);
    for (int v = 0; v < 256; ++v)
      ASSERT_EQ(table[v], v < otsu.threshold() ? 0 : 128) << v;
  }
}

TEST(QuantizeTable, EveryPassKeepsTheStaircaseOrderedEvenOverEmptyIntervals) {
  std::vector<uint64_t> bins(65536);
  bins[7] = 3, bins[40000] = 1;
  for (int passes = 1; passes <= 7; ++passes) {
    const auto table = lcQuantizeTable<uint16_t>(bins, passes);
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end())) << passes;
    EXPECT_LT(table[7], table[40000]) << passes;
    EXPECT_EQ(table.back(), ((1 << passes) - 1) * (65536 >> passes)) << passes;
  }
  EXPECT_THROW(lcQuantizeTable<uint8_t>(std::vector<uint64_t>(256, 1), 0), lcPelFunc::BadParams);
  EXPECT_THROW(lcQuantizeTable<uint8_t>(std::vector<uint64_t>(256, 1), 8), lcPelFunc::BadParams);
}

TEST(EqualizeTable, IntegralRoundedHalfUpAndIdentityWithoutCounts) {
  std::vector<uint64_t> bins(256);
  bins[10] = 1, bins[20] = 2;  // C = 1, 3 of 3
  const auto table = lcEqualizeTable<uint8_t>(bins);
  EXPECT_EQ(table[9], 0);
  EXPECT_EQ(table[10], 85);  // 255 / 3 + 0.5
  EXPECT_EQ(table[20], 255);
  const auto identity = lcEqualizeTable<uint16_t>(std::vector<uint64_t>(65536));
  EXPECT_EQ(identity[1234], 1234);
}
