#pragma once
// A 16-bit range buffer: 16-bit pixels, an 8-bit mask of the same window in buffer
// coordinates telling which pixels are valid (non-zero) and the range of values the
// pixels may take. The pixels and the mask are windowed together, so they never part.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

// The values a pixel of a range buffer may take, minimum <= maximum.
struct lcValueRange16 {
  uint16_t minimum = 0;
  uint16_t maximum = 0xffff;
  friend bool operator==(const lcValueRange16&, const lcValueRange16&) = default;
};

class LC_VISIBLE lcPelBufferRange16 {
 public:
  using ValueRange = lcValueRange16;

  // Unbound pixels and mask, the full range.
  lcPelBufferRange16() = default;
  // lcPelBufferRange16Defs::MaskWindowMismatch unless the two windows are the same in
  // buffer coordinates; lcPelFunc::Range when the range is inverted.
  lcPelBufferRange16(lcPelBuffer<uint16_t> pels, lcPelBuffer<uint8_t> mask, ValueRange range = {});

  const lcPelBuffer<uint16_t>& pels() const { return pels_; }
  const lcPelBuffer<uint8_t>& mask() const { return mask_; }
  const ValueRange& range() const { return range_; }
  // lcPelFunc::Range when minimum > maximum.
  void setRange(ValueRange range);

  // Windows pixels and mask alike (lcPelFrame::setWindow); a failure leaves both.
  void setWindow(int32_t x, int32_t y, int32_t width, int32_t height);
  // The transform lives with the pixels; the mask follows it.
  void setXform(const lc2XformCache& xform);

  // Version, the pixel buffer, the mask buffer, then the range. A failed load leaves the
  // buffer as it was.
  void archive(lcArchive& archive);

 private:
  lcPelBuffer<uint16_t> pels_;
  lcPelBuffer<uint8_t> mask_;
  ValueRange range_;
};
