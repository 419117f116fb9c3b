#include "components/bridge/region_mask.h"

#include <gtest/gtest.h>
#include "components/bridge/image_bridge.h"

#include "components/framework/com_error.h"
#include "support/core_objects.h"
#include "support/test_images.h"

namespace {

using lumtest::create;

constexpr lcPelRect kImageWindow{0, 0, 40, 30};

ComPtr<ILumRegion> rectangle(double x, double y, double w, double h) {
  auto rect = create<ILumRectangle>(CLSID_LumRectangle);
  rect->put_X(x), rect->put_Y(y), rect->put_Width(w), rect->put_Height(h);
  return rect.as<ILumRegion>();
}

ComPtr<ILumRegion> turnedSquare() {
  auto region = create<ILumRectangleAffine>(CLSID_LumRectangleAffine);
  auto u = create<ILumTransform2DLinear>(CLSID_LumTransform2DLinear);
  u->SetValues(10, -10, 10, 10, 20, 5);  // a square turned by 45 degrees
  region->SetUnitSquareTransform(u.get());
  return region.as<ILumRegion>();
}

// The result code and message of a failed conversion.
std::pair<HRESULT, uint32_t> failure(ILumImage* image, ILumRegion* region,
                                     LONG mode = lumRegionModePixelAlignedBoundingBoxAdjustMask,
                                     lcRegionMask* result = nullptr) {
  lcRegionMask local;
  try {
    lcRegionToMask(image, kImageWindow, region, mode, result ? result : &local);
  } catch (const lcCOMError& e) {
    return {e.result, e.helpContext};
  }
  return {S_OK, 0};
}

class RegionMask : public ::testing::Test {
 protected:
  ComPtr<ILumImage> image = lumtest::grey8Image(40, 30, [](int, int) { return 0; });
};

TEST_F(RegionMask, WholePixelRectangleNeedsNoMask) {
  lcRegionMask result;
  lcRegionToMask(image.get(), kImageWindow, rectangle(2, 3, 300, 4).get(),
                 lumRegionModePixelAlignedBoundingBoxAdjustMask, &result);
  EXPECT_EQ(result.window, (lcPelRect{2, 3, 302, 7}));
  EXPECT_FALSE(result.needsMask);
  EXPECT_FALSE(result.mask.isBound());
  EXPECT_EQ(result.encoding.runCount(), 4 * 2);
}

TEST_F(RegionMask, TurnedRegionGivesAMaskCutToTheImage) {
  lcRegionMask result;
  lcRegionToMask(image.get(), kImageWindow, turnedSquare().get(),
                 lumRegionModePixelAlignedBoundingBoxAdjustMask, &result);
  ASSERT_TRUE(result.needsMask);
  EXPECT_EQ(result.window, (lcPelRect{10, 5, 30, 25}));
  EXPECT_EQ(result.mask.bufferRect(), (lcPelRect{10, 5, 30, 25}));
  EXPECT_EQ(*result.mask.pelAddress(20, 15), 255);  // the middle
  EXPECT_EQ(*result.mask.pelAddress(10, 5), 0);     // a corner of the box
}

TEST_F(RegionMask, CircleGivesOutsideRunsOnEachSideAndAMaskOf255And0) {
  auto circle = create<ILumCircle>(CLSID_LumCircle);
  circle->put_CenterX(20), circle->put_CenterY(15), circle->put_Radius(8);
  lcRegionMask result;
  lcRegionToMask(image.get(), kImageWindow, circle.as<ILumRegion>().get(),
                 lumRegionModePixelAlignedBoundingBoxAdjustMask, &result);
  ASSERT_TRUE(result.needsMask);
  EXPECT_EQ(result.window, (lcPelRect{12, 7, 28, 23}));
  const std::span<const uint8_t> middle = result.encoding.row(15);
  EXPECT_EQ(middle.size(), 4u);  // the widest row is inside from edge to edge
  const std::span<const uint8_t> near = result.encoding.row(8);
  ASSERT_EQ(near.size(), 8u);
  EXPECT_EQ(std::vector<uint8_t>({near[0], near[2], near[4]}), (std::vector<uint8_t>{0, 255, 0}));
  EXPECT_EQ(*result.mask.pelAddress(20, 15), 255);
  EXPECT_EQ(*result.mask.pelAddress(12, 7), 0);
}

TEST_F(RegionMask, BoundingBoxModeStopsAtTheWindow) {
  lcRegionMask result;
  lcRegionToMask(image.get(), kImageWindow, turnedSquare().get(),
                 lumRegionModePixelAlignedBoundingBox, &result);
  EXPECT_EQ(result.window, (lcPelRect{10, 5, 30, 25}));
  EXPECT_TRUE(result.encoding.isEmpty());
}

TEST_F(RegionMask, FailuresComeInTheirOrderAndLeaveTheResultAlone) {
  // A rectangle too large to encode: far away it fails on the window before any
  // encoding is asked for; over the image it fails on the encoding.
  const ComPtr<ILumRegion> huge = rectangle(-1e9, -1e9, 2e9, 2e9);
  const ComPtr<ILumRegion> farAway = rectangle(1e9, 0, 2e9, 2e9);
  EXPECT_EQ(failure(image.get(), farAway.get()).first, kWindowOutsideImage);
  EXPECT_EQ(failure(image.get(), huge.get()), std::pair(kRegionDoesNotFit, 0x8004811Du));
  // Touching along an edge is overlapping.
  EXPECT_EQ(failure(image.get(), rectangle(40, 0, 5, 5).get()).first, S_OK);
  EXPECT_EQ(failure(image.get(), rectangle(41, 0, 5, 5).get()).first, kWindowOutsideImage);
  EXPECT_EQ(failure(nullptr, huge.get()).first, kNoInputImage);
  EXPECT_EQ(failure(image.get(), nullptr).first, E_INVALIDARG);
  lcRegionMask kept;
  kept.window = {1, 2, 3, 4};
  const ComPtr<ILumRegion> unknownSpace = rectangle(0, 0, 5, 5);
  unknownSpace->put_SelectedSpaceName(lum::Bstr(L"Nowhere").get());
  EXPECT_EQ(failure(image.get(), unknownSpace.get(), 0, &kept).first, kRegionDoesNotFit);
  EXPECT_EQ(kept.window, (lcPelRect{1, 2, 3, 4}));
  EXPECT_THROW(lcRegionToMask(image.get(), kImageWindow, huge.get(), 0, nullptr), lcCOMError);
}

}  // namespace
