#include "std/rlebuf/rle_buffer.h"

#include <algorithm>
#include <cstring>
#include <string>

struct lcRLEBuffer::Rep {
  int32_t width = 0;
  std::span<const uint8_t> bytes;
  std::vector<uint32_t> rowStarts;  // height + 1 entries; the last is the block's end
  std::shared_ptr<const void> owner;
};

namespace {

// The start of every row, checking that each covers `width` columns and ends.
std::vector<uint32_t> findRows(std::span<const uint8_t> bytes, int32_t width, int32_t height) {
  if (width < 0 || height < 0) throw lcRLEBuffer::BadEncoding(L"negative size");
  if (bytes.size() > UINT32_MAX) throw lcRLEBuffer::BadEncoding(L"encoding too large");
  // Every row takes at least its end pair: checked before the list is allocated.
  if (static_cast<uint64_t>(height) * 2 > bytes.size())
    throw lcRLEBuffer::BadEncoding(L"fewer bytes than rows");
  std::vector<uint32_t> starts;
  starts.reserve(static_cast<size_t>(height) + 1);
  size_t at = 0;
  for (int32_t y = 0; y < height; ++y) {
    starts.push_back(static_cast<uint32_t>(at));
    int64_t covered = 0;
    for (;;) {
      if (at + 2 > bytes.size())
        throw lcRLEBuffer::BadEncoding(L"row " + std::to_wstring(y) + L" has no end");
      const uint8_t length = bytes[at + 1];
      at += 2;
      if (length == 0) break;
      covered += length;
    }
    if (covered != width)
      throw lcRLEBuffer::BadEncoding(L"row " + std::to_wstring(y) + L" does not cover the width");
  }
  if (at != bytes.size()) throw lcRLEBuffer::BadEncoding(L"bytes after the last row");
  starts.push_back(static_cast<uint32_t>(at));
  return starts;
}

}  // namespace

lcRLEBuffer::lcRLEBuffer(int32_t offsetX, int32_t offsetY, int32_t width, int32_t height,
                         std::span<const uint8_t> bytes, std::shared_ptr<const void> owner)
    : offsetX_(offsetX), offsetY_(offsetY) {
  auto rep = std::make_shared<Rep>();
  rep->rowStarts = findRows(bytes, width, height);
  rep->width = width;
  rep->bytes = bytes;
  rep->owner = std::move(owner);
  rep_ = std::move(rep);
}

lcRLEBuffer::lcRLEBuffer(int32_t offsetX, int32_t offsetY, int32_t width, int32_t height,
                         std::vector<uint8_t> bytes) {
  auto owned = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
  *this = lcRLEBuffer(offsetX, offsetY, width, height, *owned, owned);
}

const lcRLEBuffer::Rep& lcRLEBuffer::rep() const {
  if (!rep_) throw Degenerate(L"the run-length buffer is empty");
  return *rep_;
}

int32_t lcRLEBuffer::offsetX() const {
  rep();
  return offsetX_;
}

int32_t lcRLEBuffer::offsetY() const {
  rep();
  return offsetY_;
}

void lcRLEBuffer::setOffset(int32_t x, int32_t y) {
  rep();
  offsetX_ = x, offsetY_ = y;
}

int32_t lcRLEBuffer::width() const {
  return rep().width;
}

int32_t lcRLEBuffer::height() const {
  return static_cast<int32_t>(rep().rowStarts.size() - 1);
}

lcPelRect lcRLEBuffer::window() const {
  return {offsetX_, offsetY_, offsetX_ + width(), offsetY_ + height()};
}

std::span<const uint8_t> lcRLEBuffer::row(int32_t y) const {
  const Rep& r = rep();
  const int64_t index = static_cast<int64_t>(y) - offsetY_;
  if (index < 0 || index >= height()) throw BadRow(L"row " + std::to_wstring(y));
  const uint32_t begin = r.rowStarts[index], end = r.rowStarts[index + 1];
  return r.bytes.subspan(begin, end - begin);
}

int64_t lcRLEBuffer::runCount() const {
  const Rep& r = rep();
  // Every pair but the end pairs, one per row.
  return static_cast<int64_t>(r.bytes.size() / 2) - height();
}

bool lcRLEBuffer::hasRunOf(uint8_t value) const {
  const std::span<const uint8_t> all = rep().bytes;
  for (size_t at = 0; at + 1 < all.size(); at += 2)
    if (all[at + 1] != 0 && all[at] == value) return true;
  return false;
}

std::span<const uint8_t> lcRLEBuffer::bytes() const {
  return rep().bytes;
}

const lc2XformCache& lcRLEBuffer::xform() const {
  rep();
  return xform_;
}

void lcRLEBuffer::setXform(lc2XformCache xform) {
  rep();
  xform_ = std::move(xform);
}

lcRLEBlockWriter::lcRLEBlockWriter(int32_t offsetX, int32_t offsetY, int32_t width, int32_t height)
    : offsetX_(offsetX), offsetY_(offsetY), width_(width), height_(height) {
  if (width < 0 || height < 0) throw lcRLEBuffer::BadEncoding(L"negative size");
  rowStarts_.resize(static_cast<size_t>(height) + 1);
  // Room for three runs of any lengths a row (a convex region's row) up front, within
  // a bound, so that most encodings never grow the block.
  const uint64_t perRow = 2 * (3 + static_cast<uint64_t>(width / 255) + 1);
  grow(static_cast<size_t>(std::min<uint64_t>(perRow * static_cast<uint64_t>(height), 1u << 24)));
}

void lcRLEBlockWriter::grow(size_t room) {
  const size_t used = size();
  const size_t capacity = static_cast<size_t>(end_ - block_.get());
  if (room > UINT32_MAX - used) throw lcRLEBuffer::BadEncoding(L"encoding too large");
  const size_t wanted = std::max(used + room, std::min<size_t>(2 * capacity, UINT32_MAX));
  auto block = std::make_unique_for_overwrite<uint8_t[]>(wanted);
  if (used > 0) std::memcpy(block.get(), block_.get(), used);
  block_ = std::move(block);
  at_ = block_.get() + used;
  end_ = block_.get() + wanted;
}

void lcRLEBlockWriter::beginRowFailed() const {
  throw lcRLEBuffer::BadEncoding(open_ ? L"a row begun before the last one ended"
                                       : L"more rows than the buffer holds");
}

void lcRLEBlockWriter::endRowFailed() const {
  throw lcRLEBuffer::BadEncoding(L"row " + std::to_wstring(row_) + L" ended before it began");
}

lcRLEBuffer lcRLEBlockWriter::finish() {
  if (open_ || row_ != height_) throw lcRLEBuffer::BadEncoding(L"rows missing");
  rowStarts_.back() = static_cast<uint32_t>(size());
  auto rep = std::make_shared<lcRLEBuffer::Rep>();
  rep->width = static_cast<int32_t>(width_);
  rep->bytes = {block_.get(), size()};
  rep->rowStarts = std::move(rowStarts_);
  rep->owner = std::shared_ptr<const uint8_t[]>(std::move(block_));
  at_ = end_ = nullptr;
  lcRLEBuffer buffer;
  buffer.rep_ = std::move(rep);
  buffer.offsetX_ = offsetX_, buffer.offsetY_ = offsetY_;
  return buffer;
}
