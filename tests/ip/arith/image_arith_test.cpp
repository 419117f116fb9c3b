#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "ip/arith/image_arith.h"
#include "kernel_test_util.h"

namespace {

constexpr lcImagePelOp kEveryOp[] = {lcImagePelOp::addModulo,
                                     lcImagePelOp::addClamp,
                                     lcImagePelOp::addHalve,
                                     lcImagePelOp::subtractModulo,
                                     lcImagePelOp::subtractAbsolute,
                                     lcImagePelOp::subtractClamp,
                                     lcImagePelOp::subtractHalve,
                                     lcImagePelOp::min,
                                     lcImagePelOp::max};

template <class T>
void runOp(const lcPelBuffer<T>& a, const lcPelBuffer<T>& b, lcPelBuffer<T>& dst, lcImagePelOp op) {
  switch (op) {
    case lcImagePelOp::addModulo:
      return lcAddImages(a, b, dst, lcAddImagesModulo);
    case lcImagePelOp::addClamp:
      return lcAddImages(a, b, dst, lcAddImagesClamp);
    case lcImagePelOp::addHalve:
      return lcAddImages(a, b, dst, lcAddImagesHalve);
    case lcImagePelOp::subtractModulo:
      return lcSubtractImages(a, b, dst, lcSubtractImagesModulo);
    case lcImagePelOp::subtractAbsolute:
      return lcSubtractImages(a, b, dst, lcSubtractImagesAbsolute);
    case lcImagePelOp::subtractClamp:
      return lcSubtractImages(a, b, dst, lcSubtractImagesClamp);
    case lcImagePelOp::subtractHalve:
      return lcSubtractImages(a, b, dst, lcSubtractImagesHalve);
    case lcImagePelOp::min:
      return lcMinMaxImages(a, b, dst, false);
    case lcImagePelOp::max:
      return lcMinMaxImages(a, b, dst, true);
  }
}

template <class T>
class ImageArith : public ::testing::Test {};
using PelTypes = ::testing::Types<uint8_t, uint16_t>;
TYPED_TEST_SUITE(ImageArith, PelTypes);

// Every twin, target and band count gives the rule's pixels over the common window of
// two random windows placed at random offsets.
TYPED_TEST(ImageArith, TwinsAgreeWithTheRuleOverTheCommonWindow) {
  using T = TypeParam;
  std::mt19937 random(29);
  std::uniform_int_distribution<int32_t> size(1, 140), offset(-30, 30);
  for (lcImagePelOp op : kEveryOp) {
    const lcPelBuffer<T> a =
        randomPels<T>(random, size(random), size(random), offset(random), offset(random));
    const lcPelBuffer<T> b =
        randomPels<T>(random, size(random), size(random), offset(random), offset(random));
    const lcPelRect common = lcIntersect(a.bufferRect(), b.bufferRect());
    if (common.isEmpty()) continue;
    const lcPelBuffer<T> result = expectEveryWayAgrees([&] {
      lcPelBuffer<T> dst;
      runOp(a, b, dst, op);
      return dst;
    });
    ASSERT_EQ(result.bufferRect(), common);
    lcPelBuffer<T> aPart = a, bPart = b;
    aPart.setBufferWindow(common);
    bPart.setBufferWindow(common);
    for (int32_t y = 0; y < common.height(); ++y)
      for (int32_t x = 0; x < common.width(); ++x)
        ASSERT_EQ(result.rows()[y][x], lcCombinePels(std::as_const(aPart).rows()[y][x],
                                                     std::as_const(bPart).rows()[y][x], op))
            << "op " << int(op) << " at " << x << "," << y;
  }
}

TYPED_TEST(ImageArith, BandsAndStreamedStoresChangeNoPixel) {
  using T = TypeParam;
  const int32_t width = 3001 / static_cast<int32_t>(sizeof(T));
  const lcPelBuffer<T> a = patternPels<T>(width, 2900);
  lcPelBuffer<T> b = patternPels<T>(width + 7, 2900);
  b.setWindow(7, 0, width, 2900);
  b.setOffset(0, 0);
  for (lcImagePelOp op : {lcImagePelOp::subtractHalve, lcImagePelOp::addClamp}) {
    expectBandsAgree([&] {
      lcPelBuffer<T> dst;
      runOp(a, b, dst, op);
      return dst;
    });
  }
}

TEST(ImageArith, LeavesTheOutputUnboundForDisjointWindowsAndRefusesUnknownCodes) {
  const lcPelBuffer<uint8_t> a = flatPels<uint8_t>(4, 4, 1);
  lcPelBuffer<uint8_t> b = flatPels<uint8_t>(4, 4, 1), dst;
  b.setOffset(4, 0);
  lcMinMaxImages(a, b, dst, true);
  EXPECT_FALSE(dst.isBound());
  EXPECT_THROW(lcAddImages(a, a, dst, 1), lcPelFunc::BadParams);
  EXPECT_THROW(lcSubtractImages(a, a, dst, 5), lcPelFunc::BadParams);
}

}  // namespace
