#pragma once
// Run-length region buffers: a region over the pixel grid as rows of (value, length)
// byte pairs. Every row covers the same columns, offsetX to offsetX + width - 1, from
// left to right; a pair of length 0 ends it. A run is at most 255 pixels, so longer
// stretches come as several pairs. Masks use 255 inside and 0 outside.
//
// The rows are a shared, immutable block: copies of a buffer share it, and the block's
// owner (a vector the buffer made, or whatever keeps borrowed bytes alive) goes with the
// last copy. Offset and transform belong to each copy. A default buffer is empty, and
// every query on it throws Degenerate.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "std/except/exception.h"
#include "std/math/xform_cache.h"
#include "std/pelbuf/pel_rect.h"

class LC_VISIBLE lcRLEBuffer {
 public:
  LC_ERROR_GROUP();
  LC_ERROR(lcRLEBuffer, Degenerate, 0x10001800);
  // Rows that do not cover the width exactly, or lack their end pair.
  LC_ERROR(lcRLEBuffer, BadEncoding, 0x10001801);
  // A row asked for outside offsetY .. offsetY + height - 1.
  LC_ERROR(lcRLEBuffer, BadRow, 0x10001802);

  lcRLEBuffer() = default;
  // Over `bytes`, all rows one after another, which `owner` keeps alive. Every row is
  // checked (BadEncoding) before the buffer exists, since the bytes may come from
  // outside; width and height must not be negative.
  lcRLEBuffer(int32_t offsetX, int32_t offsetY, int32_t width, int32_t height,
              std::span<const uint8_t> bytes, std::shared_ptr<const void> owner);
  // The same over bytes the buffer keeps itself.
  lcRLEBuffer(int32_t offsetX, int32_t offsetY, int32_t width, int32_t height,
              std::vector<uint8_t> bytes);

  bool isEmpty() const { return !rep_; }
  int32_t offsetX() const;
  int32_t offsetY() const;
  void setOffset(int32_t x, int32_t y);
  int32_t width() const;
  int32_t height() const;
  // (offsetX, offsetY, offsetX + width, offsetY + height).
  lcPelRect window() const;
  // The pairs of row `y` (a grid row), its end pair included.
  std::span<const uint8_t> row(int32_t y) const;
  // Pairs before each row's end pair, summed over the rows.
  int64_t runCount() const;
  // Whether some run of the buffer has `value` (a mask needs expanding when 0 appears).
  bool hasRunOf(uint8_t value) const;
  // All rows one after another.
  std::span<const uint8_t> bytes() const;

  // The client-from-pixel transform of the grid the encoding was made in.
  const lc2XformCache& xform() const;
  void setXform(lc2XformCache xform);

 private:
  struct Rep;
  const Rep& rep() const;

  std::shared_ptr<const Rep> rep_;
  int32_t offsetX_ = 0;
  int32_t offsetY_ = 0;
  lc2XformCache xform_;
};

// Appends one row's runs to a byte block: stretches of one value are split at 255.
class lcRLERowWriter {
 public:
  explicit lcRLERowWriter(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  void run(uint8_t value, int64_t length) {
    if (length <= 0) return;
    // All the pairs of the run at once: long runs are the common case of a region.
    const size_t full = static_cast<size_t>(length / 255), rest = static_cast<size_t>(length % 255);
    const size_t at = bytes_.size();
    bytes_.resize(at + 2 * (full + (rest > 0)));
    uint8_t* out = bytes_.data() + at;
    for (size_t i = 0; i < full; ++i, out += 2)
      out[0] = value, out[1] = 255;
    if (rest > 0) out[0] = value, out[1] = static_cast<uint8_t>(rest);
  }
  void endRow() { pair(0, 0); }

 private:
  void pair(uint8_t value, uint8_t length) {
    bytes_.push_back(value);
    bytes_.push_back(length);
  }
  std::vector<uint8_t>& bytes_;
};
