#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "components/affine/polar_unwrap.h"
#include "components/affine/polar_unwrap_tool.h"
#include "lumxip/HalvexImageProcessing.h"
#include "support/conformance.h"
#include "support/test_images.h"

using namespace lumtest;

using PolarComponents = ::testing::Types<CLumPolarUnwrap, CLumPolarUnwrapTool>;
INSTANTIATE_TYPED_TEST_SUITE_P(PolarUnwrap, ComponentConformance, PolarComponents);

namespace {

constexpr double kPi = std::numbers::pi;

struct Section {
  double cx = 50, cy = 40, rx = 20, ry = 20, rotation = 0, scale = 1.5, start = 0, end = kPi;
  bool fromStart = true, fromBase = true;
};

ComPtr<ILumRegion> region(const Section& s) {
  auto r = createObject<ILumEllipticalAnnulusSection>(CLSID_LumEllipticalAnnulusSection);
  r->put_CenterX(s.cx), r->put_CenterY(s.cy), r->put_RadiusX(s.rx), r->put_RadiusY(s.ry);
  r->put_Rotation(s.rotation), r->put_RadialScale(s.scale);
  r->put_StartAngle(s.start), r->put_EndAngle(s.end);
  r->put_AngleFromStart(s.fromStart ? VARIANT_TRUE : VARIANT_FALSE);
  r->put_RadialFromBase(s.fromBase ? VARIANT_TRUE : VARIANT_FALSE);
  return r.as<ILumRegion>();
}

std::pair<LONG, LONG> sizeOf(ILumImage* image) {
  LONG width = 0, height = 0;
  image->get_Width(&width), image->get_Height(&height);
  return {width, height};
}

}  // namespace

TEST(PolarUnwrap, SizesRegionsAndClipping) {
  auto op = conformance::make<CLumPolarUnwrap>();
  auto input = grey8Image(200, 150, [](int x, int y) { return x + y; });
  ComPtr<ILumImage> output;
  // Radii 50 and 60 over a half turn: the middle arc is 55 pi long.
  Section ring{100, 75, 50, 50, 0, 1.2, 0, kPi};
  ASSERT_EQ(op->Execute(input.get(), region(ring).get(), output.put()), S_OK);
  EXPECT_EQ(sizeOf(output.get()), std::make_pair(LONG{173}, LONG{10}));

  EXPECT_EQ(op->Execute(input.get(), nullptr, output.put()), e_LumIP_PolarUnwrapNullRegion);
  EXPECT_EQ(
      op->Execute(input.get(), createObject<ILumRegion>(CLSID_LumRectangle).get(), output.put()),
      e_LumIP_PolarUnwrapInvalidRegion);
  Section outside = ring;
  outside.cx = 30;
  EXPECT_EQ(op->Execute(input.get(), region(outside).get(), output.put()),
            e_LumIP_PolarUnwrapRegionClipped);
  EXPECT_FALSE(output);
  Section thin = ring;
  thin.ry = 0.0001;
  EXPECT_EQ(op->Execute(input.get(), region(thin).get(), output.put()), hresultFrom(0x8004E402));
  op->put_ScalingX(1000);
  EXPECT_EQ(op->Execute(input.get(), region(ring).get(), output.put()),
            e_LumIP_PolarUnwrapSamplingXOverflow);
}

TEST(PolarUnwrap, RowsFollowTheRadius) {
  // Each pixel holds 100 times its centre's distance from (60, 50): output row j holds
  // about 100 times the radius it samples.
  auto input = grey16Image(120, 100, [](int x, int y) {
    return int(std::lround(100 * std::hypot(x + 0.5 - 60, y + 0.5 - 50)));
  });
  auto op = conformance::make<CLumPolarUnwrap>();
  Section s{60, 50, 20, 20, 0.3, 2, -1, 4};
  ComPtr<ILumImage> output;
  ASSERT_EQ(op->Execute(input.get(), region(s).get(), output.put()), S_OK);
  const auto pels = pixels16(output.get());
  ASSERT_EQ(pels.size(), 20u);
  for (size_t j = 0; j < pels.size(); ++j)
    for (USHORT v : pels[j])
      ASSERT_NEAR(v, 100 * (20 + (j + 0.5)), 10) << j;
  op->put_SamplingMode(lumPolarUnwrapSamplingModeNearestNeighbor);
  ASSERT_EQ(op->Execute(input.get(), region(s).get(), output.put()), S_OK);
  for (size_t j = 0; j < pels.size(); ++j)
    EXPECT_NEAR(pixels16(output.get())[j][7], 100 * (20 + (j + 0.5)), 71);
}

TEST(PolarUnwrap, PointsMapThereAndBack) {
  auto op = conformance::make<CLumPolarUnwrap>();
  op->put_ScalingX(0.7);
  auto input = grey8Image(200, 150, [](int, int) { return 0; });
  Section s{90, 70, 40, 25, 0.4, 1.6, 2.5, 0.5, false, false};
  auto r = region(s);
  for (double x : {0.5, 17.25, 60.0})
    for (double y : {0.1, 5.5, 11.0}) {
      double ix = 0, iy = 0;
      ASSERT_EQ(op->GetInputPointFromOutputPoint(input.get(), r.get(), x, y, &ix, &iy), S_OK);
      double out[3] = {}, oy = 0;
      for (LONG turn : {0, 1, 2})
        ASSERT_EQ(
            op->GetOutputPointFromInputPoint(input.get(), r.get(), ix, iy,
                                             *lum::Variant(int32_t{turn}).ptr(), &out[turn], &oy),
            S_OK);
      EXPECT_NEAR(out[0], x, 1e-9) << x << "," << y;
      EXPECT_NEAR(oy, y, 1e-9) << x << "," << y;
      EXPECT_NEAR(out[2] - out[0], 2 * (out[1] - out[0]), 1e-9);
      EXPECT_GT(out[1] - out[0], 60);  // a turn spans more columns than the section
    }
  double ox = 0, oy = 0;
  EXPECT_EQ(
      op->GetOutputPointFromInputPoint(input.get(), region(s).get(), 90, 70, VARIANT{}, &ox, &oy),
      e_LumIP_PolarUnwrapInvalidMapPoint);
}

TEST(PolarUnwrapTool, RunKeepsTheOutput) {
  auto tool = conformance::make<CLumPolarUnwrapTool>();
  tool->putref_InputImage(grey8Image(100, 80, [](int x, int) { return x; }).get());
  tool->putref_Region(region(Section{}).get());
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumImage> output;
  tool->get_OutputImage(output.put());
  ASSERT_TRUE(output);
  ComPtr<ILumRecord> record;
  ASSERT_EQ(tool->CreateLastRunRecord(record.put()), S_OK);
  LONG count = 0;
  record->get_SubRecordCount(&count);
  EXPECT_EQ(count, 2);  // input image, output image
}
