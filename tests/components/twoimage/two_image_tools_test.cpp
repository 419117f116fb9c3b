#include <gtest/gtest.h>

#include "components/twoimage/two_image_arithmetic.h"
#include "components/twoimage/two_image_tools.h"
#include "lumxstd/coordinate_axes.h"
#include "support/conformance.h"
#include "support/event_recorder.h"
#include "two_image_test_util.h"

using namespace lumtest;

using TwoImageTools = ::testing::Types<CLumIPTwoImageAddTool, CLumIPTwoImageSubtractTool,
                                       CLumIPTwoImageMinMaxTool, lumxstd::CLumCoordinateAxes>;
INSTANTIATE_TYPED_TEST_SUITE_P(TwoImageTools, ComponentConformance, TwoImageTools);

namespace {

ComPtr<ILumIPTwoImageSubtractParams> paramsOf(ILumIPTwoImageSubtractTool* tool) {
  ComPtr<ILumIPTwoImageSubtractParams> params;
  tool->get_RunParams(params.put());
  return params;
}

LONG runResult(ILumIPTwoImageSubtractTool* tool) {
  EXPECT_EQ(tool->Run(), S_OK);
  ComPtr<ILumRunStatus> status;
  tool->get_RunStatus(status.put());
  LONG result = -1;
  status->get_ResultCode(&result);
  return result;
}

Pixels<BYTE> outputOf(ILumIPTwoImageSubtractTool* tool) {
  ComPtr<ILumImage> output;
  tool->get_OutputImage(output.put());
  return output ? pixels8(output.get()) : Pixels<BYTE>{};
}

// A subtract tool with two 8-bit inputs, B placed by alignment.
ComPtr<CLumIPTwoImageSubtractTool> readyTool() {
  auto tool = conformance::make<CLumIPTwoImageSubtractTool>();
  tool->putref_InputImageA(grey8Image(12, 8, [](int x, int y) { return 100 + x + 10 * y; }).get());
  tool->putref_InputImageB(grey8Image(12, 8, [](int x, int) { return x; }).get());
  auto params = paramsOf(tool.get());
  params->put_OverflowMode(lumIPTwoImageSubtractOverflowModeWrap);
  params->put_ImageAlignmentEnabled(VARIANT_TRUE);
  params->put_ImageAAlignmentX(2);
  return tool;
}

TEST(TwoImageTool, RunsItsOperatorOnBothInputsAndReportsFailuresInTheRunStatus) {
  auto tool = readyTool();
  EXPECT_EQ(runResult(tool.get()), S_OK);
  const auto pixels = outputOf(tool.get());
  ASSERT_EQ(pixels.size(), 8u);
  ASSERT_EQ(pixels[0].size(), 10u);
  EXPECT_EQ(pixels[1][3], (100 + 5 + 10) - 3);  // A (5, 1) less B (3, 1)

  tool->putref_InputImageB(nullptr);
  EXPECT_EQ(runResult(tool.get()), LONG(0x8004E400));
  EXPECT_TRUE(outputOf(tool.get()).empty());
  tool->putref_RunParams(nullptr);
  EXPECT_EQ(runResult(tool.get()), LONG(0x8004E500));
}

TEST(TwoImageTool, RecordsShowTheInputsAndTheOutput) {
  auto tool = readyTool();
  tool->putref_RegionA(rectangle(0, 0, 5, 5).get());
  ASSERT_EQ(runResult(tool.get()), S_OK);
  ComPtr<ILumRecord> current, lastRun, sub;
  ASSERT_EQ(tool->CreateCurrentRecord(current.put()), S_OK);
  EXPECT_EQ(current->get_SubRecord(*lum::Variant(L"InputImageB").ptr(), sub.put()), S_OK);
  ASSERT_EQ(current->get_SubRecord(*lum::Variant(L"InputImageA").ptr(), sub.put()), S_OK);
  ComPtr<ILumRecord> inner;
  EXPECT_EQ(sub->get_SubRecord(*lum::Variant(L"RegionA").ptr(), inner.put()), S_OK);
  EXPECT_EQ(sub->get_SubRecord(*lum::Variant(L"AlignmentPointA").ptr(), inner.put()), S_OK);
  ASSERT_EQ(tool->CreateLastRunRecord(lastRun.put()), S_OK);
  EXPECT_EQ(lastRun->get_SubRecord(*lum::Variant(L"OutputImage").ptr(), sub.put()), S_OK);
  EXPECT_EQ(lastRun->get_SubRecord(*lum::Variant(L"InputImageA").ptr(), sub.put()), S_OK);
}

// The image a record holds under `key`, as pixel rows.
Pixels<BYTE> recordPixels(ILumRecord* record, const wchar_t* key) {
  ComPtr<ILumRecord> sub;
  if (record->get_SubRecord(*lum::Variant(key).ptr(), sub.put()) != S_OK) return {};
  lum::Variant content;
  sub->get_Content(content.put());
  ComPtr<ILumImage> image;
  const VARIANT& value = content.get();
  if ((value.vt == VT_UNKNOWN || value.vt == VT_DISPATCH) && value.punkVal)
    value.punkVal->QueryInterface(iid_of<ILumImage>, image.putVoid());
  return image ? pixels8(image.get()) : Pixels<BYTE>{};
}

TEST(TwoImageTool, DiagnosticImagesShowTheRegionsAndWhereThePlacedWindowsOverlap) {
  auto tool = readyTool();  // B placed two columns right of A's first
  tool->putref_RegionA(rectangle(0, 0, 5, 5).get());
  tool->put_LastRunRecordDiagEnable(-1);
  ASSERT_EQ(runResult(tool.get()), S_OK);
  ComPtr<ILumRecord> lastRun;
  ASSERT_EQ(tool->CreateLastRunRecord(lastRun.put()), S_OK);

  const auto regionA = recordPixels(lastRun.get(), L"TransformedRegionImageA");
  ASSERT_EQ(regionA.size(), 5u);
  ASSERT_EQ(regionA[0].size(), 5u);
  EXPECT_EQ(regionA[4][3], 100 + 3 + 40);
  EXPECT_EQ(recordPixels(lastRun.get(), L"TransformedRegionImageB").size(), 8u);

  // A's window is columns 0..4 of A; B's first column lands on A's column 2.
  const auto maskA = recordPixels(lastRun.get(), L"OverlapMaskA");
  const auto maskB = recordPixels(lastRun.get(), L"OverlapMaskB");
  ASSERT_EQ(maskA.size(), 5u);
  EXPECT_EQ(maskA[4], (std::vector<BYTE>{0, 0, 255, 255, 255}));
  ASSERT_EQ(maskB.size(), 8u);
  EXPECT_EQ(maskB[0], (std::vector<BYTE>{255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(maskB[5], std::vector<BYTE>(12, 0));

  // The record describes the last run, not a later change of the operator.
  paramsOf(tool.get())->put_ImageAlignmentEnabled(VARIANT_FALSE);
  ASSERT_EQ(tool->CreateLastRunRecord(lastRun.put()), S_OK);
  EXPECT_EQ(recordPixels(lastRun.get(), L"OverlapMaskA")[4][1], 0);
}

TEST(TwoImageTool, MovingAnAlignmentGraphicMovesTheOperatorsPointWithOneEvent) {
  auto tool = readyTool();
  auto params = paramsOf(tool.get());
  auto recorder = lum::makeComObject<EventRecorder>();
  adviseSink(params.get(), recorder.get());
  ASSERT_EQ(tool->alignmentGraphic(false)->SetOrigin(7.5, -3), S_OK);
  double x = 0, y = 0;
  params->get_ImageAAlignmentX(&x), params->get_ImageAAlignmentY(&y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(7.5, -3.0));
  EXPECT_EQ(recorder->events().size(), 1u);

  // And the other way: the operator's point moves its graphic.
  params->put_ImageBAlignmentY(4);
  double origin = 0;
  tool->alignmentGraphic(true)->get_OriginY(&origin);
  EXPECT_EQ(origin, 4);
}

TEST(TwoImageTool, SwitchingAlignmentChangesTheCurrentRecord) {
  auto tool = readyTool();
  auto recorder = conformance::listenTo(*tool);
  paramsOf(tool.get())->put_ImageAlignmentEnabled(VARIANT_FALSE);
  const auto events = recorder->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].stateId(), lumIPTool_CurrentRecordChanged);
  EXPECT_EQ(events[0].flags(), lumChangeCurrentRecord);
}

TEST(TwoImageTool, ANewOperatorTakesOverTheGraphicsAndTheOldOneIsLetGo) {
  auto tool = readyTool();
  auto old = paramsOf(tool.get());
  auto replacement = conformance::make<CLumIPTwoImageSubtract>();
  replacement->put_ImageAAlignmentX(9);
  // An object without the parameter interface is refused (by dispatch: C++ cannot pass one).
  const lum::Variant notParams(
      static_cast<IDispatch*>(create<ILumRectangle>(CLSID_LumRectangle).get()));
  EXPECT_NE(conformance::invokePut(conformance::dispatchOf(*tool), L"RunParams", notParams), S_OK);
  EXPECT_EQ(paramsOf(tool.get()).get(), old.get());
  ASSERT_EQ(tool->putref_RunParams(replacement.get()), S_OK);
  double origin = 0;
  tool->alignmentGraphic(false)->get_OriginX(&origin);
  EXPECT_EQ(origin, 9);
  old->put_ImageAAlignmentX(1);
  tool->alignmentGraphic(false)->get_OriginX(&origin);
  EXPECT_EQ(origin, 9);
}

TEST(TwoImageTool, ALoadedOrClonedToolRunsToTheSamePixelsAndKeepsItsGraphicsInStep) {
  auto tool = readyTool();
  ASSERT_EQ(runResult(tool.get()), S_OK);
  const auto expected = outputOf(tool.get());
  for (auto copy : {saveAndLoad<ILumIPTwoImageSubtractTool>(tool.get()),
                    cloneOf<ILumIPTwoImageSubtractTool>(tool.get())}) {
    ASSERT_TRUE(copy);
    EXPECT_EQ(runResult(copy.get()), S_OK);
    EXPECT_EQ(outputOf(copy.get()), expected);
    paramsOf(copy.get())->put_ImageAAlignmentX(6);
    double origin = 0;
    static_cast<CLumIPTwoImageSubtractTool*>(copy.get())
        ->alignmentGraphic(false)
        ->get_OriginX(&origin);
    EXPECT_EQ(origin, 6);
  }
}

}  // namespace
