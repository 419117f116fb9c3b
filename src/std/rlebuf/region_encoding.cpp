#include "std/rlebuf/region_encoding.h"

#include "std/shapes/shape_errors.h"

namespace {

// Writes each row's spans as runs of the inside value between runs of the outside one.
class RowWriter final : public lcPixelRowSink {
 public:
  RowWriter(lcRLEBlockWriter& block, const lcPelRect& window, uint8_t inside, uint8_t outside)
      : block_(block), x0_(window.x0), x1_(window.x1), inside_(inside), outside_(outside) {}

  void row(int32_t, std::span<const lcPixelSpan> spans) override {
    uint8_t* out = block_.beginRow(2 * spans.size() + 1);
    // Held in registers for the row: the pair stores could alias the members.
    const lcRunPairs inside = inside_, outside = outside_;
    const int32_t x1 = x1_;
    int32_t x = x0_;
    for (const lcPixelSpan& span : spans) {
      // Spans left to right, apart and within the window keep the runs within the
      // row's room and make them cover it exactly.
      if (span.begin < x || span.end <= span.begin || span.end > x1) badSpans();
      if (span.begin > x) out = lcWriteRunPairsFast(out, outside, span.begin - x);
      out = lcWriteRunPairsFast(out, inside, span.end - span.begin);
      x = span.end;
    }
    if (x1 > x) out = lcWriteRunPairsFast(out, outside, x1 - x);
    block_.endRow(out);
    if (block_.size() > static_cast<size_t>(kMaxRLEBytes))
      throw lcShapesError::InfiniteExtent(L"the region is too large to encode");
  }

 private:
  [[noreturn]] static void badSpans() {
    throw lcRLEBuffer::BadEncoding(L"a shape gave pixel spans out of order");
  }

  lcRLEBlockWriter& block_;
  int32_t x0_, x1_;
  lcRunPairs inside_, outside_;
};

}  // namespace

lcRLEBuffer lcEncodeRegion(const lcShape& shape, uint8_t inside, uint8_t outside) {
  if (!shape.isRegion()) throw lcShapesError::NotRegion(L"this shape holds no area");
  const lcPelRect window = shape.pixelWindow();
  const int64_t width = int64_t{window.x1} - window.x0;
  const int64_t height = int64_t{window.y1} - window.y0;
  // An end pair per row and a pair per 255 columns at the least.
  if (width > INT32_MAX || height > INT32_MAX ||
      height * (2 + 2 * (width / 255 + 1)) > kMaxRLEBytes)
    throw lcShapesError::InfiniteExtent(L"the region is too large to encode");
  lcRLEBlockWriter block(window.x0, window.y0, static_cast<int32_t>(width),
                         static_cast<int32_t>(height));
  RowWriter writer(block, window, inside, outside);
  shape.pixelRows(window.y0, window.y1, window.x0, window.x1, writer);
  return block.finish();
}
