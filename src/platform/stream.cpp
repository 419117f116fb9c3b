#include "platform/stream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "platform/com_object.h"

namespace lum {
namespace {

// Where a seek of `move` from `origin` lands, given the current position and size.
HRESULT seekTarget(uint64_t position, uint64_t size, LARGE_INTEGER move, DWORD origin,
                   uint64_t& target) {
  int64_t base = 0;
  switch (origin) {
    case STREAM_SEEK_SET:
      base = 0;
      break;
    case STREAM_SEEK_CUR:
      base = static_cast<int64_t>(position);
      break;
    case STREAM_SEEK_END:
      base = static_cast<int64_t>(size);
      break;
    default:
      return STG_E_INVALIDFUNCTION;
  }
  int64_t landed = 0;
  if (__builtin_add_overflow(base, move.QuadPart, &landed) || landed < 0) return STG_E_SEEKERROR;
  target = static_cast<uint64_t>(landed);
  return S_OK;
}

// Bytes shared by a memory stream and its clones.
using Storage = std::vector<std::byte>;

class MemoryStream final : public ComObject<IStream> {
 public:
  explicit MemoryStream(std::shared_ptr<Storage> bytes) : bytes_(std::move(bytes)) {}

  HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
    if (read) *read = 0;
    if (buffer == nullptr && count > 0) return STG_E_INVALIDPOINTER;
    const std::size_t available = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
    const std::size_t n = std::min<std::size_t>(count, available);
    if (n > 0) std::memcpy(buffer, bytes_->data() + position_, n);
    position_ += n;
    if (read) *read = static_cast<ULONG>(n);
    return S_OK;
  }

  HRESULT Write(const void* buffer, ULONG count, ULONG* written) override {
    if (written) *written = 0;
    if (buffer == nullptr && count > 0) return STG_E_INVALIDPOINTER;
    const std::size_t end = position_ + count;
    try {
      if (end > bytes_->size()) bytes_->resize(end);
    } catch (const std::bad_alloc&) {
      return STG_E_MEDIUMFULL;
    }
    if (count > 0) std::memcpy(bytes_->data() + position_, buffer, count);
    position_ = end;
    if (written) *written = count;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    uint64_t target = 0;
    if (HRESULT hr = seekTarget(position_, bytes_->size(), move, origin, target); FAILED(hr))
      return hr;
    position_ = static_cast<std::size_t>(target);
    if (position) position->QuadPart = position_;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER size) override {
    if (size.QuadPart > std::numeric_limits<std::size_t>::max() / 2) return STG_E_MEDIUMFULL;
    try {
      bytes_->resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
      return STG_E_MEDIUMFULL;
    }
    return S_OK;
  }

  HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                 ULARGE_INTEGER* written) override {
    if (read) read->QuadPart = 0;
    if (written) written->QuadPart = 0;
    if (target == nullptr) return STG_E_INVALIDPOINTER;
    const std::size_t available = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
    std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(count.QuadPart, available));
    uint64_t total = 0;
    while (n > 0) {
      const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(n, 1u << 30));
      ULONG done = 0;
      const HRESULT hr = target->Write(bytes_->data() + position_, chunk, &done);
      position_ += done;
      total += done;
      n -= done;
      if (FAILED(hr) || done == 0) break;
    }
    if (read) read->QuadPart = total;
    if (written) written->QuadPart = total;
    return S_OK;
  }

  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }

  HRESULT Stat(STATSTG* stat, DWORD) override {
    if (stat == nullptr) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = bytes_->size();
    return S_OK;
  }

  HRESULT Clone(IStream** copy) override {
    if (copy == nullptr) return STG_E_INVALIDPOINTER;
    *copy = nullptr;
    try {
      auto clone = makeComObject<MemoryStream>(bytes_);
      clone->position_ = position_;
      *copy = clone.detach();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  std::shared_ptr<Storage> bytes_;
  std::size_t position_ = 0;
};

// Counts bytes; holds none.
class CountingStream final : public ComObject<IStream> {
 public:
  HRESULT Read(void*, ULONG, ULONG* read) override {
    if (read) *read = 0;
    return S_OK;
  }
  HRESULT Write(const void*, ULONG count, ULONG* written) override {
    position_ += count;
    size_ = std::max(size_, position_);
    if (written) *written = count;
    return S_OK;
  }
  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    if (HRESULT hr = seekTarget(position_, size_, move, origin, position_); FAILED(hr)) return hr;
    if (position) position->QuadPart = position_;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER size) override {
    size_ = size.QuadPart;
    return S_OK;
  }
  HRESULT CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT Stat(STATSTG* stat, DWORD) override {
    if (stat == nullptr) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = size_;
    return S_OK;
  }
  HRESULT Clone(IStream**) override { return STG_E_INVALIDFUNCTION; }

 private:
  uint64_t position_ = 0;
  uint64_t size_ = 0;
};

}  // namespace

HRESULT createCountingStream(IStream** stream) {
  if (stream == nullptr) return E_POINTER;
  *stream = nullptr;
  try {
    *stream = makeComObject<CountingStream>().detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT createMemoryStream(const void* bytes, std::size_t size, IStream** stream) {
  if (stream == nullptr) return E_POINTER;
  *stream = nullptr;
  if (bytes == nullptr && size > 0) return E_INVALIDARG;
  try {
    auto storage = std::make_shared<Storage>(size);
    if (size > 0) std::memcpy(storage->data(), bytes, size);
    *stream = makeComObject<MemoryStream>(std::move(storage)).detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT createMemoryStream(IStream** stream) {
  return createMemoryStream(nullptr, 0, stream);
}

HRESULT readWholeStream(IStream* stream, std::vector<std::byte>* bytes) {
  if (stream == nullptr || bytes == nullptr) return E_POINTER;
  bytes->clear();
  if (HRESULT hr = stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr); FAILED(hr)) return hr;
  try {
    std::byte chunk[4096];
    for (;;) {
      ULONG read = 0;
      if (HRESULT hr = stream->Read(chunk, sizeof chunk, &read); FAILED(hr)) return hr;
      if (read == 0) break;
      bytes->insert(bytes->end(), chunk, chunk + read);
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace lum
