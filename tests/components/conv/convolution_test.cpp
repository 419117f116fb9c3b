#include <gtest/gtest.h>

#include <cmath>

#include "components/arith/constant_arithmetic.h"
#include "components/conv/convolution.h"
#include "lumxip/ip/one_image_tool.h"
#include "support/conformance.h"
#include "support/test_images.h"

using namespace lumtest;

using ConvolutionOperators = ::testing::Types<CLumIPOneImageConvolve3x3, CLumIPOneImageConvolveNxM,
                                              CLumIPOneImageHighPassFilter>;
INSTANTIATE_TYPED_TEST_SUITE_P(Convolution, ComponentConformance, ConvolutionOperators);

namespace {

ComPtr<ILumImage> execute(ILumIPOneImageOperator* op, ILumImage* input, HRESULT expected = S_OK) {
  ComPtr<ILumImage> output;
  EXPECT_EQ(op->Execute(input, lumRegionModePixelAlignedBoundingBox, nullptr, output.put()),
            expected);
  return output;
}

// Where pixel (0, 0) of an image lies in its selected space.
std::pair<double, double> originOf(ILumImage* image) {
  ComPtr<ILumTransform2D> t;
  image->GetTransform(lum::Bstr(L".").get(), lum::Bstr(L"#").get(), t.put());
  double x = 0, y = 0;
  t->MapPoint(0, 0, &x, &y);
  return {x, y};
}

ComPtr<CLumIPOneImageConvolve3x3> singleWeight(LONG position, LONG origin) {
  auto op = conformance::make<CLumIPOneImageConvolve3x3>();
  for (LONG p = 0; p < 9; ++p)
    op->put_KernelValue(LumIPOneImageConvolve3x3PositionConstants(p), p == position ? 1.0 : 0.0);
  op->put_KernelOrigin(LumIPOneImageConvolve3x3PositionConstants(origin));
  return op;
}

int xy(int x, int y) {
  return 16 * y + x;
}

}  // namespace

TEST(Convolve3x3, DefaultKernelGivesOneLessOnFlatImages) {
  auto op = conformance::make<CLumIPOneImageConvolve3x3>();
  for (int v = 0; v < 256; v += 17) {
    auto output = execute(op.get(), grey8Image(4, 4, [&](int, int) { return v; }).get());
    const auto pixels = pixels8(output.get());
    ASSERT_EQ(pixels.size(), 2u);
    EXPECT_EQ(pixels[1][1], v == 0 ? 0 : v - 1) << v;
  }
}

TEST(Convolve3x3, ASingleWeightPicksTheMirroredNeighbourAndTheOriginPlacesTheOutput) {
  auto input = grey8Image(6, 5, xy);
  // The north-west weight meets the block's south-east pixel.
  auto nw = execute(singleWeight(lumIPOneImageConvolve3x3PositionNorthWest, 4).get(), input.get());
  EXPECT_EQ(pixels8(nw.get())[0][0], xy(2, 2));
  for (LONG origin = 0; origin < 9; ++origin) {
    auto output = execute(singleWeight(4, origin).get(), input.get());
    const auto [x, y] = originOf(output.get());
    EXPECT_DOUBLE_EQ(x, 1 + origin % 3 - 1) << origin;
    EXPECT_DOUBLE_EQ(y, 1 + origin / 3 - 1) << origin;
    EXPECT_EQ(pixels8(output.get())[0][0], xy(1, 1)) << origin;
  }
}

TEST(Convolve3x3, ResultsWrapToTheirLowEightBits) {
  auto op = singleWeight(4, 4);
  op->put_KernelValue(lumIPOneImageConvolve3x3PositionCenter, 2.0);
  op->put_KernelValue(lumIPOneImageConvolve3x3PositionNorth, -1.0);
  auto output =
      execute(op.get(), grey8Image(3, 3, [](int, int y) { return y == 2 ? 250 : 5; }).get());
  // 2 * 5 - 250 = -240, whose low 8 bits are 16.
  EXPECT_EQ(pixels8(output.get())[0][0], 16);
}

TEST(Convolve3x3, KernelCollectionAndPositionsAreChecked) {
  auto op = conformance::make<CLumIPOneImageConvolve3x3>();
  EXPECT_EQ(op->put_KernelValue(LumIPOneImageConvolve3x3PositionConstants(9), 1), E_INVALIDARG);
  ComPtr<ILumCollection> kernel;
  ASSERT_EQ(op->get_Kernel(kernel.put()), S_OK);
  kernel->putref_Item(8, *lum::Variant(5.0).ptr());
  EXPECT_EQ(op->put_Kernel(kernel.get()), S_OK);
  double value = 0;
  op->get_KernelValue(lumIPOneImageConvolve3x3PositionSouthEast, &value);
  EXPECT_EQ(value, 5.0);
  kernel->Remove(*lum::Variant(int32_t(0)).ptr());
  EXPECT_EQ(op->put_Kernel(kernel.get()), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x8004810Du);
  ComPtr<ILumImage> tooSmall;
  EXPECT_TRUE(FAILED(op->Execute(grey8Image(2, 5, xy).get(), 1, nullptr, tooSmall.put())));
  EXPECT_FALSE(tooSmall);
}

TEST(ConvolveNxM, SizesStayOddAndKeepTheirValues) {
  auto op = conformance::make<CLumIPOneImageConvolveNxM>();
  EXPECT_EQ(op->put_KernelWidth(4), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, DWORD(e_LumIP_NxMKernelSize));
  op->SetKernelValue(2, 1, 7.0);
  EXPECT_EQ(op->put_KernelWidth(5), S_OK);
  double value = 0;
  op->GetKernelValue(2, 1, &value);
  EXPECT_EQ(value, 7.0);
  op->GetKernelValue(4, 2, &value);
  EXPECT_EQ(value, 1.0);
  EXPECT_EQ(op->GetKernelValue(5, 0, &value), E_INVALIDARG);
  EXPECT_EQ(op->GetKernelValue(0, 0, nullptr), E_POINTER);

  // By name, as a script calls it: the setter is not mistaken for the getter.
  IDispatch* dispatch = conformance::dispatchOf(*op);
  EXPECT_EQ(conformance::invokeMethod(
                dispatch, L"SetKernelValue",
                {lum::Variant(int32_t{1}), lum::Variant(int32_t{0}), lum::Variant(-3.0)}),
            S_OK);
  lum::Variant read;
  EXPECT_EQ(conformance::invokeMethod(dispatch, L"GetKernelValue",
                                      {lum::Variant(int32_t{1}), lum::Variant(int32_t{0})}, &read),
            S_OK);
  EXPECT_EQ(read.get().dblVal, -3.0);
}

TEST(ConvolveNxM, AllZeroKernelFailsAtExecuteNotBefore) {
  auto op = conformance::make<CLumIPOneImageConvolveNxM>();
  for (LONG y = 0; y < 3; ++y)
    for (LONG x = 0; x < 3; ++x)
      EXPECT_EQ(op->SetKernelValue(x, y, 0.0), S_OK);
  execute(op.get(), grey8Image(5, 5, xy).get(), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, DWORD(e_LumIP_NxMKernelValuesAllZero));
}

TEST(ConvolveNxM, MeanKernelAveragesAndTheKernelSurvivesCloneAndStream) {
  auto op = conformance::make<CLumIPOneImageConvolveNxM>();
  op->put_KernelWidth(5);
  op->put_BoundaryMode(lumIPOneImageBoundaryModeClipped);
  op->SetKernelValue(0, 0, 3.0);
  auto input = grey8Image(7, 5, [](int x, int) { return 10 * x; });
  const auto expected = pixels8(execute(op.get(), input.get()).get());
  ASSERT_EQ(expected.size(), 3u);
  ASSERT_EQ(expected[0].size(), 3u);
  // Turned by 180 degrees, the weight 3 meets the pixel two right of the centre (50);
  // the other fourteen weights 1 meet 3 * (10 + ... + 50) - 50: 550 / 17 rounds to 32.
  EXPECT_EQ(expected[1][1], 32);

  ComPtr<ILumObject> clone;
  ASSERT_EQ(op->Clone(clone.put()), S_OK);
  auto copy = clone.as<ILumIPOneImageConvolveNxM>();
  EXPECT_EQ(pixels8(execute(copy.get(), input.get()).get()), expected);
}

TEST(HighPassFilter, SigmaFollowsTheSmoothnessAndFlatImagesGiveMidGrey) {
  auto op = conformance::make<CLumIPOneImageHighPassFilter>();
  double sigma = -1;
  op->put_SmoothnessX(2);
  op->get_SigmaX(&sigma);
  EXPECT_DOUBLE_EQ(sigma, std::sqrt(2.0));
  op->put_SmoothnessY(0);
  op->get_SigmaY(&sigma);
  EXPECT_EQ(sigma, 0.0);
  auto output = execute(op.get(), planarImage(5, 4, [](int, int) { return 90; }).get());
  for (int p = 0; p < 3; ++p)
    EXPECT_EQ(planePixels(output.get(), p)[2][3], 128) << p;
  execute(op.get(), grey16Image(3, 3, xy).get(), HRESULT(0x8004E105));
}

TEST(Convolution, OperatorsChainInATool) {
  auto add = conformance::make<CLumIPOneImageAddSubtractConstant>();
  add->put_ConstantValue(40);
  auto smooth = conformance::make<CLumIPOneImageConvolve3x3>();
  auto highPass = conformance::make<CLumIPOneImageHighPassFilter>();
  auto input = grey8Image(9, 7, xy);
  const auto expected = pixels8(
      execute(highPass.get(), execute(smooth.get(), execute(add.get(), input.get()).get()).get())
          .get());

  auto tool = createObject<ILumIPOneImageTool>(CLSID_LumIPOneImageTool);
  ComPtr<ILumIPOneImageOperators> ops;
  tool->get_Operators(ops.put());
  for (ILumIPOneImageOperatorParams* op :
       {static_cast<ILumIPOneImageOperatorParams*>(add.get()),
        static_cast<ILumIPOneImageOperatorParams*>(smooth.get()),
        static_cast<ILumIPOneImageOperatorParams*>(highPass.get())})
    ASSERT_EQ(ops->Add(op, -1), S_OK);
  tool->putref_InputImage(input.get());
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumImage> output;
  tool->get_OutputImage(output.put());
  ASSERT_TRUE(output);
  EXPECT_EQ(pixels8(output.get()), expected);
}
