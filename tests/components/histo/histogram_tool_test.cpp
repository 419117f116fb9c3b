#include <gtest/gtest.h>

#include "components/histo/histogram_tool.h"
#include "support/conformance.h"
#include "support/test_images.h"

using namespace lumtest;

INSTANTIATE_TYPED_TEST_SUITE_P(HistogramTool, ComponentConformance, CLumHistogramTool);

namespace {

// The graphic collection under the last-run record's "Histogram" key, or null.
ComPtr<ILumGraphicCollection> drawnHistogram(ILumHistogramTool& tool) {
  ComPtr<ILumRecord> record, drawn;
  if (tool.CreateLastRunRecord(record.put()) != S_OK ||
      record->get_SubRecord(*lum::Variant(L"Histogram").ptr(), drawn.put()) != S_OK)
    return nullptr;
  LONG type = 0;
  drawn->get_ContentType(&type);
  EXPECT_EQ(type, lumRecordContentGraphics);
  lum::Variant content;
  drawn->get_Content(content.put());
  ComPtr<ILumGraphicCollection> graphics;
  const VARIANT& value = content.get();
  if ((value.vt == VT_UNKNOWN || value.vt == VT_DISPATCH) && value.punkVal)
    value.punkVal->QueryInterface(iid_of<ILumGraphicCollection>, graphics.putVoid());
  return graphics;
}

}  // namespace

TEST(HistogramTool, RunKeepsTheResultAndTheLastRunRecordsTheMask) {
  auto tool = conformance::make<CLumHistogramTool>();
  auto input = grey8Image(12, 10, [](int x, int) { return x; });
  auto mask = grey8Image(12, 10, [](int x, int) { return x < 6 ? 1 : 0; });
  ComPtr<ILumHistogramParams> params;
  tool->get_RunParams(params.put());
  params->putref_InputImageMask(mask.get());
  tool->putref_InputImage(input.get());
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumRunStatus> status;
  tool->get_RunStatus(status.put());
  LONG code = -1;
  status->get_ResultCode(&code);
  EXPECT_EQ(code, S_OK);
  ComPtr<ILumHistogramResult> result;
  tool->get_Result(result.put());
  ASSERT_TRUE(result);
  LONG samples = 0, maximum = 0;
  result->get_NumSamples(&samples), result->get_Maximum(&maximum);
  EXPECT_EQ(samples, 60);
  EXPECT_EQ(maximum, 5);

  ComPtr<ILumRecord> record, inputRecord, maskRecord;
  ASSERT_EQ(tool->CreateLastRunRecord(record.put()), S_OK);
  ASSERT_EQ(record->get_SubRecord(*lum::Variant(L"InputImage").ptr(), inputRecord.put()), S_OK);
  EXPECT_EQ(inputRecord->get_SubRecord(*lum::Variant(L"InputImageMask").ptr(), maskRecord.put()),
            S_OK);

  // By default the last run draws the histogram; the drawing survives a clone.
  const ComPtr<ILumGraphicCollection> drawn = drawnHistogram(*tool);
  ASSERT_TRUE(drawn);
  LONG shapes = 0;
  drawn->get_Count(&shapes);
  EXPECT_GT(shapes, 0);

  // The result survives a clone of the tool.
  ComPtr<ILumObject> copy;
  ASSERT_EQ(tool->Clone(copy.put()), S_OK);
  ComPtr<ILumHistogramResult> copied;
  copy.as<ILumHistogramTool>()->get_Result(copied.put());
  ASSERT_TRUE(copied);
  copied->get_NumSamples(&samples);
  EXPECT_EQ(samples, 60);
  EXPECT_TRUE(drawnHistogram(*copy.as<ILumHistogramTool>()));

  // A run whose last-run record asks for no part of the histogram draws nothing.
  tool->put_LastRunRecordEnable(lumHistogramLastRunRecordNone);
  ASSERT_EQ(tool->Run(), S_OK);
  tool->put_LastRunRecordEnable(lumHistogramLastRunRecordAll);
  EXPECT_FALSE(drawnHistogram(*tool));
}
