#include <gtest/gtest.h>

#include <cmath>

#include "components/orient/flip_rotate.h"
#include "components/sampling/sampling.h"
#include "support/conformance.h"
#include "support/operator_runs.h"
#include "support/placement.h"

using namespace lumtest;

using SamplingOperators =
    ::testing::Types<CLumIPOneImageSubSampler, CLumIPOneImageExpand, CLumIPOneImageGaussSampler>;
INSTANTIATE_TYPED_TEST_SUITE_P(Sampling, ComponentConformance, SamplingOperators);

namespace {

int xy(int x, int y) {
  return 16 * y + x;
}

}  // namespace

TEST(Sampling, EverySamplerKeepsItsPixelsAtTheirClientPositions) {
  std::mt19937 random(9);
  // Regions of at least 4 x 4 inside the image, so that every sampler has output.
  std::uniform_int_distribution<int> size(12, 30), side(4, 6), corner(0, 5), factor(1, 4);
  auto sub = conformance::make<CLumIPOneImageSubSampler>();
  auto expand = conformance::make<CLumIPOneImageExpand>();
  auto gauss = conformance::make<CLumIPOneImageGaussSampler>();
  gauss->put_SmoothnessX(0), gauss->put_SmoothnessY(0);  // picking only, values kept
  for (int round = 0; round < 8; ++round) {
    auto input =
        grey8Image(size(random), size(random), [](int x, int y) { return 7 * x + 31 * y; });
    placeRandomly(input.get(), random);
    auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
    region->put_X(corner(random)), region->put_Y(corner(random));
    region->put_Width(side(random)), region->put_Height(side(random));
    region->put_SelectedSpaceName(lum::Bstr(L"#").get());
    const LONG fx = factor(random), fy = factor(random);
    sub->put_SampleX(fx), sub->put_SampleY(fy);
    expand->put_ExpansionX(fx), expand->put_ExpansionY(fy);
    gauss->put_SampleX(fy), gauss->put_SampleY(fx);
    for (ILumIPOneImageOperator* op : {static_cast<ILumIPOneImageOperator*>(sub.get()),
                                       static_cast<ILumIPOneImageOperator*>(expand.get()),
                                       static_cast<ILumIPOneImageOperator*>(gauss.get())}) {
      auto output = execute(op, input.get(), region.as<ILumRegion>().get());
      EXPECT_GT(expectPixelsSitOnTheirSources(input.get(), output.get()), 0) << fx << " x " << fy;
    }
  }
}

TEST(SubSampler, AveragesColourPlanesAndSixteenBitImages) {
  auto op = conformance::make<CLumIPOneImageSubSampler>();
  op->put_SampleX(2), op->put_SampleY(2), op->put_SpatialAverage(VARIANT_TRUE);
  auto colour = execute(op.get(), planarImage(4, 2, xy).get());
  // Blocks {0, 1, 16, 17} and {2, 3, 18, 19}: means 8.5 and 10.5 round up.
  EXPECT_EQ(planePixels(colour.get(), 0), (Pixels<BYTE>{{9, 11}}));
  EXPECT_EQ(planePixels(colour.get(), 2), (Pixels<BYTE>{{11, 13}}));
  auto grey16 =
      execute(op.get(), grey16Image(3, 3, [](int x, int y) { return 1000 * x + y; }).get());
  EXPECT_EQ(pixels16(grey16.get()), (Pixels<USHORT>{{501, 2001}, {502, 2002}}));
  EXPECT_EQ(op->put_SampleX(0), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x80048104u);
}

TEST(GaussSampler, ShiftIsKeptAsAFactorAndSigmaFollowsTheSmoothness) {
  auto op = conformance::make<CLumIPOneImageGaussSampler>();
  double sigma = 0;
  op->get_SigmaX(&sigma);
  EXPECT_DOUBLE_EQ(sigma, std::sqrt(2.0));
  EXPECT_EQ(op->put_MagnitudeShift(8), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x8004810Fu);
  EXPECT_EQ(op->put_MagnitudeShift(-7), S_OK);
  LONG shift = 0;
  op->get_MagnitudeShift(&shift);
  EXPECT_EQ(shift, -7);
  ComPtr<ILumObject> clone;
  ASSERT_EQ(op->Clone(clone.put()), S_OK);
  clone.as<ILumIPOneImageGaussSampler>()->get_MagnitudeShift(&shift);
  EXPECT_EQ(shift, -7);

  op->put_MagnitudeShift(1);
  auto output = execute(op.get(), grey8Image(5, 5, [](int, int) { return 100; }).get());
  EXPECT_EQ(pixels8(output.get())[2][2], 200);
  execute(op.get(), grey16Image(3, 3, xy).get(), nullptr, HRESULT(0x8004E105));
}

TEST(Sampling, OperatorsRunAsAChainInATool) {
  auto flip = conformance::make<CLumIPOneImageFlipRotate>();
  flip->put_OperationInPixelSpace(lumIPOneImageFlipRotateOperationRotate270Deg);
  auto sub = conformance::make<CLumIPOneImageSubSampler>();
  sub->put_SampleX(2), sub->put_SpatialAverage(VARIANT_TRUE);
  auto expand = conformance::make<CLumIPOneImageExpand>();
  expand->put_ExpansionY(3);
  auto gauss = conformance::make<CLumIPOneImageGaussSampler>();
  auto input = grey8Image(9, 7, xy);
  const auto expected = pixels8(
      execute(gauss.get(), execute(expand.get(),
                                   execute(sub.get(), execute(flip.get(), input.get()).get()).get())
                               .get())
          .get());

  auto output = runInTool({flip.get(), sub.get(), expand.get(), gauss.get()}, input.get());
  ASSERT_TRUE(output);
  EXPECT_EQ(pixels8(output.get()), expected);
}
