#include "platform/stream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <span>

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

// Reads from `bytes` at `position` as every stream does: fewer bytes, still S_OK, at
// the end.
HRESULT readBytes(std::span<const std::byte> bytes, std::size_t& position, void* buffer,
                  ULONG count, ULONG* read) {
  if (read) *read = 0;
  if (buffer == nullptr && count > 0) return STG_E_INVALIDPOINTER;
  const std::size_t available = position < bytes.size() ? bytes.size() - position : 0;
  const std::size_t n = std::min<std::size_t>(count, available);
  if (n > 0) std::memcpy(buffer, bytes.data() + position, n);
  position += n;
  if (read) *read = static_cast<ULONG>(n);
  return S_OK;
}

// Writes up to `count` bytes from `position` on into `target`.
HRESULT copyBytes(std::span<const std::byte> bytes, std::size_t& position, IStream* target,
                  ULARGE_INTEGER count, ULARGE_INTEGER* read, ULARGE_INTEGER* written) {
  if (read) read->QuadPart = 0;
  if (written) written->QuadPart = 0;
  if (target == nullptr) return STG_E_INVALIDPOINTER;
  const std::size_t available = position < bytes.size() ? bytes.size() - position : 0;
  std::size_t n = static_cast<std::size_t>(std::min<uint64_t>(count.QuadPart, available));
  uint64_t total = 0;
  while (n > 0) {
    const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(n, 1u << 30));
    ULONG done = 0;
    const HRESULT hr = target->Write(bytes.data() + position, chunk, &done);
    position += done;
    total += done;
    n -= done;
    if (FAILED(hr) || done == 0) break;
  }
  if (read) read->QuadPart = total;
  if (written) written->QuadPart = total;
  return S_OK;
}

HRESULT statOfSize(uint64_t size, STATSTG* stat) {
  if (stat == nullptr) return STG_E_INVALIDPOINTER;
  *stat = STATSTG{};
  stat->type = STGTY_STREAM;
  stat->cbSize.QuadPart = size;
  return S_OK;
}

// Bytes shared by a memory stream and its clones.
using Storage = std::vector<std::byte>;

// Reading, seeking and cloning a stream over bytes in memory, whoever keeps them:
// Derived gives bytes() (all of them, from the start) and copy() (a new stream over the
// same bytes).
template <class Derived>
class BytesStream : public ComObject<IStream> {
 public:
  HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
    return readBytes(self().bytes(), position_, buffer, count, read);
  }

  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    uint64_t target = 0;
    if (HRESULT hr = seekTarget(position_, self().bytes().size(), move, origin, target); FAILED(hr))
      return hr;
    position_ = static_cast<std::size_t>(target);
    if (position) position->QuadPart = position_;
    return S_OK;
  }

  HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                 ULARGE_INTEGER* written) override {
    return copyBytes(self().bytes(), position_, target, count, read, written);
  }

  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
    return STG_E_INVALIDFUNCTION;
  }

  HRESULT Stat(STATSTG* stat, DWORD) override { return statOfSize(self().bytes().size(), stat); }

  HRESULT Clone(IStream** copy) override {
    if (copy == nullptr) return STG_E_INVALIDPOINTER;
    *copy = nullptr;
    try {
      ComPtr<Derived> clone = self().copy();
      static_cast<BytesStream&>(*clone).position_ = position_;
      *copy = clone.detach();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 protected:
  std::size_t position_ = 0;

 private:
  const Derived& self() const { return static_cast<const Derived&>(*this); }
};

class MemoryStream final : public BytesStream<MemoryStream> {
 public:
  explicit MemoryStream(std::shared_ptr<Storage> bytes) : bytes_(std::move(bytes)) {}

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

  HRESULT SetSize(ULARGE_INTEGER size) override {
    if (size.QuadPart > std::numeric_limits<std::size_t>::max() / 2) return STG_E_MEDIUMFULL;
    try {
      bytes_->resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
      return STG_E_MEDIUMFULL;
    }
    return S_OK;
  }

  std::span<const std::byte> bytes() const { return *bytes_; }
  ComPtr<MemoryStream> copy() const { return makeComObject<MemoryStream>(bytes_); }

 private:
  std::shared_ptr<Storage> bytes_;
};

// Bytes that another object keeps, read where they are.
class ReadOnlyStream final : public BytesStream<ReadOnlyStream> {
 public:
  ReadOnlyStream(std::span<const std::byte> bytes, std::shared_ptr<const void> owner)
      : bytes_(bytes), owner_(std::move(owner)) {}

  HRESULT Write(const void*, ULONG, ULONG* written) override {
    if (written) *written = 0;
    return STG_E_ACCESSDENIED;
  }
  HRESULT SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }

  std::span<const std::byte> bytes() const { return bytes_; }
  ComPtr<ReadOnlyStream> copy() const { return makeComObject<ReadOnlyStream>(bytes_, owner_); }

  ReadOnlyBytes rest() const {
    const std::size_t from = std::min(position_, bytes_.size());
    return {bytes_.data() + from, bytes_.size() - from, owner_};
  }

 private:
  std::span<const std::byte> bytes_;
  std::shared_ptr<const void> owner_;
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
  HRESULT Stat(STATSTG* stat, DWORD) override { return statOfSize(size_, stat); }
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

HRESULT createReadOnlyStream(const void* bytes, std::size_t size, std::shared_ptr<const void> owner,
                             IStream** stream) {
  if (stream == nullptr) return E_POINTER;
  *stream = nullptr;
  if (bytes == nullptr && size > 0) return E_INVALIDARG;
  try {
    const std::span<const std::byte> view(static_cast<const std::byte*>(bytes), size);
    *stream = makeComObject<ReadOnlyStream>(view, std::move(owner)).detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

bool readOnlyStreamRest(IStream* stream, ReadOnlyBytes* rest) {
  const auto* readOnly = dynamic_cast<const ReadOnlyStream*>(stream);
  if (readOnly == nullptr || rest == nullptr) return false;
  *rest = readOnly->rest();
  return true;
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
