#include <gtest/gtest.h>

#include "components/sobel/sobel_edge.h"
#include "components/sobel/sobel_edge_tool.h"
#include "support/conformance.h"
#include "support/test_images.h"

using namespace lumtest;

INSTANTIATE_TYPED_TEST_SUITE_P(SobelEdgeTool, ComponentConformance, CLumSobelEdgeTool);

namespace {

LONG resultOf(CLumSobelEdgeTool& tool) {
  ComPtr<ILumRunStatus> status;
  tool.get_RunStatus(status.put());
  LONG result = -1;
  status->get_ResultCode(&result);
  return result;
}

std::vector<std::wstring> keysOf(ILumRecord* record) {
  LONG count = 0;
  record->get_SubRecordCount(&count);
  std::vector<std::wstring> keys;
  for (LONG i = 0; i < count; ++i) {
    ComPtr<ILumRecord> sub;
    record->get_SubRecord(*lum::Variant(int32_t{i}).ptr(), sub.put());
    lum::Bstr key;
    sub->get_Key(key.put());
    keys.emplace_back(key.view());
  }
  return keys;
}

ComPtr<ILumRecord> lastRun(CLumSobelEdgeTool& tool) {
  ComPtr<ILumRecord> record;
  EXPECT_EQ(tool.CreateLastRunRecord(record.put()), S_OK);
  return record;
}

}  // namespace

TEST(SobelEdgeTool, RunKeepsTheResultAndRecordsWhatWasAsked) {
  auto tool = conformance::make<CLumSobelEdgeTool>();
  ASSERT_EQ(tool->Run(), S_OK);
  EXPECT_EQ(resultOf(*tool), hresultFrom(0x8004E400));

  auto input = grey8Image(12, 10, [](int x, int y) { return x * 20 + y; });
  auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
  region->put_X(2), region->put_Y(1), region->put_Width(6), region->put_Height(5);
  tool->putref_InputImage(input.get());
  tool->putref_Region(region.as<ILumRegion>().get());
  ASSERT_EQ(tool->Run(), S_OK);
  EXPECT_EQ(resultOf(*tool), S_OK);
  ComPtr<ILumSobelEdgeResult> result;
  tool->get_Result(result.put());
  ASSERT_TRUE(result);
  EXPECT_EQ(keysOf(lastRun(*tool).get()),
            (std::vector<std::wstring>{L"InputImage", L"FinalMagnitudeImage"}));

  tool->put_LastRunRecordEnable(lumSobelEdgeLastRunRecordAll);
  tool->put_LastRunRecordDiagEnable(lumSobelEdgeLastRunRecordDiagAll);
  ASSERT_EQ(tool->Run(), S_OK);
  EXPECT_EQ(keysOf(lastRun(*tool).get()),
            (std::vector<std::wstring>{L"InputImage", L"TransformedRegionPixels", L"EdgeAngleImage",
                                       L"EdgeMagnitudeImage", L"FinalMagnitudeImage"}));
  ComPtr<ILumRecord> current;
  ASSERT_EQ(tool->CreateCurrentRecord(current.put()), S_OK);
  EXPECT_EQ(keysOf(current.get()), (std::vector<std::wstring>{L"InputImage"}));

  // The run's pixels survive a clone together with the operator's settings.
  ComPtr<ILumSobelEdge> params;
  tool->get_RunParams(params.put());
  params->put_PostProcessMode(lumSobelEdgePostProcessModePeakDetect);
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumObject> clone;
  ASSERT_EQ(tool->Clone(clone.put()), S_OK);
  auto copy = clone.as<ILumSobelEdgeTool>();
  ComPtr<ILumSobelEdge> copiedParams;
  copy->get_RunParams(copiedParams.put());
  LumSobelEdgePostProcessModeConstants mode{};
  copiedParams->get_PostProcessMode(&mode);
  EXPECT_EQ(mode, lumSobelEdgePostProcessModePeakDetect);
  ComPtr<ILumSobelEdgeResult> copiedResult;
  copy->get_Result(copiedResult.put());
  ASSERT_TRUE(copiedResult);
  ComPtr<ILumImage> before, after;
  tool->get_Result(result.put());
  result->get_FinalMagnitudeImage(before.put());
  copiedResult->get_FinalMagnitudeImage(after.put());
  EXPECT_EQ(pixels8(after.get()), pixels8(before.get()));
}
