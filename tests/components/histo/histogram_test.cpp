#include <gtest/gtest.h>

#include <set>

#include "components/histo/histogram.h"
#include "support/conformance.h"
#include "support/error_info_probe.h"
#include "support/test_images.h"

using namespace lumtest;

using HistogramComponents = ::testing::Types<CLumHistogram, CLumHistogramResult>;
INSTANTIATE_TYPED_TEST_SUITE_P(Histogram, ComponentConformance, HistogramComponents);

namespace {

ComPtr<ILumHistogramResult> execute(CLumHistogram& op, ILumImage* input,
                                    ILumRegion* region = nullptr) {
  ComPtr<ILumHistogramResult> result;
  EXPECT_EQ(op.Execute(input, region, result.put()), S_OK);
  return result;
}

std::vector<LONG> binsOf(ILumHistogramResult* result) {
  lum::Variant histogram;
  EXPECT_EQ(result->get_Histogram(histogram.ptr()), S_OK);
  if (histogram.type() != (VT_ARRAY | VT_I4)) return {};
  SAFEARRAY* array = histogram.get().parray;
  const auto* values = static_cast<const LONG*>(array->pvData);
  return std::vector<LONG>(values, values + array->rgsabound[0].cElements);
}

// The pixels counted, read from a 16-bit image whose every pixel holds its own index.
std::set<LONG> countedPixels(CLumHistogram& op, ILumRegion* region = nullptr) {
  auto input = grey16Image(40, 30, [](int x, int y) { return y * 40 + x; });
  const std::vector<LONG> bins = binsOf(execute(op, input.get(), region).get());
  std::set<LONG> pixels;
  for (size_t i = 0; i < bins.size(); ++i)
    if (bins[i] != 0) pixels.insert(static_cast<LONG>(i));
  return pixels;
}

}  // namespace

TEST(Histogram, BinModesPlaceEveryValue) {
  auto op = conformance::make<CLumHistogram>();
  auto ramp = grey8Image(256, 2, [](int x, int) { return x; });
  op->put_BinMode(lumHistogramBinModeCompatibility);
  op->put_NumBins(10);
  std::vector<LONG> bins = binsOf(execute(*op, ramp.get()).get());
  ASSERT_EQ(bins.size(), 10u);
  EXPECT_EQ(bins[8], 2);
  EXPECT_EQ(bins[9], 2 * 247);  // 9..255

  op->put_BinMode(lumHistogramBinModeUniform);
  op->put_NumBins(3);
  EXPECT_EQ(binsOf(execute(*op, ramp.get()).get()), (std::vector<LONG>{170, 172, 170}));
  op->put_NumBins(300);
  ComPtr<ILumHistogramResult> result;
  EXPECT_EQ(op->Execute(ramp.get(), nullptr, result.put()), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x80048107u);

  // A 12-bit image has 4096 bins; larger values count in the last.
  op->put_BinMode(lumHistogramBinModeAuto);
  auto deep = grey16Image(
      3, 1, [](int x, int) { return 4000 + x * 1000; }, lumPixelDepth12Bits);
  result = execute(*op, deep.get());
  bins = binsOf(result.get());
  ASSERT_EQ(bins.size(), 4096u);
  EXPECT_EQ(bins[4000], 1);
  EXPECT_EQ(bins[4095], 2);
  LONG maximum = 0;
  result->get_Maximum(&maximum);
  EXPECT_EQ(maximum, 4095);

  auto unknownDepth = grey16Image(
      3, 1, [](int, int) { return 0; }, 0);
  EXPECT_EQ(op->Execute(unknownDepth.get(), nullptr, result.put()), hresultFrom(0x8004E105));
  EXPECT_EQ(op->Execute(planarImage(2, 2, [](int, int) { return 0; }).get(), nullptr, result.put()),
            hresultFrom(0x8004E105));
  EXPECT_EQ(op->Execute(nullptr, nullptr, result.put()), hresultFrom(0x8004E400));
  EXPECT_EQ(op->Execute(deep.get(), nullptr, nullptr), E_POINTER);
}

TEST(Histogram, ResultCarriesTheStatistics) {
  auto op = conformance::make<CLumHistogram>();
  auto twoPixels = grey8Image(2, 1, [](int x, int) { return x == 0 ? 3 : 7; });
  auto result = execute(*op, twoPixels.get());
  LONG samples = 0, median = 0, low = 0, high = 0;
  double mean = 0, variance = 0, deviation = 0;
  result->get_NumSamples(&samples), result->get_Median(&median);
  result->get_Mean(&mean), result->get_Variance(&variance);
  result->get_StandardDeviation(&deviation);
  EXPECT_EQ(samples, 2);
  EXPECT_EQ(median, 7);
  EXPECT_EQ(mean, 5.0);
  EXPECT_EQ(variance, 8.0);
  EXPECT_DOUBLE_EQ(deviation, std::sqrt(8.0));

  EXPECT_EQ(result->GetInverseCumulativeGreyLevel(0, &low), S_OK);
  EXPECT_EQ(result->GetInverseCumulativeGreyLevel(100, &high), S_OK);
  EXPECT_EQ(low, 3);
  EXPECT_EQ(high, 7);
  for (LONG refused : {101, -1}) {
    EXPECT_EQ(result->GetInverseCumulativeGreyLevel(refused, &low), E_INVALIDARG);
    EXPECT_EQ(takeErrorInfo().helpContext, 0x80048100u);
  }

  // A clone keeps the counts, from which the lookups are worked out again.
  ComPtr<ILumObject> copy;
  ASSERT_EQ(result.as<ILumObject>()->Clone(copy.put()), S_OK);
  auto cloned = copy.as<ILumHistogramResult>();
  EXPECT_EQ(binsOf(cloned.get()), binsOf(result.get()));
  EXPECT_EQ(cloned->GetInverseCumulativeGreyLevel(50, &high), S_OK);
  EXPECT_EQ(high, 7);
}

TEST(Histogram, RegionAndCareMaskCountOnlyThePixelsInsideBoth) {
  auto op = conformance::make<CLumHistogram>();
  auto circle = createObject<ILumCircle>(CLSID_LumCircle);
  circle->put_CenterX(20), circle->put_CenterY(15), circle->put_Radius(8);
  auto region = circle.as<ILumRegion>();
  const std::set<LONG> inCircle = countedPixels(*op, region.get());
  ASSERT_GT(inCircle.size(), 150u);
  ASSERT_LT(inCircle.size(), 256u);  // less than the circle's bounding box

  // The mask's first pixel lies on image pixel (-5, -3).
  auto mask = grey8Image(50, 40, [](int x, int y) { return (x + y) % 3 == 0 ? 9 : 0; });
  op->putref_InputImageMask(mask.get());
  op->put_InputImageMaskOffsetX(-5);
  op->put_InputImageMaskOffsetY(-3);
  std::set<LONG> underMask, inBoth;
  for (LONG pixel : countedPixels(*op))
    underMask.insert(pixel);
  for (LONG pixel = 0; pixel < 40 * 30; ++pixel)
    EXPECT_EQ(underMask.count(pixel), (pixel % 40 + 5 + pixel / 40 + 3) % 3 == 0 ? 1u : 0u);
  std::set_intersection(inCircle.begin(), inCircle.end(), underMask.begin(), underMask.end(),
                        std::inserter(inBoth, inBoth.begin()));
  EXPECT_EQ(countedPixels(*op, region.get()), inBoth);

  // The bounding-box mode counts the whole box under the mask.
  op->put_RegionMode(lumRegionModePixelAlignedBoundingBox);
  EXPECT_GT(countedPixels(*op, region.get()).size(), inBoth.size());

  // A mask that leaves part of the counted pixels uncovered is refused.
  op->put_InputImageMaskOffsetX(11);
  auto input = grey8Image(40, 30, [](int, int) { return 1; });
  ComPtr<ILumHistogramResult> result;
  EXPECT_EQ(op->Execute(input.get(), nullptr, result.put()), E_INVALIDARG);
  EXPECT_EQ(op->Execute(input.get(), region.get(), result.put()), S_OK);  // box 12..28
}

TEST(Histogram, AnEmptyCountGivesZeroStatistics) {
  auto op = conformance::make<CLumHistogram>();
  auto mask = grey8Image(4, 4, [](int, int) { return 0; });
  op->putref_InputImageMask(mask.get());
  auto result = execute(*op, grey8Image(4, 4, [](int, int) { return 200; }).get());
  LONG samples = -1, mode = -1, minimum = -1, maximum = -1;
  double mean = -1;
  result->get_NumSamples(&samples), result->get_Mode(&mode), result->get_Mean(&mean);
  result->get_Minimum(&minimum), result->get_Maximum(&maximum);
  EXPECT_EQ(samples + mode + minimum + maximum, 0);
  EXPECT_EQ(mean, 0.0);
}
