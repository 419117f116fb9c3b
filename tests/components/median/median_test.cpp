#include <gtest/gtest.h>

#include "components/median/median.h"
#include "support/conformance.h"
#include "support/core_objects.h"
#include "support/test_images.h"

using namespace lumtest;

using MedianOperators = ::testing::Types<CLumIPOneImageMedian3x3, CLumIPOneImageMedianNxM>;
INSTANTIATE_TYPED_TEST_SUITE_P(Median, ComponentConformance, MedianOperators);

namespace {

ComPtr<ILumImage> execute(ILumIPOneImageOperator* op, ILumImage* input, HRESULT expected = S_OK) {
  ComPtr<ILumImage> output;
  EXPECT_EQ(op->Execute(input, lumRegionModePixelAlignedBoundingBox, nullptr, output.put()),
            expected);
  return output;
}

int xy(int x, int y) {
  return (16 * y + 7 * x) % 41;
}

}  // namespace

TEST(Median3x3, AThreeByThreeImageGivesOnePixelOnItsCentreAndOnlyGreyEightIsAccepted) {
  auto op = conformance::make<CLumIPOneImageMedian3x3>();
  auto output =
      execute(op.get(), grey8Image(3, 3, [](int x, int y) { return 10 * (3 * y + x); }).get());
  EXPECT_EQ(pixels8(output.get()), (Pixels<BYTE>{{40}}));
  ComPtr<ILumTransform2D> t;
  output->GetTransform(lum::Bstr(L".").get(), lum::Bstr(L"#").get(), t.put());
  double x = 0, y = 0;
  t->MapPoint(0, 0, &x, &y);
  EXPECT_EQ(x, 1.0);
  EXPECT_EQ(y, 1.0);
  execute(op.get(), grey16Image(3, 3, xy).get(), HRESULT(0x8004E105));
  execute(op.get(), grey8Image(2, 3, xy).get(), HRESULT(0x8004E103));  // lcPel::BadWindow
}

TEST(MedianNxM, SizesStayOddAndKeepTheirMaskValues) {
  auto op = conformance::make<CLumIPOneImageMedianNxM>();
  EXPECT_EQ(op->put_KernelWidth(2), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, DWORD(e_LumIP_NxMKernelSize));
  op->SetMaskValue(2, 1, VARIANT_FALSE);
  EXPECT_EQ(op->put_KernelWidth(5), S_OK);
  VARIANT_BOOL care = VARIANT_TRUE;
  op->GetMaskValue(2, 1, &care);
  EXPECT_EQ(care, VARIANT_FALSE);
  op->GetMaskValue(4, 2, &care);
  EXPECT_EQ(care, VARIANT_TRUE);
  EXPECT_EQ(op->GetMaskValue(5, 0, &care), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x8004810Fu);
  EXPECT_EQ(op->SetMaskValue(0, 3, VARIANT_TRUE), E_INVALIDARG);
  EXPECT_EQ(op->GetMaskValue(0, 0, nullptr), E_POINTER);
}

TEST(MedianNxM, KernelMaskAndMaskImageChooseThePixelsAndSurviveCloneAndStream) {
  auto op = conformance::make<CLumIPOneImageMedianNxM>();
  op->put_KernelHeight(1);
  op->SetMaskValue(0, 0, VARIANT_FALSE);  // the centre and its east neighbour
  // The mask image covers columns 2 to 5 with care except column 3.
  auto mask = grey8Image(4, 1, [](int x, int) { return x == 1 ? 0 : 255; });
  op->putref_InputImageMask(mask.as<ILumImage8Grey>().get());
  op->put_InputImageMaskOffsetX(2);
  auto input = grey8Image(6, 1, [](int x, int) { return 10 * (x + 1); });
  const Pixels<BYTE> expected{{0, 30, 30, 50, 50, 60}};  // lower middle of an even count
  EXPECT_EQ(pixels8(execute(op.get(), input.get()).get()), expected);
  ComPtr<ILumObject> clone;
  ASSERT_EQ(op->Clone(clone.put()), S_OK);
  EXPECT_EQ(pixels8(execute(clone.as<ILumIPOneImageMedianNxM>().get(), input.get()).get()),
            expected);
  auto loaded = saveAndLoad<ILumIPOneImageMedianNxM>(op.get());
  EXPECT_EQ(pixels8(execute(loaded.get(), input.get()).get()), expected);
}

TEST(MedianNxM, SixteenBitAndRangeImagesKeepTheirFormat) {
  auto op = conformance::make<CLumIPOneImageMedianNxM>();
  auto grey16 = execute(op.get(), grey16Image(4, 3, [](int x, int) { return 1000 * x; }).get());
  EXPECT_EQ(pixels16(grey16.get())[1], (Pixels<USHORT>::value_type{0, 1000, 2000, 2000}));
  auto range = execute(op.get(), range16Image(
                                     3, 1, [](int x, int) { return 100 + x; },
                                     [](int x, int) { return x == 1 ? 0 : 255; })
                                     .get());
  ComPtr<ILumImage16PixelMemory> pels;
  ComPtr<ILumImage8PixelMemory> valid;
  ASSERT_EQ(range.as<ILumImage16RangePixelAccess>()->GetPixelMemory(1, 0, 0, 0, 0, pels.put(),
                                                                    valid.put()),
            S_OK);
  EXPECT_EQ((read<ILumImage16PixelMemory, USHORT>(pels.get())), (Pixels<USHORT>{{100, 100, 102}}));
  EXPECT_EQ((read<ILumImage8PixelMemory, BYTE>(valid.get())), (Pixels<BYTE>{{255, 255, 255}}));
}
