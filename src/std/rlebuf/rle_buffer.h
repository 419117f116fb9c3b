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

#include <array>
#include <cstdint>
#include <cstring>
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
  friend class lcRLEBlockWriter;
  struct Rep;
  const Rep& rep() const;

  std::shared_ptr<const Rep> rep_;
  int32_t offsetX_ = 0;
  int32_t offsetY_ = 0;
  lc2XformCache xform_;
};

// Writes the pairs of a run of `length` pixels from `out`, split at 255; returns the
// end. Nothing for a length <= 0.
inline uint8_t* lcWriteRunPairs(uint8_t* out, uint8_t value, int64_t length) {
  for (; length >= 255; length -= 255, out += 2)
    out[0] = value, out[1] = 255;
  if (length > 0) out[0] = value, out[1] = static_cast<uint8_t>(length), out += 2;
  return out;
}

// Appends one row's runs to a byte block: stretches of one value are split at 255.
class lcRLERowWriter {
 public:
  explicit lcRLERowWriter(std::vector<uint8_t>& bytes) : bytes_(bytes) {}
  void run(uint8_t value, int64_t length) {
    if (length <= 0) return;
    // All the pairs of the run at once: long runs are the common case of a region.
    const size_t at = bytes_.size();
    bytes_.resize(at + 2 * static_cast<size_t>(length / 255 + (length % 255 > 0)));
    lcWriteRunPairs(bytes_.data() + at, value, length);
  }
  void endRow() { pair(0, 0); }

 private:
  void pair(uint8_t value, uint8_t length) {
    bytes_.push_back(value);
    bytes_.push_back(length);
  }
  std::vector<uint8_t>& bytes_;
};

// Eight pairs (value, 255): the full pairs of a run, ready to store eight at a time.
struct lcRunPairs {
  explicit lcRunPairs(uint8_t value) {
    for (size_t i = 0; i < bytes.size(); i += 2)
      bytes[i] = value, bytes[i + 1] = 255;
  }
  std::array<uint8_t, 16> bytes;
};

// Writes the pairs of a run of `length` > 0 pixels of `pairs`' value from `out` and
// returns their end: most runs of a row take one store. The stores may reach 14 bytes
// past the end, which the rows of lcRLEBlockWriter leave room for.
inline uint8_t* lcWriteRunPairsFast(uint8_t* out, const lcRunPairs& pairs, int64_t length) {
  const auto full = static_cast<size_t>(length / 255);
  for (size_t i = 0; i < full; i += 8)
    std::memcpy(out + 2 * i, pairs.bytes.data(), pairs.bytes.size());
  out += 2 * full;
  if (const auto rest = static_cast<uint8_t>(length % 255); rest > 0)
    out[0] = pairs.bytes[0], out[1] = rest, out += 2;
  return out;
}

// Builds a whole buffer row by row in one block, for encoders that know how many runs a
// row holds before writing it: a row costs one room check, the stores of its pairs (by
// lcWriteRunPairsFast, through a pointer the encoder keeps in a register) and its end
// pair, and the buffer needs no second pass over its rows. The encoder vouches for what
// the readers rely on: a row's runs, no more than it announced, cover the width exactly.
class LC_VISIBLE lcRLEBlockWriter {
 public:
  lcRLEBlockWriter(int32_t offsetX, int32_t offsetY, int32_t width, int32_t height);

  // Starts the next row, with room for up to `runs` runs of any lengths that together
  // cover the width; returns where its pairs go. BadEncoding past the last row.
  uint8_t* beginRow(size_t runs) {
    if (open_ || row_ >= height_ || runs > kMaxRuns) beginRowFailed();
    // Splitting at 255 adds at most width / 255 pairs to a row's runs; one more ends it.
    const size_t room = 2 * (runs + static_cast<size_t>(width_ / 255) + 1) + kSlack;
    if (static_cast<size_t>(end_ - at_) < room) grow(room);
    rowStarts_[static_cast<size_t>(row_)] = static_cast<uint32_t>(at_ - block_.get());
    open_ = true;
    return at_;
  }
  // Ends the row whose pairs end at `end`.
  void endRow(uint8_t* end) {
    if (!open_) endRowFailed();
    end[0] = 0, end[1] = 0;
    at_ = end + 2;
    open_ = false;
    ++row_;
  }
  // Bytes written so far.
  size_t size() const { return static_cast<size_t>(at_ - block_.get()); }
  // The buffer over the rows written; BadEncoding unless all of them were.
  lcRLEBuffer finish();

 private:
  static constexpr size_t kMaxRuns = size_t{1} << 32;
  static constexpr size_t kSlack = 16;
  [[noreturn]] void beginRowFailed() const;
  [[noreturn]] void endRowFailed() const;
  void grow(size_t room);

  int32_t offsetX_, offsetY_;
  int64_t width_;
  int32_t height_;
  int32_t row_ = 0;
  bool open_ = false;
  std::unique_ptr<uint8_t[]> block_;
  uint8_t* at_ = nullptr;
  uint8_t* end_ = nullptr;
  std::vector<uint32_t> rowStarts_;
};
