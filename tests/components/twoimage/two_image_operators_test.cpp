#include <gtest/gtest.h>

#include <string>

#include "components/twoimage/two_image_arithmetic.h"
#include "support/conformance.h"
#include "support/error_info_probe.h"
#include "two_image_test_util.h"

using namespace lumtest;

using TwoImageOperators =
    ::testing::Types<CLumIPTwoImageAdd, CLumIPTwoImageSubtract, CLumIPTwoImageMinMax>;
INSTANTIATE_TYPED_TEST_SUITE_P(TwoImageArithmetic, ComponentConformance, TwoImageOperators);

namespace {

enum class Op { add, subtract, minMax };

// The operator of `op` with its mode property (OverflowMode or Operation) set.
ComPtr<ILumIPTwoImageParams> makeOperator(Op op, LONG mode) {
  switch (op) {
    case Op::add: {
      auto add = conformance::make<CLumIPTwoImageAdd>();
      add->put_OverflowMode(LumIPTwoImageAddOverflowModeConstants(mode));
      return ComPtr<ILumIPTwoImageParams>(add.get());
    }
    case Op::subtract: {
      auto subtract = conformance::make<CLumIPTwoImageSubtract>();
      subtract->put_OverflowMode(LumIPTwoImageSubtractOverflowModeConstants(mode));
      return ComPtr<ILumIPTwoImageParams>(subtract.get());
    }
    case Op::minMax:
    default: {
      auto minMax = conformance::make<CLumIPTwoImageMinMax>();
      minMax->put_Operation(LumIPTwoImageMinMaxOperationConstants(mode));
      return ComPtr<ILumIPTwoImageParams>(minMax.get());
    }
  }
}

// Execute through the operator's own interface.
HRESULT execute(ILumIPTwoImageParams* op, ILumImage* a, ILumImage* b, ILumImage** out,
                ILumRegion* regionA = nullptr, ILumRegion* regionB = nullptr) {
  const ComPtr<ILumIPTwoImageParams> params(op);
  if (auto add = params.as<ILumIPTwoImageAdd>()) return add->Execute(a, b, regionA, regionB, out);
  if (auto subtract = params.as<ILumIPTwoImageSubtract>())
    return subtract->Execute(a, b, regionA, regionB, out);
  return params.as<ILumIPTwoImageMinMax>()->Execute(a, b, regionA, regionB, out);
}

ComPtr<ILumImage> executed(ILumIPTwoImageParams* op, ILumImage* a, ILumImage* b,
                           ILumRegion* regionA = nullptr, ILumRegion* regionB = nullptr) {
  ComPtr<ILumImage> out;
  EXPECT_EQ(execute(op, a, b, out.put(), regionA, regionB), S_OK);
  return out;
}

// Flat images wide enough for the vector rows and their scalar tail.
int combineFlat(Op op, LONG mode, int bits, int a, int b) {
  auto flat = [bits](int value) {
    return bits == 8 ? grey8Image(71, 2, [=](int, int) { return value; })
                     : grey16Image(71, 2, [=](int, int) { return value; });
  };
  auto out = executed(makeOperator(op, mode).get(), flat(a).get(), flat(b).get());
  if (!out) return -1;
  const int first = bits == 8 ? pixels8(out.get())[0][0] : pixels16(out.get())[0][0];
  const int last = bits == 8 ? pixels8(out.get())[1][70] : pixels16(out.get())[1][70];
  EXPECT_EQ(first, last);
  return first;
}

constexpr LONG kBounded = 0, kWrap = 1, kShift = 2, kAbsolute = 3, kMin = 0, kMax = 1;

TEST(TwoImageArithmetic, GivesThePixelRuleOfEveryModeAt8And16Bits) {
  struct Case {
    Op op;
    LONG mode;
    int bits, a, b, expected;
  };
  const Case cases[] = {
      {Op::add, kBounded, 8, 200, 100, 255},
      {Op::add, kWrap, 8, 200, 100, 44},
      {Op::add, kShift, 8, 200, 100, 150},
      {Op::add, kBounded, 16, 60000, 10000, 65535},
      {Op::add, kWrap, 16, 60000, 10000, 4464},
      {Op::add, kShift, 16, 60000, 10000, 35000},
      {Op::subtract, kBounded, 8, 10, 20, 0},
      {Op::subtract, kWrap, 8, 10, 20, 246},
      {Op::subtract, kShift, 8, 10, 20, 251},
      {Op::subtract, kAbsolute, 8, 10, 20, 10},
      {Op::subtract, kBounded, 8, 20, 10, 10},
      {Op::subtract, kWrap, 8, 20, 10, 10},
      {Op::subtract, kShift, 8, 20, 10, 5},
      {Op::subtract, kAbsolute, 8, 20, 10, 10},
      {Op::subtract, kShift, 8, 10, 11, 0},
      {Op::subtract, kShift, 16, 10, 20, 65531},
      {Op::subtract, kWrap, 16, 10, 20, 65526},
      {Op::minMax, kMin, 8, 7, 9, 7},
      {Op::minMax, kMax, 8, 7, 9, 9},
      {Op::minMax, kMin, 16, 9, 7, 7},
      {Op::minMax, kMax, 16, 700, 9, 700},
      {Op::minMax, kMin, 8, 5, 5, 5},
      {Op::minMax, kMax, 16, 5, 5, 5},
      {Op::add, kShift, 8, 5, 5, 5},
      {Op::subtract, kAbsolute, 16, 5, 5, 0},
      // The extremes 0 and M.
      {Op::add, kBounded, 8, 0, 255, 255},
      {Op::add, kWrap, 8, 255, 255, 254},
      {Op::add, kShift, 8, 255, 255, 255},
      {Op::add, kShift, 8, 0, 255, 127},
      {Op::add, kBounded, 16, 65535, 65535, 65535},
      {Op::add, kWrap, 16, 65535, 65535, 65534},
      {Op::add, kShift, 16, 0, 65535, 32767},
      {Op::subtract, kBounded, 8, 0, 255, 0},
      {Op::subtract, kWrap, 8, 0, 255, 1},
      {Op::subtract, kShift, 8, 0, 255, 129},
      {Op::subtract, kShift, 8, 255, 0, 127},
      {Op::subtract, kAbsolute, 8, 0, 255, 255},
      {Op::subtract, kBounded, 16, 65535, 0, 65535},
      {Op::subtract, kWrap, 16, 0, 65535, 1},
      {Op::subtract, kShift, 16, 0, 65535, 32769},
      {Op::subtract, kAbsolute, 16, 65535, 0, 65535},
      {Op::minMax, kMin, 8, 0, 255, 0},
      {Op::minMax, kMax, 8, 0, 255, 255},
      {Op::minMax, kMin, 16, 65535, 0, 0},
      {Op::minMax, kMax, 16, 65535, 0, 65535},
  };
  for (const Case& c : cases)
    EXPECT_EQ(combineFlat(c.op, c.mode, c.bits, c.a, c.b), c.expected)
        << "op " << int(c.op) << " mode " << c.mode << " at " << c.bits << " bits: " << c.a << ", "
        << c.b;
}

// Max of a black A and a B whose pixel tells where it lies shows where B was placed.
auto whereB = [](int x, int y) { return x + 10 * y; };

TEST(TwoImagePlacement, SameSizeImagesMeetAtTheirCornersInAsPlace) {
  auto a = grey8Image(12, 9, [](int, int) { return 0; });
  a->put_PixelFromRootTransform(linear(2, 0, 0, 2, 5, 7).get());
  auto out =
      executed(makeOperator(Op::minMax, kMax).get(), a.get(), grey8Image(12, 9, whereB).get());
  ASSERT_TRUE(out);
  const auto pixels = pixels8(out.get());
  ASSERT_EQ(pixels.size(), 9u);
  ASSERT_EQ(pixels[0].size(), 12u);
  EXPECT_EQ(pixels[4][3], 43);
  EXPECT_EQ(mapped(out.get(), L"@", L"#", 0, 0), mapped(a.get(), L"@", L"#", 0, 0));
  EXPECT_EQ(mapped(out.get(), L"@", L"#", 3, 4), mapped(a.get(), L"@", L"#", 3, 4));
}

TEST(TwoImagePlacement, AlignmentShiftsBAndShrinksTheCommonWindow) {
  auto op = makeOperator(Op::minMax, kMax);
  op->put_ImageAlignmentEnabled(VARIANT_TRUE);
  op->put_ImageAAlignmentX(10), op->put_ImageAAlignmentY(10);
  auto a = grey8Image(30, 20, [](int, int) { return 0; });
  auto out = executed(op.get(), a.get(), grey8Image(30, 20, whereB).get());
  ASSERT_TRUE(out);
  const auto pixels = pixels8(out.get());
  ASSERT_EQ(pixels.size(), 10u);
  ASSERT_EQ(pixels[0].size(), 20u);
  EXPECT_EQ(pixels[0][0], 0);  // B's first pixel on A's pixel (10, 10)
  EXPECT_EQ(pixels[2][5], 25);
  EXPECT_EQ(mapped(out.get(), L"@", L"#", 0, 0), std::make_pair(10.0, 10.0));
}

TEST(TwoImagePlacement, RoundsHalvesAwayFromZero) {
  auto op = makeOperator(Op::minMax, kMax);
  op->put_ImageAlignmentEnabled(VARIANT_TRUE);
  op->put_ImageAAlignmentX(12.5), op->put_ImageAAlignmentY(0);
  op->put_ImageBAlignmentX(10), op->put_ImageBAlignmentY(2.5);
  // B moves by (3, -3): the output starts at A's (3, 0) and B's (0, 3).
  auto out = executed(op.get(), grey8Image(20, 20, [](int, int) { return 0; }).get(),
                      grey8Image(20, 20, whereB).get());
  ASSERT_TRUE(out);
  const auto pixels = pixels8(out.get());
  ASSERT_EQ(pixels.size(), 17u);
  ASSERT_EQ(pixels[0].size(), 17u);
  EXPECT_EQ(pixels[0][0], 30);
}

TEST(TwoImagePlacement, RegionsCutTheWindowsAndDifferentSizesMeetInTheirCommonWindow) {
  auto op = makeOperator(Op::subtract, kWrap);
  auto a = grey8Image(20, 10, [](int x, int y) { return 100 + x + 10 * y; });
  auto b = grey8Image(8, 12, whereB);
  auto whole = executed(op.get(), a.get(), b.get());
  ASSERT_TRUE(whole);
  EXPECT_EQ(pixels8(whole.get()).size(), 10u);
  EXPECT_EQ(pixels8(whole.get())[0].size(), 8u);

  auto cut = executed(op.get(), a.get(), b.get(), rectangle(4, 4, 6, 6).get(),
                      rectangle(2, 0, 3, 8).get());
  ASSERT_TRUE(cut);
  const auto pixels = pixels8(cut.get());
  ASSERT_EQ(pixels.size(), 6u);
  ASSERT_EQ(pixels[0].size(), 3u);
  EXPECT_EQ(pixels[1][2], (100 + 6 + 50) - (4 + 10));  // A (6, 5) less B (4, 1)
  EXPECT_EQ(mapped(cut.get(), L"@", L"#", 0, 0), std::make_pair(4.0, 4.0));
}

TEST(TwoImagePlacement, WindowsThatDoNotTouchFail) {
  auto op = makeOperator(Op::add, kBounded);
  op->put_ImageAlignmentEnabled(VARIANT_TRUE);
  op->put_ImageAAlignmentX(16);
  ComPtr<ILumImage> out;
  EXPECT_EQ(execute(op.get(), grey8Image(16, 4, whereB).get(), grey8Image(16, 4, whereB).get(),
                    out.put()),
            e_LumIP_NoRegionOverlap);
  EXPECT_FALSE(out);
  op->put_ImageAAlignmentX(1e300);
  EXPECT_EQ(execute(op.get(), grey8Image(16, 4, whereB).get(), grey8Image(16, 4, whereB).get(),
                    out.put()),
            e_LumIP_NoRegionOverlap);
}

// B's alignment point is placed on A's; the output's pixels are A's.
class TwoImageSpaceTree : public ::testing::Test {
 protected:
  void SetUp() override {
    a = grey8Image(40, 30, whereB);
    b = grey8Image(40, 30, whereB);
    a->put_PixelFromRootTransform(linear(1, 0, 0, 1, -4, 2).get());
    addCalibratedSpace(a.get(), L"CalibA");
    addCalibratedSpace(b.get(), L"CalibB");
    b->put_SelectedSpaceName(lum::Bstr(L"CalibB").get());
    op = makeOperator(Op::add, kWrap);
    op->put_ImageAlignmentEnabled(VARIANT_TRUE);
    op->put_ImageBAlignmentX(3.5), op->put_ImageBAlignmentY(2.5);
    // A's point (0, 0) in A's selected space "@" is A's pixel (-4, 2); B's (3.5, 2.5) in
    // CalibB is B's root (10, 10), B's pixel (10, 10): B moves by (-14, -8).
  }
  ComPtr<ILumImage> run(LONG mode) {
    op->put_SpaceTreeMode(LumIPTwoImageSpaceTreeModeConstants(mode));
    return executed(op.get(), a.get(), b.get());
  }
  std::pair<double, double> placedB(double x, double y) {
    auto q = mapped(b.get(), L"#", L"CalibB", x, y);
    return {q.first - 14, q.second - 8};  // the common window starts at A's pixel (0, 0)
  }
  ComPtr<ILumImage> a, b;
  ComPtr<ILumIPTwoImageParams> op;
};

TEST_F(TwoImageSpaceTree, CopyModesTakeOneInputsSpacesOnTheOutputsPixels) {
  auto copyA = run(lumIPTwoImageSpaceTreeModeCopyA);
  ASSERT_TRUE(copyA);
  EXPECT_EQ(mapped(copyA.get(), L"#", L"CalibA", 1, 1), mapped(a.get(), L"#", L"CalibA", 1, 1));
  auto copyB = run(lumIPTwoImageSpaceTreeModeCopyB);
  ASSERT_TRUE(copyB);
  lum::Bstr selected;
  copyB->get_SelectedSpaceName(selected.put());
  EXPECT_EQ(selected.str(), L"CalibB");
  EXPECT_EQ(mapped(copyB.get(), L"#", L"CalibB", 20, 15), placedB(20, 15));
}

TEST_F(TwoImageSpaceTree, MergedModesAttachTheOtherTreeUnderTheMergedSpace) {
  op->put_MergedSpaceTreeName(lum::Bstr(L"Other").get());
  auto aMergeB = run(lumIPTwoImageSpaceTreeModeCopyAMergeB);
  ASSERT_TRUE(aMergeB);
  EXPECT_EQ(mapped(aMergeB.get(), L"#", L"Other/CalibB", 20, 15), placedB(20, 15));
  EXPECT_EQ(mapped(aMergeB.get(), L"#", L"CalibA", 1, 1), mapped(a.get(), L"#", L"CalibA", 1, 1));

  auto bMergeA = run(lumIPTwoImageSpaceTreeModeCopyBMergeA);
  ASSERT_TRUE(bMergeA);
  EXPECT_EQ(mapped(bMergeA.get(), L"#", L"CalibB", 20, 15), placedB(20, 15));
  EXPECT_EQ(mapped(bMergeA.get(), L"#", L"Other/CalibA", 1, 1),
            mapped(a.get(), L"#", L"CalibA", 1, 1));
}

TEST(TwoImageArithmetic, RefusesMixedFormatsMissingInputsAndBadRegionModes) {
  auto op = makeOperator(Op::add, kBounded);
  auto grey8 = grey8Image(4, 4, whereB), grey16 = grey16Image(4, 4, whereB);
  auto colour = planarImage(4, 4, whereB);
  ComPtr<ILumImage> out;
  EXPECT_EQ(execute(op.get(), grey8.get(), grey16.get(), out.put()), hresultFrom(0x8004E105));
  EXPECT_EQ(execute(op.get(), colour.get(), colour.get(), out.put()), hresultFrom(0x8004E105));
  EXPECT_EQ(execute(op.get(), grey8.get(), nullptr, out.put()), hresultFrom(0x8004E400));
  EXPECT_EQ(execute(op.get(), grey8.get(), grey8.get(), nullptr), E_POINTER);

  EXPECT_EQ(op->put_RegionModeB(lumRegionModePixelAlignedBoundingBoxAdjustMask), E_INVALIDARG);
  const ErrorInfoSnapshot error = takeErrorInfo();
  EXPECT_EQ(error.helpContext, 0x80048101u);
  EXPECT_NE(error.description.find(L"RegionModeB"), std::wstring::npos) << error.description;
}

TEST(TwoImageArithmetic, SixteenBitOutputsTakeTheDeeperPixelDepth) {
  auto op = makeOperator(Op::add, kBounded);
  auto depthOf = [&](LONG depthA, LONG depthB) {
    auto out = executed(op.get(), grey16Image(3, 3, whereB, depthA).get(),
                        grey16Image(3, 3, whereB, depthB).get());
    LONG depth = 0;
    out.as<ILumImage16Grey>()->get_PixelDepth(&depth);
    return depth;
  };
  EXPECT_EQ(depthOf(lumPixelDepth12Bits, lumPixelDepth10Bits), lumPixelDepth12Bits);
  EXPECT_EQ(depthOf(lumPixelDepth16Bits, lumPixelDepth8Bits), lumPixelDepth8Bits);
}

}  // namespace
