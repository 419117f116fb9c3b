#include <gtest/gtest.h>

#include <cmath>

#include "components/orient/flip_rotate.h"
#include "components/sampling/sample_convolve.h"
#include "components/sampling/sampling.h"
#include "support/conformance.h"
#include "support/event_recorder.h"
#include "support/operator_runs.h"
#include "support/placement.h"

using namespace lumtest;

using SamplingOperators =
    ::testing::Types<CLumIPOneImageSubSampler, CLumIPOneImageExpand, CLumIPOneImageGaussSampler,
                     CLumIPOneImageSampleConvolve>;
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
  gauss->put_SmoothnessX(0), gauss->put_SmoothnessY(0);               // picking only, values kept
  auto convolve = conformance::make<CLumIPOneImageSampleConvolve>();  // one weight each
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
    convolve->put_SampleX(fx | 1), convolve->put_SampleY(fy | 1);  // odd: samples on pixels
    for (ILumIPOneImageOperator* op : {static_cast<ILumIPOneImageOperator*>(sub.get()),
                                       static_cast<ILumIPOneImageOperator*>(expand.get()),
                                       static_cast<ILumIPOneImageOperator*>(gauss.get()),
                                       static_cast<ILumIPOneImageOperator*>(convolve.get())}) {
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
  auto convolve = conformance::make<CLumIPOneImageSampleConvolve>();
  convolve->SetGaussSample(1.5, 0.8);
  auto input = grey8Image(9, 7, xy);
  const auto step = [&input](auto* op) { input = execute(op, input.get()); };
  const auto original = input;
  step(flip.get()), step(sub.get()), step(expand.get()), step(gauss.get()), step(convolve.get());
  const auto expected = pixels8(input.get());

  auto output =
      runInTool({flip.get(), sub.get(), expand.get(), gauss.get(), convolve.get()}, original.get());
  ASSERT_TRUE(output);
  EXPECT_EQ(pixels8(output.get()), expected);
}

TEST(SampleConvolve, FractionalRatesSampleTheSpanCentresInClientCoordinates) {
  // On a ramp, interpolation between neighbours gives the ramp at the sample point.
  std::mt19937 random(4);
  std::uniform_real_distribution<double> rate(0.6, 2.5);
  auto op = conformance::make<CLumIPOneImageSampleConvolve>();
  const auto ramp = [](double x, double y) { return 3 * x + 5 * y; };
  for (int round = 0; round < 6; ++round) {
    auto input = grey8Image(20, 15, [&](int x, int y) { return int(ramp(x, y)); });
    placeRandomly(input.get(), random);
    op->put_SampleX(rate(random)), op->put_SampleY(rate(random));
    auto output = execute(op.get(), input.get());
    const auto out = pixels8(output.get());
    ASSERT_FALSE(out.empty());
    for (std::size_t y = 0; y < out.size(); ++y)
      for (std::size_t x = 0; x < out[y].size(); ++x) {
        const auto [cx, cy] = mapped(output.get(), L".", L"#", x + 0.5, y + 0.5);
        const auto [px, py] = mapped(input.get(), L"#", L".", cx, cy);
        const double u = px - 0.5, v = py - 0.5;           // in pixel indexes
        if (u < 0 || v < 0 || u > 19 || v > 14) continue;  // mirrored beyond the edge pixels
        EXPECT_NEAR(out[y][x], ramp(u, v), 1.0) << "output pixel " << x << "," << y;
      }
  }
}

TEST(SampleConvolve, KernelsAreCheckedGrownAndSetAsGaussians) {
  auto op = conformance::make<CLumIPOneImageSampleConvolve>();
  auto recorder = lum::makeComObject<EventRecorder>();
  adviseSink(static_cast<ILumIPOneImageSampleConvolve*>(op.get()), recorder.get());
  const auto size = [&op](bool x) {
    LONG n = 0;
    x ? op->get_KernelXSize(&n) : op->get_KernelYSize(&n);
    return n;
  };
  const auto weight = [&op](LONG index) {
    LONG w = 0;
    EXPECT_EQ(op->GetKernelXValue(index, &w), S_OK);
    return w;
  };
  EXPECT_EQ(size(true), 1);  // Gaussian sampling at rate 1: the single weight 128
  EXPECT_EQ(weight(0), 128);
  const auto refused = [](HRESULT hr, DWORD message) {
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_EQ(takeErrorInfo().helpContext, message);
  };
  refused(op->put_KernelXSize(4), 0x80048083u);  // the plain text of E_INVALIDARG
  refused(op->put_KernelXSize(0), 0x80048105u);
  refused(op->put_KernelYSize(129), 0x80048107u);
  refused(op->SetKernelXValue(0, 129), 0x80048100u);
  refused(op->SetKernelYValue(1, 5), 0x8004810Fu);
  refused(op->SetGaussSample(0, 1), 0x80048104u);
  refused(op->SetGaussSigma(1, -1), 0x80048105u);
  EXPECT_EQ(size(true), 1);
  EXPECT_TRUE(recorder->events().empty());

  EXPECT_EQ(op->put_KernelXSize(3), S_OK);  // grows with zeros
  EXPECT_EQ(weight(1), 0);
  EXPECT_EQ(op->SetKernelXValue(2, -128), S_OK);
  EXPECT_EQ(op->SetGaussSample(2, 3), S_OK);  // sigma sqrt(3) / 2
  EXPECT_EQ(size(true), 5);
  EXPECT_EQ(weight(1), 66);
  EXPECT_EQ(op->SetGaussSigma(1, 0), S_OK);
  EXPECT_EQ(size(true), 7);
  EXPECT_EQ(size(false), 1);
  const auto events = recorder->events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].stateId(), lumIPOneImageSampleConvolve_KernelXSize);
  EXPECT_EQ(events[0].flags(), lumChangeSetByClient | lumFA_IPOneImageSampleConvolve_KernelXSize);
  EXPECT_EQ(events[1].stateId(), lumIPOneImageSampleConvolve_GetKernelXValue);
  EXPECT_EQ(events[2].stateId(), lumStateSeveralChanged);
  EXPECT_EQ(events[2].flags(),
            lumChangeSetByClient | lumFA_IPOneImageSampleConvolve_SetGaussSample);
  EXPECT_EQ(events[3].flags(), lumChangeSetByClient | lumFA_IPOneImageSampleConvolve_SetGaussSigma);

  ComPtr<ILumObject> clone;  // kernels and rates travel together
  ASSERT_EQ(op->Clone(clone.put()), S_OK);
  auto copy = clone.as<ILumIPOneImageSampleConvolve>();
  LONG n = 0, w = 0;
  double rateY = 0;
  copy->get_KernelXSize(&n), copy->GetKernelXValue(1, &w), copy->get_SampleY(&rateY);
  EXPECT_EQ(n, 7);
  EXPECT_EQ(w, 17);
  EXPECT_EQ(rateY, 3.0);
}

TEST(SampleConvolve, RunsOnGreyImagesOnly) {
  auto op = conformance::make<CLumIPOneImageSampleConvolve>();
  op->put_SampleX(2);
  auto grey16 = execute(op.get(), grey16Image(4, 2, [](int x, int) { return 1000 * x; }).get());
  EXPECT_EQ(pixels16(grey16.get()), (Pixels<USHORT>{{500, 2500}, {500, 2500}}));
  execute(op.get(), planarImage(3, 3, xy).get(), nullptr, HRESULT(0x8004E105));
  op->SetKernelYValue(0, 0);  // a kernel of zeros has no scale
  ComPtr<ILumImage> output;
  EXPECT_TRUE(FAILED(op->Execute(grey8Image(3, 3, xy).get(), lumRegionModePixelAlignedBoundingBox,
                                 nullptr, output.put())));
}
