#include "std/rlebuf/rle_buffer.h"

#include <gtest/gtest.h>

#include <functional>

#include "std/rlebuf/rle_mask.h"

namespace {

// One row of `width` from runs, through the writer.
lcRLEBuffer encodeRows(int32_t x, int32_t y, int32_t width,
                       const std::vector<std::vector<std::pair<uint8_t, int>>>& rows) {
  std::vector<uint8_t> bytes;
  lcRLERowWriter writer(bytes);
  for (const auto& row : rows) {
    for (auto [value, length] : row)
      writer.run(value, length);
    writer.endRow();
  }
  return lcRLEBuffer(x, y, width, static_cast<int32_t>(rows.size()), std::move(bytes));
}

TEST(RLEBuffer, EveryQueryOnAnEmptyBufferIsDegenerate) {
  lcRLEBuffer empty;
  const std::vector<std::function<void()>> queries = {
      [&] { empty.offsetX(); },  [&] { empty.offsetY(); },   [&] { empty.setOffset(1, 2); },
      [&] { empty.width(); },    [&] { empty.height(); },    [&] { empty.row(0); },
      [&] { empty.runCount(); }, [&] { empty.hasRunOf(0); }, [&] { lcExpandRLE(empty); },
      [&] { empty.xform(); },    [&] { empty.window(); },
  };
  for (const auto& query : queries) {
    try {
      query();
      ADD_FAILURE() << "no exception";
    } catch (const lcRLEBuffer::Degenerate& e) {
      EXPECT_EQ(e.errorCode(), 0x10001800u);
    }
  }
}

TEST(RLEBuffer, LongRunsSplitAt255AndExpandWhole) {
  const lcRLEBuffer rle = encodeRows(-5, 7, 302, {{{0, 2}, {255, 300}}});
  const std::vector<uint8_t> expected = {0, 2, 255, 255, 255, 45, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(rle.row(7).begin(), rle.row(7).end()), expected);
  EXPECT_EQ(rle.runCount(), 3);
  EXPECT_TRUE(rle.hasRunOf(0));
  const lcPelBuffer<uint8_t> mask = lcExpandRLE(rle);
  EXPECT_EQ(mask.bufferRect(), (lcPelRect{-5, 7, 297, 8}));
  const uint8_t* line = mask.rowAddress(7);
  EXPECT_EQ(line[0] + line[1], 0);
  for (int x = 2; x < 302; ++x)
    ASSERT_EQ(line[x], 255) << x;
  EXPECT_THROW(rle.row(8), lcRLEBuffer::BadRow);
}

TEST(RLEBuffer, ExpansionCutsToTheClip) {
  const lcRLEBuffer rle = encodeRows(0, 0, 6, {{{0, 3}, {9, 3}}, {{9, 6}}});
  const lcPelBuffer<uint8_t> mask = lcExpandRLE(rle, {2, 1, 5, 10});
  ASSERT_EQ(mask.bufferRect(), (lcPelRect{2, 1, 5, 2}));
  EXPECT_EQ(*mask.pelAddress(2, 1), 9);
  EXPECT_FALSE(lcExpandRLE(rle, {10, 10, 20, 20}).isBound());
}

TEST(RLEBuffer, MalformedRowsAreRefusedBeforeUse) {
  struct Case {
    int32_t width, height;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {4, 1, {255, 3, 0, 0}},        // short of the width
      {4, 1, {255, 5, 0, 0}},        // beyond it
      {4, 1, {255, 4}},              // no end pair
      {4, 1, {255, 4, 0, 0, 1, 1}},  // bytes after the last row
      {4, 1000000, {255, 4, 0, 0}},  // more rows than bytes could hold
      {-1, 1, {0, 0}},               // negative size
  };
  for (const Case& c : cases)
    EXPECT_THROW(lcRLEBuffer(0, 0, c.width, c.height, c.bytes), lcRLEBuffer::BadEncoding);
}

TEST(RLEBuffer, HistogramCountsOnlyRunsOfTheAskedSide) {
  lcPelBuffer<uint8_t> image;
  image.allocate(4, 1, 10, 0);
  uint8_t* p = image.rowAddress(0);
  p[0] = 1, p[1] = 2, p[2] = 200, p[3] = 3;
  // Columns 9..14: column 9 and 14 lie outside the image.
  const lcRLEBuffer rle = encodeRows(9, 0, 6, {{{255, 3}, {0, 1}, {255, 2}}});
  std::vector<uint64_t> inside(4), outside(4);
  lcAccumulateHistogram(image, rle, true, inside);
  lcAccumulateHistogram(image, rle, false, outside);
  EXPECT_EQ(inside, (std::vector<uint64_t>{0, 1, 1, 1}));   // 1, 2 and 3; 200 not inside
  EXPECT_EQ(outside, (std::vector<uint64_t>{0, 0, 0, 1}));  // 200 in the top bin
}

}  // namespace
