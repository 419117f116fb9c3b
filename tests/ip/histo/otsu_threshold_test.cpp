#include "ip/histo/otsu_threshold.h"

#include <gtest/gtest.h>

#include <vector>

TEST(OtsuThreshold, SplitsBetweenTheClasses) {
  std::vector<uint64_t> bins(256, 0);
  bins[20] = 50, bins[220] = 50;
  lcOtsuThreshold otsu;
  otsu.compute(bins, 0, 256);
  EXPECT_EQ(otsu.threshold(), 21);        // 20 below, 220 above
  EXPECT_DOUBLE_EQ(otsu.quality(), 1.0);  // two single values: separated perfectly

  // Three clusters: the widest gap wins; a range restricted to one cluster is its bin.
  bins[30] = 50;
  otsu.compute(bins, 0, 256);
  EXPECT_EQ(otsu.threshold(), 31);
  otsu.compute(bins, 200, 256);
  EXPECT_EQ(otsu.threshold(), 220);
}

TEST(OtsuThreshold, RefusesBadRangesAndEmptyOnesAndForgetsThePastResult) {
  std::vector<uint64_t> bins(16, 0);
  bins[3] = 1;
  lcOtsuThreshold otsu;
  EXPECT_THROW(otsu.threshold(), lcThresholdDefs::NotComputed);
  EXPECT_THROW(otsu.compute(bins, -1, 4), lcThresholdDefs::BadParams);
  EXPECT_THROW(otsu.compute(bins, 0, 17), lcThresholdDefs::BadParams);
  EXPECT_THROW(otsu.compute(bins, 4, 4), lcThresholdDefs::BadParams);
  otsu.compute(bins, 0, 16);
  EXPECT_EQ(otsu.threshold(), 3);
  EXPECT_THROW(otsu.compute(bins, 4, 16), lcThresholdDefs::BadParams);
  EXPECT_THROW(otsu.threshold(), lcThresholdDefs::NotComputed);
}
