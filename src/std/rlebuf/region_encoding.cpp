#include "std/rlebuf/region_encoding.h"

#include "std/shapes/shape_errors.h"

lcRLEBuffer lcEncodeRegion(const lcShape& shape, uint8_t inside, uint8_t outside) {
  const lcPelRect window = shape.pixelWindow();
  const int64_t width = int64_t{window.x1} - window.x0;
  const int64_t height = int64_t{window.y1} - window.y0;
  // An end pair per row and a pair per 255 columns at the least.
  if (width > INT32_MAX || height > INT32_MAX ||
      height * (2 + 2 * (width / 255 + 1)) > kMaxRLEBytes)
    throw lcShapesError::InfiniteExtent(L"the region is too large to encode");
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<size_t>(height) * 8);
  lcRLERowWriter writer(bytes);
  std::vector<lcPixelSpan> spans;
  for (int32_t y = window.y0; y < window.y1; ++y) {
    spans.clear();
    shape.pixelSpans(y, window.x0, window.x1, spans);
    int64_t x = window.x0;
    for (const lcPixelSpan& span : spans) {
      writer.run(outside, span.begin - x);
      writer.run(inside, span.end - span.begin);
      x = span.end;
    }
    writer.run(outside, window.x1 - x);
    writer.endRow();
    if (static_cast<int64_t>(bytes.size()) > kMaxRLEBytes)
      throw lcShapesError::InfiniteExtent(L"the region is too large to encode");
  }
  return lcRLEBuffer(window.x0, window.y0, static_cast<int32_t>(width),
                     static_cast<int32_t>(height), std::move(bytes));
}
