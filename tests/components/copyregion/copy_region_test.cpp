#include <gtest/gtest.h>

#include "components/copyregion/copy_region.h"
#include "components/copyregion/copy_region_tool.h"
#include "support/conformance.h"
#include "support/test_images.h"

using namespace lumtest;

using CopyRegionComponents = ::testing::Types<CLumCopyRegion, CLumCopyRegionTool>;
INSTANTIATE_TYPED_TEST_SUITE_P(CopyRegion, ComponentConformance, CopyRegionComponents);

namespace {

ComPtr<ILumRegion> rectangle(double x, double y, double w, double h) {
  auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
  region->put_X(x), region->put_Y(y), region->put_Width(w), region->put_Height(h);
  return region.as<ILumRegion>();
}

ComPtr<ILumImage> ramp(LONG w, LONG h) {
  return grey8Image(w, h, [](int x, int y) { return 1 + x + 10 * y; });
}

}  // namespace

TEST(CopyRegion, ACircleLandsOnABlackSquare) {
  auto copy = conformance::make<CLumCopyRegion>();
  auto circle = createObject<ILumCircle>(CLSID_LumCircle);
  circle->put_CenterX(6.0), circle->put_CenterY(5.0), circle->put_Radius(3.0);
  ComPtr<ILumImage> output;
  ASSERT_EQ(copy->Execute(ramp(12, 10).get(), circle.as<ILumRegion>().get(), nullptr, nullptr,
                          nullptr, nullptr, output.put()),
            S_OK);
  const Pixels<BYTE> pixels = pixels8(output.get());
  ASSERT_EQ(pixels.size(), 6u);
  ASSERT_EQ(pixels[0].size(), 6u);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      // Pixel (x, y) of the output is input pixel (x + 3, y + 2), inside when its centre is.
      const double dx = x + 3 + 0.5 - 6.0, dy = y + 2 + 0.5 - 5.0;
      const int expected = dx * dx + dy * dy < 9.0 ? 1 + (x + 3) + 10 * (y + 2) : 0;
      EXPECT_EQ(pixels[y][x], expected) << x << "," << y;
    }
}

TEST(CopyRegion, ReportsClippingOnEverySide) {
  const struct {
    double x, y, w, h;         // the region in input pixels (input 10 x 8)
    double alignX, alignY;     // the destination point the input's origin goes to
    bool source, destination;  // expected clip flags (destination 12 x 10)
  } cases[] = {
      {1, 1, 4, 3, 0, 0, false, false}, {-2, 1, 4, 3, 0, 0, true, false},
      {7, 1, 5, 3, 0, 0, true, false},  {1, -1, 4, 3, 0, 0, true, false},
      {1, 6, 4, 4, 0, 0, true, false},  {1, 1, 4, 3, -2, 0, false, true},
      {1, 1, 4, 3, 9, 0, false, true},  {1, 1, 4, 3, 0, -2, false, true},
      {1, 1, 4, 3, 0, 8, false, true},  {-1, -1, 12, 10, 3, 3, true, true},
  };
  auto copy = conformance::make<CLumCopyRegion>();
  copy->put_ImageAlignmentEnabled(VARIANT_TRUE);
  for (const auto& c : cases) {
    copy->put_DestinationImageAlignmentX(c.alignX);
    copy->put_DestinationImageAlignmentY(c.alignY);
    auto destination = grey8Image(12, 10, [](int, int) { return 99; });
    const Pixels<BYTE> before = pixels8(destination.get());
    VARIANT_BOOL source = VARIANT_TRUE, clipped = VARIANT_TRUE;
    ComPtr<ILumRegion> moved;
    ASSERT_EQ(copy->ComputeDestinationRegion(ramp(10, 8).get(), rectangle(c.x, c.y, c.w, c.h).get(),
                                             destination.get(), &source, &clipped, moved.put()),
              S_OK);
    EXPECT_EQ(source != VARIANT_FALSE, c.source) << c.x << "," << c.y << " " << c.alignX;
    EXPECT_EQ(clipped != VARIANT_FALSE, c.destination) << c.x << "," << c.y << " " << c.alignX;
    EXPECT_EQ(pixels8(destination.get()), before);  // nothing written

    ComPtr<ILumImage> output;
    VARIANT_BOOL executedSource = VARIANT_FALSE, executedClipped = VARIANT_FALSE;
    ASSERT_EQ(
        copy->Execute(ramp(10, 8).get(), rectangle(c.x, c.y, c.w, c.h).get(), destination.get(),
                      &executedSource, &executedClipped, nullptr, output.put()),
        S_OK);
    EXPECT_EQ(executedSource, source);
    EXPECT_EQ(executedClipped, clipped);
    EXPECT_EQ(output.get(), destination.get());
  }
}

TEST(CopyRegion, WritesTheDestinationInPlaceWithAlignment) {
  auto copy = conformance::make<CLumCopyRegion>();
  copy->put_ImageAlignmentEnabled(VARIANT_TRUE);
  copy->put_InputImageAlignmentX(2), copy->put_InputImageAlignmentY(1);
  copy->put_DestinationImageAlignmentX(0), copy->put_DestinationImageAlignmentY(3);
  copy->put_FillBoundingBox(VARIANT_FALSE);
  auto destination = grey8Image(5, 6, [](int, int) { return 200; });
  ComPtr<ILumImage> output;
  ASSERT_EQ(copy->Execute(ramp(8, 8).get(), rectangle(2, 1, 2, 2).get(), destination.get(), nullptr,
                          nullptr, nullptr, output.put()),
            S_OK);
  Pixels<BYTE> expected(6, std::vector<BYTE>(5, 200));
  expected[3][0] = 13, expected[3][1] = 14, expected[4][0] = 23, expected[4][1] = 24;
  EXPECT_EQ(pixels8(destination.get()), expected);

  // Filling the region writes the fill value there instead.
  copy->put_FillRegion(VARIANT_TRUE);
  copy->put_FillRegionValue(7);
  ASSERT_EQ(copy->Execute(ramp(8, 8).get(), rectangle(2, 1, 2, 2).get(), destination.get(), nullptr,
                          nullptr, nullptr, output.put()),
            S_OK);
  expected[3][0] = expected[3][1] = expected[4][0] = expected[4][1] = 7;
  EXPECT_EQ(pixels8(destination.get()), expected);
}

TEST(CopyRegion, RefusesWhatItCannotWrite) {
  auto copy = conformance::make<CLumCopyRegion>();
  ComPtr<ILumImage> output;
  EXPECT_EQ(copy->put_FillRegionValue(300), S_OK);
  EXPECT_EQ(copy->put_FillRegion(VARIANT_TRUE), S_OK);
  EXPECT_EQ(
      copy->Execute(ramp(4, 4).get(), nullptr, nullptr, nullptr, nullptr, nullptr, output.put()),
      E_INVALIDARG);
  EXPECT_EQ(copy->Execute(grey16Image(4, 4, [](int, int) { return 1; }).get(), nullptr, nullptr,
                          nullptr, nullptr, nullptr, output.put()),
            S_OK);  // 300 fits a 16-bit image
  EXPECT_EQ(
      copy->Execute(ramp(4, 4).get(), nullptr, grey16Image(4, 4, [](int, int) { return 1; }).get(),
                    nullptr, nullptr, nullptr, output.put()),
      hresultFrom(0x8004E105));
  EXPECT_EQ(copy->Execute(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, output.put()),
            hresultFrom(0x8004E400));
  EXPECT_EQ(copy->Execute(ramp(4, 4).get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
            E_POINTER);
  EXPECT_EQ(copy->put_SpaceTreeMode(static_cast<LumCopyRegionSpaceTreeModeConstants>(4)),
            E_INVALIDARG);
}

TEST(CopyRegionTool, RunKeepsTheOutputAndTheMovedRegion) {
  auto tool = conformance::make<CLumCopyRegionTool>();
  tool->putref_InputImage(ramp(9, 7).get());
  tool->putref_Region(rectangle(-1, 2, 4, 3).get());
  ASSERT_EQ(tool->Run(), S_OK);
  ComPtr<ILumImage> output;
  tool->get_OutputImage(output.put());
  ASSERT_TRUE(output);
  EXPECT_EQ(pixels8(output.get()).size(), 3u);
  VARIANT_BOOL clipped = VARIANT_FALSE;
  tool->get_SourceClipped(&clipped);
  EXPECT_NE(clipped, VARIANT_FALSE);
  ComPtr<ILumRegion> moved;
  tool->get_DestinationRegion(moved.put());
  EXPECT_TRUE(moved);
}
