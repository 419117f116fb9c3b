#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "ip/gmorph/grey_morphology.h"
#include "kernel_test_util.h"
#include "std/pelbuf/pel_take_mask.h"

namespace {

// The minimum (maximum) over the care cells of the pixel under the cell less (plus) its
// offset, clamped; cells beyond the input or masked out take no part; 255 (0) for none.
uint8_t referencePass(const lcPelBuffer<uint8_t>& src, const lcMorphElement& e,
                      const lcPelBuffer<uint8_t>* mask, bool erode, int32_t x, int32_t y) {
  int32_t result = erode ? 255 : 0;
  const lcPelRect in = src.bufferRect();
  for (int32_t r = 0; r < e.height; ++r)
    for (int32_t c = 0; c < e.width; ++c) {
      const int32_t ix = x - e.width / 2 + c, iy = y - e.height / 2 + r;
      const std::size_t cell = static_cast<std::size_t>(r * e.width + c);
      if (e.care[cell] == 0 || ix < in.x0 || ix >= in.x1 || iy < in.y0 || iy >= in.y1) continue;
      if (mask != nullptr) {
        const lcPelRect m = mask->bufferRect();
        if (ix < m.x0 || ix >= m.x1 || iy < m.y0 || iy >= m.y1 || *mask->pelAddress(ix, iy) == 0)
          continue;
      }
      const int32_t pel = *src.pelAddress(ix, iy);
      const int32_t term =
          std::clamp(erode ? pel - e.offsets[cell] : pel + e.offsets[cell], 0, 255);
      result = erode ? std::min(result, term) : std::max(result, term);
    }
  return static_cast<uint8_t>(result);
}

lcMorphElement randomElement(std::mt19937& random, bool flat) {
  // Flat elements reach past 15 rows, where columns take the van Herk path.
  std::uniform_int_distribution<int32_t> half(0, flat ? 11 : 6), chance(0, 3), offset(-255, 255);
  lcMorphElement e;
  e.width = 2 * half(random) + 1;
  e.height = 2 * half(random) + 1;
  const std::size_t cells = static_cast<std::size_t>(e.width * e.height);
  e.care.assign(cells, 255);
  e.offsets.assign(cells, 0);
  if (flat) return e;
  for (std::size_t i = 0; i < cells; ++i) {
    e.care[i] = chance(random) == 0 ? 0 : 255;
    e.offsets[i] = static_cast<int16_t>(chance(random) == 0 ? 0 : offset(random) / 8);
  }
  return e;
}

lcMorphElement line(std::vector<uint8_t> care, std::vector<int16_t> offsets = {0, 0, 0}) {
  return lcMorphElement{3, 1, std::move(care), std::move(offsets)};
}

lcPelBuffer<uint8_t> rowOf(std::initializer_list<uint8_t> values) {
  lcPelBuffer<uint8_t> buffer;
  buffer.allocate(static_cast<int32_t>(values.size()), 1);
  std::copy(values.begin(), values.end(), buffer.pelAddress(0, 0));
  return buffer;
}

std::vector<int> pelsOf(const lcPelBuffer<uint8_t>& buffer) {
  std::vector<int> values;
  const lcPelRows<const uint8_t> rows = buffer.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x)
      values.push_back(rows[y][x]);
  return values;
}

lcPelBuffer<uint8_t> morphed(const lcPelBuffer<uint8_t>& src, const lcGreyMorphologyParams& p) {
  lcPelBuffer<uint8_t> dst;
  lcGreyMorphology(src, dst, p);
  return dst;
}

}  // namespace

TEST(MorphologyPass, TwinsAgreeWithTheReferenceForFlatAndWeightedElements) {
  std::mt19937 random(21);
  std::uniform_int_distribution<int32_t> size(1, 40), place(-6, 6);
  for (int round = 0; round < 24; ++round) {
    const bool flat = round % 3 != 2, masked = round % 4 == 3, erode = round % 2 == 0;
    const lcMorphElement element = randomElement(random, flat);
    const auto border = round % 5 == 4 ? lcMorphBorder::Fit : lcMorphBorder::Clipped;
    const int32_t width =
        std::max(round == 0 ? 1 : size(random), border == lcMorphBorder::Fit ? element.width : 1);
    const int32_t height =
        std::max(round == 1 ? 1 : size(random), border == lcMorphBorder::Fit ? element.height : 1);
    const lcPelBuffer<uint8_t> src =
        randomPels<uint8_t>(random, width, height, place(random), place(random));
    lcPelBuffer<uint8_t> mask =
        randomPels<uint8_t>(random, size(random), size(random), place(random), place(random));
    const lcPelBuffer<uint8_t> take = lcTakeMask(mask, src.bufferRect());
    const lcPelBuffer<uint8_t> result = expectEveryWayAgrees([&] {
      lcPelBuffer<uint8_t> dst;
      lcMorphologyPass(src, dst, element, erode, border, masked ? &take : nullptr);
      return dst;
    });
    const lcPelRect at = result.bufferRect();
    for (int32_t y = at.y0; y < at.y1; ++y)
      for (int32_t x = at.x0; x < at.x1; ++x)
        ASSERT_EQ(*result.pelAddress(x, y),
                  referencePass(src, element, masked ? &mask : nullptr, erode, x, y))
            << "round " << round << " at " << x << "," << y;
  }
}

TEST(MorphologyPass, LargeFlatElementsAgreeAcrossBands) {
  const lcPelBuffer<uint8_t> src = patternPels<uint8_t>(1024, 520);  // two bands or more
  for (int32_t size : {3, 15, 21}) {
    lcMorphElement element{size, size, std::vector<uint8_t>(size * size, 255),
                           std::vector<int16_t>(size * size, 0)};
    expectBandsAgree([&] {
      lcPelBuffer<uint8_t> dst;
      lcMorphologyPass(src, dst, element, size != 15, lcMorphBorder::Clipped, nullptr);
      return dst;
    });
  }
}

TEST(GreyMorphology, SquareElementsShrinkTheImageAndMoveWithTheOrigin) {
  lcPelBuffer<uint8_t> src = flatPels<uint8_t>(7, 7, 0);
  *src.pelAddress(3, 3) = 200;
  lcGreyMorphologyParams p;
  p.passes = {lcMorphElement{}};
  EXPECT_TRUE(allPelsAre<uint8_t>(morphed(src, p), 0));
  p.operation = lcMorphOperation::Dilate;
  const lcPelBuffer<uint8_t> grown = morphed(src, p);
  EXPECT_EQ(grown.bufferRect(), (lcPelRect{1, 1, 6, 6}));
  EXPECT_EQ(pelsOf(grown),
            (std::vector<int>{0,   0, 0, 0,   0,   0,   200, 200, 200, 0, 0, 200, 200,
                              200, 0, 0, 200, 200, 200, 0,   0,   0,   0, 0, 0}));
  // Two elements: a 5 x 5 dilation, moved by the origin (0, 1) from the centre (2, 2).
  p.passes.push_back(lcMorphElement{});
  p.originX = 0;
  p.originY = 1;
  EXPECT_EQ(morphed(src, p).bufferRect(), (lcPelRect{0, 1, 3, 4}));
  p.originX = 5;
  EXPECT_THROW(morphed(src, p), lcGMorphDefs::BadElement);
  p.originX = -1;
  EXPECT_THROW(morphed(flatPels<uint8_t>(4, 9, 1), p), lcGMorphDefs::BadImage);
  p.passes.clear();
  EXPECT_THROW(morphed(src, p), lcGMorphDefs::EmptyList);
}

TEST(GreyMorphology, DifferencesOfAnAsymmetricElementClampAtZero) {
  // Centre and east: the erosion of [0 5 5 2] is [0 5 2 2], its dilation [5 5 2 2]: the
  // opening rises above the input at x = 0, where the difference stays 0.
  lcGreyMorphologyParams p;
  p.passes = {line({0, 255, 255})};
  p.border = lcMorphBorder::Clipped;
  const lcPelBuffer<uint8_t> src = rowOf({0, 5, 5, 2});
  p.operation = lcMorphOperation::Open;
  EXPECT_EQ(pelsOf(morphed(src, p)), (std::vector<int>{5, 5, 2, 2}));
  p.operation = lcMorphOperation::OriginalMinusOpen;
  EXPECT_EQ(pelsOf(morphed(src, p)), (std::vector<int>{0, 0, 3, 0}));
}

TEST(GreyMorphology, ErosionSubtractsOffsetsDilationAddsThemAndBothClamp) {
  lcGreyMorphologyParams p;
  p.border = lcMorphBorder::Clipped;
  p.passes = {line({255, 255, 255}, {0, 10, 0})};
  const lcPelBuffer<uint8_t> src = rowOf({250, 5, 250});
  // operation, result
  const std::pair<lcMorphOperation, std::vector<int>> cases[] = {
      {lcMorphOperation::Erode, {5, 0, 5}},
      {lcMorphOperation::Dilate, {255, 250, 255}},
      {lcMorphOperation::DilateMinusErode, {250, 250, 250}}};
  for (const auto& [operation, expected] : cases) {
    p.operation = operation;
    EXPECT_EQ(pelsOf(morphed(src, p)), expected) << int(operation);
  }
  p.passes = {line({255, 255, 255})};
  p.operation = lcMorphOperation::CloseMinusOriginal;
  EXPECT_EQ(pelsOf(morphed(rowOf({9, 5, 9}), p)), (std::vector<int>{0, 4, 0}));
}
