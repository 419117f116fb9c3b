#include <gtest/gtest.h>

#include "components/orient/missing_pixel.h"
#include "support/conformance.h"
#include "support/test_images.h"

using namespace lumtest;

INSTANTIATE_TYPED_TEST_SUITE_P(MissingPixel, ComponentConformance,
                               ::testing::Types<CLumIPOneImageMissingPixel>);

namespace {

// A 4 x 2 range image: pixels 10 * x + y, the pixels in column 1 missing.
ComPtr<ILumImage> holeInColumn1() {
  auto image = range16Image(
      4, 2, [](int x, int y) { return 10 * x + y; }, [](int x, int) { return x == 1 ? 0 : 1; });
  image.as<ILumImage16Range>()->put_PixelDepth(lumPixelDepth12Bits);
  return image;
}

HRESULT execute(ILumIPOneImageOperator* op, ILumImage* input, LONG mode,
                ComPtr<ILumImage>& output) {
  return op->Execute(input, mode, nullptr, output.put());
}

}  // namespace

TEST(MissingPixel, FillsRangeImagesAndKeepsTheirDepth) {
  auto op = conformance::make<CLumIPOneImageMissingPixel>();
  ComPtr<ILumImage> output;
  ASSERT_EQ(execute(op.get(), holeInColumn1().get(), lumRegionModePixelAlignedBoundingBox, output),
            S_OK);
  ComPtr<ILumImage16PixelMemory> pixels;
  ComPtr<ILumImage8PixelMemory> mask;
  output.as<ILumImage16RangePixelAccess>()->GetPixelMemory(lumPixelAccessRead, 0, 0, 0, 0,
                                                           pixels.put(), mask.put());
  EXPECT_EQ((read<ILumImage16PixelMemory, USHORT>(pixels.get())),
            (Pixels<USHORT>{{0, 10, 20, 30}, {1, 11, 21, 31}}));
  EXPECT_EQ((read<ILumImage8PixelMemory, BYTE>(mask.get())),
            (Pixels<BYTE>{{255, 255, 255, 255}, {255, 255, 255, 255}}));
  LONG depth = 0;
  output.as<ILumImage16Range>()->get_PixelDepth(&depth);
  EXPECT_EQ(depth, lumPixelDepth12Bits);
}

TEST(MissingPixel, RefusesOtherFormatsRegionModesAndValuesBeyondTheRange) {
  auto op = conformance::make<CLumIPOneImageMissingPixel>();
  ComPtr<ILumImage> output;
  EXPECT_EQ(execute(op.get(), grey8Image(2, 2, [](int, int) { return 1; }).get(), 1, output),
            HRESULT(0x8004E105));
  for (LONG mode : {lumRegionModeAffineTransform, lumRegionModePixelAlignedBoundingBoxAdjustMask}) {
    EXPECT_EQ(execute(op.get(), holeInColumn1().get(), mode, output), E_INVALIDARG);
    EXPECT_EQ(takeErrorInfo().helpContext, 0x80048115u);
  }
  EXPECT_EQ(op->put_FixedGlobalValue(-1), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x80048105u);
  EXPECT_EQ(op->put_FixedGlobalValue(70000), S_OK);
  EXPECT_EQ(execute(op.get(), holeInColumn1().get(), 1, output),
            HRESULT(e_LumIP_MissingPixel_FixedGlobalValueOutsideDstRange));
  EXPECT_FALSE(output);
}
