#include "std/rlebuf/region_encoding.h"

#include "std/shapes/shape_errors.h"

namespace {

// Writes each row's spans as runs of the inside value between runs of the outside one.
class RowWriter final : public lcPixelRowSink {
 public:
  RowWriter(std::vector<uint8_t>& bytes, const lcPelRect& window, uint8_t inside, uint8_t outside)
      : bytes_(bytes), writer_(bytes), window_(window), inside_(inside), outside_(outside) {}

  void row(int32_t, const std::vector<lcPixelSpan>& spans) override {
    int64_t x = window_.x0;
    for (const lcPixelSpan& span : spans) {
      writer_.run(outside_, span.begin - x);
      writer_.run(inside_, span.end - span.begin);
      x = span.end;
    }
    writer_.run(outside_, window_.x1 - x);
    writer_.endRow();
    if (static_cast<int64_t>(bytes_.size()) > kMaxRLEBytes)
      throw lcShapesError::InfiniteExtent(L"the region is too large to encode");
  }

 private:
  std::vector<uint8_t>& bytes_;
  lcRLERowWriter writer_;
  lcPelRect window_;
  uint8_t inside_, outside_;
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
  std::vector<uint8_t> bytes;
  // Room for a row of outside, inside and outside runs of any length, so rows rarely
  // grow the block.
  bytes.reserve(static_cast<size_t>(height) * static_cast<size_t>(8 + 2 * (width / 255 + 1)));
  RowWriter writer(bytes, window, inside, outside);
  shape.pixelRows(window.y0, window.y1, window.x0, window.x1, writer);
  return lcRLEBuffer(window.x0, window.y0, static_cast<int32_t>(width),
                     static_cast<int32_t>(height), std::move(bytes));
}
