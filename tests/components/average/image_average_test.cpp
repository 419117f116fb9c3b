#include <gtest/gtest.h>

#include "components/average/image_average.h"
#include "components/average/image_average_tool.h"
#include "lumxip/ip/result_codes.h"
#include "support/conformance.h"
#include "support/core_objects.h"
#include "support/test_images.h"

using namespace lumtest;

using ImageAverageComponents = ::testing::Types<CLumImageAverage, CLumImageAverageTool>;
INSTANTIATE_TYPED_TEST_SUITE_P(ImageAverage, ComponentConformance, ImageAverageComponents);

namespace {

ComPtr<ILumImage> flat(LONG w, LONG h, int value) {
  return grey8Image(w, h, [=](int, int) { return value; });
}

LONG countOf(ILumImageAverage* average) {
  LONG count = -1;
  EXPECT_EQ(average->get_NumImages(&count), S_OK);
  return count;
}

}  // namespace

TEST(ImageAverage, AveragesAndDeviatesAsTheWorkedExampleSays) {
  auto average = conformance::make<CLumImageAverage>();
  average->put_StandardDeviationEnabled(VARIANT_TRUE);
  ASSERT_EQ(average->Add(flat(5, 4, 10).get(), nullptr), S_OK);
  ASSERT_EQ(average->Add(flat(5, 4, 13).get(), nullptr), S_OK);
  EXPECT_EQ(countOf(average.get()), 2);
  ComPtr<ILumImage> mean, deviation;
  ASSERT_EQ(average->ExecuteAverage(mean.put()), S_OK);
  ASSERT_EQ(average->ExecuteStandardDeviation(deviation.put()), S_OK);
  EXPECT_EQ(pixels8(mean.get()), Pixels<BYTE>(4, std::vector<BYTE>(5, 12)));
  EXPECT_EQ(pixels8(deviation.get()), Pixels<BYTE>(4, std::vector<BYTE>(5, 2)));

  // The accumulation travels with the operator.
  for (auto copy :
       {cloneOf<ILumImageAverage>(average.get()), saveAndLoad<ILumImageAverage>(average.get())}) {
    ASSERT_TRUE(copy);
    EXPECT_EQ(countOf(copy.get()), 2);
    ComPtr<ILumImage> copied;
    ASSERT_EQ(copy->ExecuteStandardDeviation(copied.put()), S_OK);
    EXPECT_EQ(pixels8(copied.get()), pixels8(deviation.get()));
  }
}

TEST(ImageAverage, ReportsTheStateOfItsAccumulation) {
  auto average = conformance::make<CLumImageAverage>();
  ComPtr<ILumImage> image;
  EXPECT_EQ(average->ExecuteAverage(image.put()), hresultFrom(e_LumIP_NoDataAvailableToProcess));
  EXPECT_EQ(average->Add(nullptr, nullptr), hresultFrom(0x8004E400));
  EXPECT_EQ(average->Add(grey16Image(3, 3, [](int, int) { return 1; }).get(), nullptr),
            hresultFrom(0x8004E105));
  for (int i = 0; i < 3; ++i)
    ASSERT_EQ(average->Add(flat(3, 3, i).get(), nullptr), S_OK);
  EXPECT_TRUE(FAILED(average->Add(flat(4, 3, 0).get(), nullptr)));
  EXPECT_EQ(countOf(average.get()), 3);
  EXPECT_EQ(average->ExecuteStandardDeviation(image.put()), E_INVALIDARG);

  // Turning the deviation on discards what was accumulated.
  EXPECT_EQ(average->put_StandardDeviationEnabled(VARIANT_TRUE), S_OK);
  EXPECT_EQ(countOf(average.get()), 0);
  ASSERT_EQ(average->Add(flat(4, 3, 7).get(), nullptr), S_OK);
  ASSERT_EQ(average->ExecuteStandardDeviation(image.put()), S_OK);
  EXPECT_EQ(pixels8(image.get()), Pixels<BYTE>(3, std::vector<BYTE>(4, 0)));
  EXPECT_EQ(average->Reset(), S_OK);
  EXPECT_EQ(countOf(average.get()), 0);
  EXPECT_EQ(average->ExecuteAverage(image.put()), hresultFrom(e_LumIP_NoDataAvailableToProcess));
  EXPECT_EQ(image.get(), nullptr);
}

TEST(ImageAverageTool, EachRunAddsTheInputAndRefreshesBothImages) {
  auto tool = conformance::make<CLumImageAverageTool>();
  ComPtr<ILumImageAverage> params;
  tool->get_RunParams(params.put());
  params->put_StandardDeviationEnabled(VARIANT_TRUE);
  auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
  region->put_X(1), region->put_Y(1), region->put_Width(3), region->put_Height(2);
  tool->putref_Region(region.as<ILumRegion>().get());
  for (int value : {10, 13}) {
    tool->putref_InputImage(flat(6, 5, value).get());
    ASSERT_EQ(tool->Run(), S_OK);
  }
  ComPtr<ILumRunStatus> status;
  tool->get_RunStatus(status.put());
  LONG result = -1;
  status->get_ResultCode(&result);
  ASSERT_EQ(result, S_OK);
  ComPtr<ILumImage> mean, deviation;
  tool->get_AverageImage(mean.put());
  tool->get_StandardDeviationImage(deviation.put());
  EXPECT_EQ(pixels8(mean.get()), Pixels<BYTE>(2, std::vector<BYTE>(3, 12)));
  EXPECT_EQ(pixels8(deviation.get()), Pixels<BYTE>(2, std::vector<BYTE>(3, 2)));

  tool->put_LastRunRecordEnable(lumImageAverageLastRunRecordAll);
  tool->put_LastRunRecordDiagEnable(lumImageAverageLastRunRecordDiagAll);
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumRecord> record;
  ASSERT_EQ(tool->CreateLastRunRecord(record.put()), S_OK);
  LONG count = 0;
  record->get_SubRecordCount(&count);
  EXPECT_EQ(count, 5);  // both images, the input, its region and the pixels within it
}
