#include <gtest/gtest.h>

#include "lumxip/HalvexImageProcessing.h"

namespace {

ComPtr<ILumMessageService> createService(bool initialize = true) {
  ComPtr<ILumMessageService> service;
  EXPECT_EQ(CoCreateInstance(CLSID_LumMessageService, nullptr, CLSCTX_ALL, IID_ILumMessageService,
                             service.putVoid()),
            S_OK);
  if (service && initialize) {
    EXPECT_EQ(service->Initialize(nullptr), S_OK);
  }
  return service;
}

TEST(MessageService, GivesTextsWithArgumentsCutToTheBuffer) {
  auto service = createService();
  ASSERT_TRUE(service);
  wchar_t buffer[1024];
  ASSERT_EQ(service->GetMessageTextWithArgs(0x80048101, L"RegionMode",
                                            L"lumRegionModePixelAlignedBoundingBox",
                                            L"lumRegionModeAffineTransform", buffer, 1024),
            S_OK);
  EXPECT_STREQ(buffer,
               L"The value of RegionMode must be lumRegionModePixelAlignedBoundingBox or "
               L"lumRegionModeAffineTransform.");
  wchar_t small[8];
  ASSERT_EQ(service->GetMessageText(0x8004E400, small, 8), S_OK);
  EXPECT_STREQ(small, L"There i") << "cut and terminated";

  lum::Bstr text, helpFile;
  ASSERT_EQ(service->GetMessageBstr(ids_LumIP_OperatorError_2, text.put()), S_OK);
  EXPECT_NE(text.view().find(L"%1"), std::wstring_view::npos) << "markers stay without args";
  EXPECT_EQ(service->GetHelpFile(e_LumIP_NxMKernelSize, helpFile.put()), S_OK);
  EXPECT_FALSE(helpFile.empty());
}

TEST(MessageService, UnknownIdentifiersAndUninitialisedUseFail) {
  auto service = createService();
  wchar_t buffer[16];
  lum::Bstr text;
  EXPECT_LT(service->GetMessageText(0x80049999, buffer, 16), 0);
  EXPECT_LT(service->GetMessageBstr(0, text.put()), 0);
  EXPECT_LT(service->GetHelpFile(0x80049999, text.put()), 0);
  EXPECT_LT(createService(false)->GetMessageText(0x8004E400, buffer, 16), 0)
      << "the service is told its module first";
}

TEST(MessageService, EveryErrorConstantHasAText) {
  auto service = createService();
  for (int32_t code :
       {e_LumIP_NoRegionOverlap, e_LumIP_NxMKernelValuesAllZero, e_LumIP_AffineTransform_OverSize,
        e_LumIP_MissingPixel_BoundDestRangeImage}) {
    lum::Bstr text;
    EXPECT_EQ(service->GetMessageBstr(static_cast<ULONG>(code), text.put()), S_OK) << code;
  }
}

}  // namespace
