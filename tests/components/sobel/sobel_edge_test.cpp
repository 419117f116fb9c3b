#include <gtest/gtest.h>

#include "components/sobel/sobel_edge.h"
#include "lumxstd/transform_objects.h"
#include "support/conformance.h"
#include "support/dispatch_call.h"
#include "support/error_info_probe.h"
#include "support/test_images.h"

using namespace lumtest;

using SobelEdgeComponents = ::testing::Types<CLumSobelEdge, CLumSobelEdgeResult>;
INSTANTIATE_TYPED_TEST_SUITE_P(SobelEdge, ComponentConformance, SobelEdgeComponents);

namespace {

// Dark left of column 4, bright from it on.
ComPtr<ILumImage> verticalStep(LONG width = 8, LONG height = 6) {
  return grey8Image(width, height, [](int x, int) { return x >= 4 ? 255 : 0; });
}

ComPtr<ILumSobelEdgeResult> execute(CLumSobelEdge& op, ILumImage* input,
                                    ILumRegion* region = nullptr) {
  ComPtr<ILumSobelEdgeResult> result;
  EXPECT_EQ(op.Execute(input, region, result.put()), S_OK);
  return result;
}

ComPtr<ILumImage> finalImage(ILumSobelEdgeResult* result) {
  ComPtr<ILumImage> image;
  result->get_FinalMagnitudeImage(image.put());
  return image;
}

std::pair<double, double> originOf(ILumImage* image) {
  ComPtr<ILumTransform2D> t;
  image->GetTransform(lum::Bstr(L".").get(), lum::Bstr(L"#").get(), t.put());
  double x = 0, y = 0;
  t->MapPoint(0, 0, &x, &y);
  return {x, y};
}

LONG thresholds(CLumSobelEdge& op) {
  LONG low = 0, high = 0;
  op.get_HysteresisThresholdLow(&low);
  op.get_HysteresisThresholdHigh(&high);
  return low * 1000 + high;
}

}  // namespace

TEST(SobelEdge, AThresholdPassingTheOtherTakesItAlongAndRaisesBoth) {
  auto op = conformance::make<CLumSobelEdge>();
  auto recorder = conformance::listenTo(*op);
  ASSERT_EQ(op->put_HysteresisThresholdLow(30), S_OK);
  EXPECT_EQ(thresholds(*op), 30030);
  ASSERT_EQ(recorder->events().size(), 2u);
  EXPECT_EQ(recorder->events()[0].stateId(), lumSobelEdge_HysteresisThresholdLow);
  EXPECT_EQ(recorder->events()[1].stateId(), lumSobelEdge_HysteresisThresholdHigh);
  for (const auto& event : recorder->events())
    EXPECT_EQ(event.flags(), lumChangeSetByClient | lumFA_SobelEdge_HysteresisThresholds);

  recorder->clear();
  ASSERT_EQ(op->put_HysteresisThresholdHigh(5), S_OK);
  EXPECT_EQ(thresholds(*op), 5005);
  EXPECT_EQ(recorder->events().size(), 2u);

  recorder->clear();
  ASSERT_EQ(op->SetHysteresisThresholds(7, 200), S_OK);
  EXPECT_EQ(thresholds(*op), 7200);
  EXPECT_EQ(recorder->events().size(), 2u);

  recorder->clear();
  EXPECT_EQ(op->SetHysteresisThresholds(40, 30), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x80048107u);
  EXPECT_EQ(op->SetHysteresisThresholds(-1, 30), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x80048100u);
  EXPECT_EQ(thresholds(*op), 7200);
  EXPECT_TRUE(recorder->events().empty());
}

TEST(SobelEdge, ExecuteRefusesWhatItCannotWorkOn) {
  auto op = conformance::make<CLumSobelEdge>();
  auto input = verticalStep();
  EXPECT_EQ(op->Execute(input.get(), nullptr, nullptr), E_POINTER);
  ComPtr<ILumSobelEdgeResult> result;
  EXPECT_EQ(op->Execute(nullptr, nullptr, result.put()), hresultFrom(0x8004E400));
  auto wide = grey16Image(8, 8, [](int, int) { return 0; });
  EXPECT_EQ(op->Execute(wide.get(), nullptr, result.put()), hresultFrom(0x8004E105));
  EXPECT_FALSE(result);

  // The affine region mode straightens the region first.
  op->put_RegionMode(lumRegionModeAffineTransform);
  auto affine = createObject<ILumRectangleAffine>(CLSID_LumRectangleAffine);
  affine->SetUnitSquareTransform(
      lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(0, 5, -5, 0), {1, 6})).get());
  EXPECT_EQ(op->Execute(input.get(), affine.as<ILumRegion>().get(), result.put()), S_OK);
}

TEST(SobelEdge, ExecuteThroughDispatchGivesTheThreeImages) {
  auto op = conformance::make<CLumSobelEdge>();
  auto input = verticalStep();
  lum::Variant result;
  ASSERT_EQ(call(conformance::dispatchOf(*op), L"Execute", DISPATCH_METHOD,
                 {lum::Variant(static_cast<IDispatch*>(input.get()))}, &result),
            S_OK);
  ASSERT_EQ(result.type(), VT_DISPATCH);
  IDispatch* images = result.get().pdispVal;
  lum::Variant angle, magnitude, final;
  ASSERT_EQ(call(images, L"EdgeAngleImage", DISPATCH_PROPERTYGET, {}, &angle), S_OK);
  ASSERT_EQ(call(images, L"EdgeMagnitudeImage", DISPATCH_PROPERTYGET, {}, &magnitude), S_OK);
  ASSERT_EQ(call(images, L"FinalMagnitudeImage", DISPATCH_PROPERTYGET, {}, &final), S_OK);
  auto image = [](const lum::Variant& v) {
    ComPtr<ILumImage> held;
    v.get().pdispVal->QueryInterface(iid_of<ILumImage>, held.putVoid());
    return held;
  };
  EXPECT_EQ(pixels8(image(magnitude).get())[2][3], 255);  // across the step
  EXPECT_EQ(pixels8(image(magnitude).get())[2][0], 0);
  EXPECT_EQ(pixels8(image(angle).get())[2][3], 0);            // pointing to the bright side
  EXPECT_EQ(final.get().pdispVal, magnitude.get().pdispVal);  // nothing followed
}

TEST(SobelEdge, PostProcessingThinsOrThresholdsTheMagnitude) {
  auto op = conformance::make<CLumSobelEdge>();
  auto input = grey8Image(9, 6, [](int x, int) { return x >= 4 ? 100 : 0; });
  auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
  region->put_X(1), region->put_Y(0), region->put_Width(7), region->put_Height(6);

  // The step gives two equal columns of magnitude; peak detection keeps the first, and
  // its image starts one pixel into the region.
  op->put_PostProcessMode(lumSobelEdgePostProcessModePeakDetect);
  auto peaks = finalImage(execute(*op, input.get(), region.as<ILumRegion>().get()).get());
  EXPECT_EQ(originOf(peaks.get()), (std::pair<double, double>{2, 1}));
  const auto thinned = pixels8(peaks.get());
  ASSERT_EQ(thinned[0].size(), 5u);
  EXPECT_EQ(thinned[1], (std::vector<BYTE>{0, 100, 0, 0, 0}));

  op->put_PostProcessMode(lumSobelEdgePostProcessModeHysteresisThreshold);
  op->put_HysteresisSurvivorPelValue(9);
  op->put_HysteresisNonSurvivorPelValue(1);
  op->SetHysteresisThresholds(100, 200);
  const auto cut = pixels8(finalImage(execute(*op, input.get()).get()).get());
  EXPECT_EQ(cut[3], (std::vector<BYTE>{1, 1, 1, 1, 1, 1, 1, 1, 1}));  // 100 is not strong
  op->put_MagnitudeScale(2.0);                                        // 201 is
  EXPECT_EQ(pixels8(finalImage(execute(*op, input.get()).get()).get())[3],
            (std::vector<BYTE>{1, 1, 1, 9, 9, 1, 1, 1, 1}));
}
