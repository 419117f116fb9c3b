#include <gtest/gtest.h>

#include "components/affine/affine_transform.h"
#include "components/affine/affine_transform_tool.h"
#include "lumxip/HalvexImageProcessing.h"
#include "lumxstd/transform_objects.h"
#include "support/conformance.h"
#include "support/error_info_probe.h"
#include "support/test_images.h"

using namespace lumtest;

using AffineComponents = ::testing::Types<CLumAffineTransform, CLumAffineTransformTool>;
INSTANTIATE_TYPED_TEST_SUITE_P(AffineTransform, ComponentConformance, AffineComponents);

namespace {

ComPtr<ILumRegion> affineRegion(double a, double b, double c, double d, double tx, double ty) {
  auto region = createObject<ILumRectangleAffine>(CLSID_LumRectangleAffine);
  region->SetUnitSquareTransform(
      lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(a, b, c, d), {tx, ty})).get());
  return region.as<ILumRegion>();
}

ComPtr<ILumRegion> upright(double x, double y, double width, double height) {
  return affineRegion(width, 0, 0, height, x, y);
}

std::pair<LONG, LONG> sizeOf(ILumImage* image) {
  LONG width = 0, height = 0;
  image->get_Width(&width), image->get_Height(&height);
  return {width, height};
}

int ramp(int x, int y) {
  return (x * 7 + y * 13) & 0xff;
}

}  // namespace

TEST(AffineTransform, OutputSizeFollowsSidesAndScalings) {
  auto op = conformance::make<CLumAffineTransform>();
  auto input = grey8Image(120, 60, ramp);
  const struct {
    double side, scalingX;
    LumAffineTransformSamplingModeConstants mode;
    HRESULT expected;
    LONG width;
  } cases[] = {
      {100, 1, lumAffineTransformSamplingModeBilinearAccurate, S_OK, 100},
      {100, 0.5, lumAffineTransformSamplingModeBilinearAccurate, S_OK, 50},
      {100, 0.004, lumAffineTransformSamplingModeBilinearAccurate, e_LumIP_AffineTransform_ZeroSize,
       0},
      {32767.6, 1, lumAffineTransformSamplingModeBilinearInterpolation,
       e_LumIP_AffineTransform_OverSize, 0},
      {32767.6, 1, lumAffineTransformSamplingModeHighPrecision, e_LumIP_AffineTransform_OverSize,
       0},
      {32767.6, 1, lumAffineTransformSamplingModeBilinearAccurate, S_OK, 32768},
  };
  for (const auto& c : cases) {
    op->put_ScalingX(c.scalingX);
    op->put_SamplingMode(c.mode);
    ComPtr<ILumImage> output;
    ASSERT_EQ(op->Execute(input.get(), upright(3, 2, c.side, 50).get(), nullptr, output.put()),
              c.expected)
        << c.side << " " << c.scalingX;
    if (c.expected == S_OK) {
      EXPECT_EQ(sizeOf(output.get()), std::make_pair(c.width, LONG{50}));
    }
  }
  ComPtr<ILumImage> output;
  EXPECT_EQ(op->Execute(input.get(), nullptr, nullptr, nullptr), E_POINTER);
  EXPECT_EQ(op->Execute(nullptr, nullptr, nullptr, output.put()), hresultFrom(0x8004E400));
  auto range = range16Image(4, 4, ramp, ramp);
  EXPECT_EQ(op->Execute(range.get(), nullptr, nullptr, output.put()), hresultFrom(0x8004E105));
  EXPECT_EQ(op->Execute(input.get(), createObject<ILumRegion>(CLSID_LumRectangle).get(), nullptr,
                        output.put()),
            hresultFrom(0x8004E402));
}

TEST(AffineTransform, WholePixelWindowsCopyAndAQuarterTurnMatchesFlipRotate) {
  auto op = conformance::make<CLumAffineTransform>();
  op->put_SamplingMode(lumAffineTransformSamplingModeHighPrecision);
  auto input = grey16Image(9, 6, [](int x, int y) { return x * 1000 + y; });
  ComPtr<ILumImage> window, mask;
  ASSERT_EQ(op->Execute(input.get(), upright(2, 1, 5, 4).get(), mask.put(), window.put()), S_OK);
  const auto pels = pixels16(window.get());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(pels[y][x], (x + 2) * 1000 + y + 1);
  for (const auto& row : pixels8(mask.get()))
    for (BYTE m : row)
      EXPECT_EQ(m, 255);

  // Columns up the image from the bottom-left corner, rows to the right: a clockwise
  // quarter turn of the whole image.
  ComPtr<ILumImage> turned, rotated;
  ASSERT_EQ(op->Execute(input.get(), affineRegion(0, 9, -6, 0, 0, 6).get(), nullptr, turned.put()),
            S_OK);
  auto flip = createObject<ILumIPOneImageFlipRotate>(CLSID_LumIPOneImageFlipRotate);
  flip->put_OperationInPixelSpace(lumIPOneImageFlipRotateOperationRotate90Deg);
  ASSERT_EQ(
      flip->Execute(input.get(), lumRegionModePixelAlignedBoundingBox, nullptr, rotated.put()),
      S_OK);
  EXPECT_EQ(pixels16(turned.get()), pixels16(rotated.get()));
}

TEST(AffineTransform, ClipModesAtTheBorders) {
  auto op = conformance::make<CLumAffineTransform>();
  auto input = grey8Image(20, 10, [](int, int) { return 100; });
  auto halfOut = upright(-5, 2, 10, 4);  // columns 0 to 4 of the output lie left of the image
  ComPtr<ILumImage> output, mask;
  ASSERT_EQ(op->Execute(input.get(), halfOut.get(), mask.put(), output.put()), S_OK);
  const auto zeroes = pixels8(output.get()), inside = pixels8(mask.get());
  for (int x = 0; x < 10; ++x) {
    EXPECT_EQ(zeroes[1][x], x < 5 ? 0 : 100) << x;
    EXPECT_EQ(inside[1][x], x < 5 ? 0 : 255) << x;
  }

  op->put_ClipMode(lumAffineTransformClipModeFill);
  op->put_ClipFillValue(7);
  ASSERT_EQ(op->Execute(input.get(), halfOut.get(), nullptr, output.put()), S_OK);
  EXPECT_EQ(pixels8(output.get())[3][4], 7);
  EXPECT_EQ(pixels8(output.get())[3][5], 100);
  // A fill value beyond the image's depth fails only where filling is needed.
  op->put_ClipFillValue(300);
  EXPECT_EQ(op->Execute(input.get(), halfOut.get(), nullptr, output.put()), E_INVALIDARG);
  EXPECT_EQ(op->Execute(input.get(), upright(1, 1, 5, 5).get(), nullptr, output.put()), S_OK);
  auto twelveBits = grey16Image(20, 10, ramp, lumPixelDepth12Bits);
  EXPECT_EQ(op->Execute(twelveBits.get(), halfOut.get(), nullptr, output.put()), S_OK);
  op->put_ClipFillValue(4096);
  EXPECT_EQ(op->Execute(twelveBits.get(), halfOut.get(), nullptr, output.put()), E_INVALIDARG);
  // Wholly outside in fill mode: every pixel is filled.
  op->put_ClipFillValue(9);
  ASSERT_EQ(op->Execute(input.get(), upright(50, 50, 3, 3).get(), nullptr, output.put()), S_OK);
  for (const auto& row : pixels8(output.get()))
    for (BYTE v : row)
      EXPECT_EQ(v, 9);

  op->put_ClipMode(lumAffineTransformClipModeError);
  EXPECT_EQ(op->Execute(input.get(), halfOut.get(), nullptr, output.put()),
            hresultFrom(0x8004E103));
  EXPECT_NE(takeErrorInfo().helpContext, 0x80048122u);
  EXPECT_EQ(op->Execute(input.get(), upright(50, 50, 3, 3).get(), nullptr, output.put()),
            hresultFrom(0x8004E103));
  EXPECT_EQ(takeErrorInfo().helpContext, 0x80048122u);
  EXPECT_FALSE(output);
}

TEST(AffineTransform, ColourIsSampledPlaneByPlane) {
  auto op = conformance::make<CLumAffineTransform>();
  op->put_ClipMode(lumAffineTransformClipModeFill);
  op->put_ClipFillPlane1Value(200);
  auto input = planarImage(12, 9, ramp);
  auto region = affineRegion(8, 3, -2, 6, 1.3, 2.7);
  ComPtr<ILumImage> output;
  ASSERT_EQ(op->Execute(input.get(), region.get(), nullptr, output.put()), S_OK);
  ComPtr<ILumImage> grey;
  ASSERT_EQ(op->Execute(grey8Image(12, 9, ramp).get(), region.get(), nullptr, grey.put()), S_OK);
  EXPECT_EQ(planePixels(output.get(), 0), pixels8(grey.get()));
  EXPECT_EQ(pixels8(grey.get())[6][7], 0);  // clipped: plane 1 takes its own fill value
  EXPECT_EQ(planePixels(output.get(), 1)[6][7], 200);
}

TEST(AffineTransformTool, RunKeepsTheImagesAndRecordsThem) {
  auto tool = conformance::make<CLumAffineTransformTool>();
  ComPtr<ILumRegion> region;
  tool->get_Region(region.put());
  EXPECT_TRUE(region.as<ILumRectangleAffine>());
  tool->putref_InputImage(grey8Image(16, 12, ramp).get());
  tool->putref_Region(upright(-2, 1, 8, 6).get());
  tool->put_CreateOutputImageMask(VARIANT_TRUE);
  tool->put_LastRunRecordEnable(lumAffineTransformLastRunRecordAll);
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumImage> output, mask;
  tool->get_OutputImage(output.put());
  tool->get_OutputImageMask(mask.put());
  ASSERT_TRUE(output && mask);
  EXPECT_EQ(sizeOf(mask.get()), std::make_pair(LONG{8}, LONG{6}));
  EXPECT_EQ(pixels8(mask.get())[0][1], 0);
  EXPECT_EQ(pixels8(mask.get())[0][2], 255);
  ComPtr<ILumRecord> record;
  ASSERT_EQ(tool->CreateLastRunRecord(record.put()), S_OK);
  LONG count = 0;
  record->get_SubRecordCount(&count);
  EXPECT_EQ(count, 3);  // input image, output image, mask

  tool->putref_InputImage(nullptr);
  ASSERT_EQ(tool->Run(), S_OK);
  tool->get_OutputImage(output.put());
  EXPECT_FALSE(output);
}
