#include <gtest/gtest.h>

#include "components/arith/constant_arithmetic.h"
#include "support/conformance.h"
#include "support/test_images.h"

using namespace lumtest;

using ConstantArithmeticOperators =
    ::testing::Types<CLumIPOneImageAddSubtractConstant, CLumIPOneImageMultiplyConstant>;
INSTANTIATE_TYPED_TEST_SUITE_P(ConstantArithmetic, ComponentConformance,
                               ConstantArithmeticOperators);

namespace {

template <class T>
ComPtr<T> makeOperator() {
  return conformance::make<T>();
}

ComPtr<ILumImage> execute(ILumIPOneImageOperator* op, ILumImage* input) {
  ComPtr<ILumImage> output;
  EXPECT_EQ(op->Execute(input, lumRegionModePixelAlignedBoundingBox, nullptr, output.put()), S_OK);
  return output;
}

int addGrey8(LONG constant, LONG mode, int pixel) {
  auto op = makeOperator<CLumIPOneImageAddSubtractConstant>();
  op->put_ConstantValue(constant);
  op->put_OverflowMode(static_cast<LumIPOneImageAddSubtractConstantOverflowModeConstants>(mode));
  return pixels8(
      execute(op.get(), grey8Image(3, 2, [&](int, int) { return pixel; }).get()).get())[1][2];
}

int addGrey16(LONG constant, LONG mode, int pixel) {
  auto op = makeOperator<CLumIPOneImageAddSubtractConstant>();
  op->put_ConstantValue(constant);
  op->put_OverflowMode(static_cast<LumIPOneImageAddSubtractConstantOverflowModeConstants>(mode));
  return pixels16(
      execute(op.get(), grey16Image(3, 2, [&](int, int) { return pixel; }).get()).get())[1][2];
}

int multiplyGrey8(double constant, LONG mode, int pixel) {
  auto op = makeOperator<CLumIPOneImageMultiplyConstant>();
  op->put_ConstantValue(constant);
  op->put_OverflowMode(static_cast<LumIPOneImageMultiplyConstantOverflowModeConstants>(mode));
  return pixels8(
      execute(op.get(), grey8Image(3, 2, [&](int, int) { return pixel; }).get()).get())[1][2];
}

constexpr LONG kBounded = 0, kWrap = 1;

}  // namespace

TEST(AddSubtractConstant, ClampsOrWrapsAtBothEndsOfTheRange) {
  struct Case {
    LONG constant;
    int pixel, bounded, wrapped;
  };
  for (const Case& c : {Case{10, 250, 255, 4}, Case{-10, 5, 0, 251}, Case{1000, 3, 255, 235},
                        Case{0, 77, 77, 77}}) {
    EXPECT_EQ(addGrey8(c.constant, kBounded, c.pixel), c.bounded) << c.constant;
    EXPECT_EQ(addGrey8(c.constant, kWrap, c.pixel), c.wrapped) << c.constant;
  }
  EXPECT_EQ(addGrey16(100, kBounded, 65500), 65535);
  EXPECT_EQ(addGrey16(100, kWrap, 65500), 64);
  EXPECT_EQ(addGrey16(-100000, kBounded, 65500), 0);
}

TEST(AddSubtractConstant, ColourUsesOnlyThePlaneConstants) {
  auto op = makeOperator<CLumIPOneImageAddSubtractConstant>();
  op->put_ConstantValue(100);
  op->put_ConstantPlane0Value(1);
  op->put_ConstantPlane1Value(-1);
  op->put_ConstantPlane2Value(10);
  auto output = execute(op.get(), planarImage(4, 3, [](int x, int y) { return 10 * x + y; }).get());
  for (int p = 0; p < 3; ++p) {
    const int added[] = {1, -1, 10};
    EXPECT_EQ(planePixels(output.get(), p)[2][3], 10 * 3 + 2 + p + added[p]) << p;
  }
}

TEST(ConstantArithmetic, SixteenBitOutputKeepsThePixelDepthCode) {
  auto add = makeOperator<CLumIPOneImageAddSubtractConstant>();
  auto multiply = makeOperator<CLumIPOneImageMultiplyConstant>();
  for (ILumIPOneImageOperator* op : {static_cast<ILumIPOneImageOperator*>(add.get()),
                                     static_cast<ILumIPOneImageOperator*>(multiply.get())}) {
    auto output = execute(op, grey16Image(
                                  2, 2, [](int, int) { return 1; }, lumPixelDepth12Bits)
                                  .get());
    LONG depth = 0;
    output.as<ILumImage16Grey>()->get_PixelDepth(&depth);
    EXPECT_EQ(depth, lumPixelDepth12Bits);
  }
}

TEST(MultiplyConstant, RoundsHalfUpAndClampsOrWraps) {
  EXPECT_EQ(multiplyGrey8(0.5, kBounded, 3), 2);
  EXPECT_EQ(multiplyGrey8(0.5, kBounded, 1), 1);
  EXPECT_EQ(multiplyGrey8(0.49, kBounded, 1), 0);
  EXPECT_EQ(multiplyGrey8(2.0, kBounded, 200), 255);
  EXPECT_EQ(multiplyGrey8(2.0, kWrap, 200), 144);
  EXPECT_EQ(multiplyGrey8(0.0, kBounded, 200), 0);
  EXPECT_EQ(multiplyGrey8(1.0, kWrap, 200), 200);
}

TEST(MultiplyConstant, RebuildsItsTablesOnlyAfterAChangeThatAffectsThem) {
  auto op = makeOperator<CLumIPOneImageMultiplyConstant>();
  auto input = grey8Image(2, 2, [](int, int) { return 7; });
  execute(op.get(), input.get());
  execute(op.get(), input.get());
  EXPECT_EQ(op->tableBuilds(), 1);
  op->put_OutputImageFormat(lumIPOneImageMultiplyConstantImageFormat8Grey);
  op->put_ConstantValue(1.0);  // unchanged
  execute(op.get(), input.get());
  EXPECT_EQ(op->tableBuilds(), 1);
  op->put_ConstantPlane2Value(3.0);
  execute(op.get(), input.get());
  op->put_OverflowMode(lumIPOneImageMultiplyConstantOverflowModeWrap);
  execute(op.get(), input.get());
  EXPECT_EQ(op->tableBuilds(), 3);
}
