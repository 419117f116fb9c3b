#include <gtest/gtest.h>

#include "components/orient/flip_rotate.h"
#include "support/conformance.h"
#include "support/operator_runs.h"
#include "support/placement.h"

using namespace lumtest;

INSTANTIATE_TYPED_TEST_SUITE_P(FlipRotate, ComponentConformance,
                               ::testing::Types<CLumIPOneImageFlipRotate>);

TEST(FlipRotate, EveryOperationKeepsEachPixelAtItsClientPosition) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> size(1, 23), corner(0, 6);
  auto op = conformance::make<CLumIPOneImageFlipRotate>();
  for (int round = 0; round < 4; ++round) {
    auto input =
        grey8Image(size(random) + 7, size(random) + 7, [](int x, int y) { return 7 * x + 31 * y; });
    placeRandomly(input.get(), random);
    auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
    region->put_X(corner(random)), region->put_Y(corner(random));
    region->put_Width(size(random)), region->put_Height(size(random));
    region->put_SelectedSpaceName(lum::Bstr(L"#").get());
    for (LONG operation = 0; operation < 8; ++operation) {
      ASSERT_EQ(op->put_OperationInPixelSpace(LumIPOneImageFlipRotateOperationConstants(operation)),
                S_OK);
      auto output = execute(op.get(), input.get(), region.as<ILumRegion>().get());
      EXPECT_GT(expectPixelsSitOnTheirSources(input.get(), output.get()), 0) << operation;
    }
  }
}

TEST(FlipRotate, FormatsKeepTheirDepthAndColourSpaceAndBadOperationsAreRefused) {
  auto op = conformance::make<CLumIPOneImageFlipRotate>();
  op->put_OperationInPixelSpace(lumIPOneImageFlipRotateOperationRotate90Deg);
  auto grey16 =
      execute(op.get(), grey16Image(
                            3, 2, [](int x, int y) { return 1000 * y + x; }, lumPixelDepth12Bits)
                            .get());
  EXPECT_EQ(pixels16(grey16.get()), (Pixels<USHORT>{{1000, 0}, {1001, 1}, {1002, 2}}));
  LONG depth = 0;
  grey16.as<ILumImage16Grey>()->get_PixelDepth(&depth);
  EXPECT_EQ(depth, lumPixelDepth12Bits);
  auto colour = execute(op.get(), planarImage(2, 2, [](int x, int y) { return 10 * y + x; }).get());
  EXPECT_EQ(planePixels(colour.get(), 2), (Pixels<BYTE>{{12, 2}, {13, 3}}));

  EXPECT_EQ(op->put_OperationInPixelSpace(LumIPOneImageFlipRotateOperationConstants(8)),
            E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().helpContext, 0x8004810Au);
  LumIPOneImageFlipRotateOperationConstants operation{};
  op->get_OperationInPixelSpace(&operation);
  EXPECT_EQ(operation, lumIPOneImageFlipRotateOperationRotate90Deg);
  execute(op.get(),
          range16Image(
              2, 2, [](int, int) { return 1; }, [](int, int) { return 1; })
              .get(),
          nullptr, HRESULT(0x8004E105));
}
