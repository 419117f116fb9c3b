#include "platform/file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <new>

#include "platform/com_object.h"

namespace lum {
namespace {

// The open file, closed when the last stream over it goes.
class FileHandle {
 public:
  explicit FileHandle(int fd) : fd_(fd) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { ::close(fd_); }
  int fd() const { return fd_; }

 private:
  int fd_;
};

HRESULT resultOfErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return STG_E_FILENOTFOUND;
    case EACCES:
    case EPERM:
    case EROFS:
      return STG_E_ACCESSDENIED;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return STG_E_MEDIUMFULL;
    default:
      return STG_E_INVALIDPARAMETER;
  }
}

class FileStream final : public ComObject<IStream> {
 public:
  FileStream(std::shared_ptr<FileHandle> file, bool writable)
      : file_(std::move(file)), writable_(writable) {}

  HRESULT Read(void* buffer, ULONG count, ULONG* read) override {
    if (read) *read = 0;
    if (buffer == nullptr && count > 0) return STG_E_INVALIDPOINTER;
    ULONG total = 0;
    while (total < count) {
      const ssize_t n = ::pread(file_->fd(), static_cast<char*>(buffer) + total, count - total,
                                static_cast<off_t>(position_));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return STG_E_READFAULT;
      if (n == 0) break;  // the end: fewer bytes, still S_OK
      total += static_cast<ULONG>(n);
      position_ += static_cast<uint64_t>(n);
    }
    if (read) *read = total;
    return S_OK;
  }

  HRESULT Write(const void* buffer, ULONG count, ULONG* written) override {
    if (written) *written = 0;
    if (!writable_) return STG_E_ACCESSDENIED;
    if (buffer == nullptr && count > 0) return STG_E_INVALIDPOINTER;
    ULONG total = 0;
    while (total < count) {
      const ssize_t n = ::pwrite(file_->fd(), static_cast<const char*>(buffer) + total,
                                 count - total, static_cast<off_t>(position_));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n < 0 && errno == ENOSPC ? STG_E_MEDIUMFULL : STG_E_WRITEFAULT;
      total += static_cast<ULONG>(n);
      position_ += static_cast<uint64_t>(n);
    }
    if (written) *written = total;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
    int64_t base = 0;
    if (origin == STREAM_SEEK_CUR) {
      base = static_cast<int64_t>(position_);
    } else if (origin == STREAM_SEEK_END) {
      uint64_t size = 0;
      if (HRESULT hr = sizeOf(size); FAILED(hr)) return hr;
      base = static_cast<int64_t>(size);
    } else if (origin != STREAM_SEEK_SET) {
      return STG_E_INVALIDFUNCTION;
    }
    int64_t landed = 0;
    if (__builtin_add_overflow(base, move.QuadPart, &landed) || landed < 0) return STG_E_SEEKERROR;
    position_ = static_cast<uint64_t>(landed);
    if (position) position->QuadPart = position_;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER size) override {
    if (!writable_) return STG_E_ACCESSDENIED;
    if (size.QuadPart > static_cast<uint64_t>(INT64_MAX)) return STG_E_INVALIDPARAMETER;
    if (::ftruncate(file_->fd(), static_cast<off_t>(size.QuadPart)) != 0)
      return resultOfErrno(errno);
    return S_OK;
  }

  HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                 ULARGE_INTEGER* written) override {
    if (read) read->QuadPart = 0;
    if (written) written->QuadPart = 0;
    if (target == nullptr) return STG_E_INVALIDPOINTER;
    char chunk[1 << 16];
    uint64_t left = count.QuadPart, total = 0;
    while (left > 0) {
      ULONG got = 0, put = 0;
      if (HRESULT hr =
              Read(chunk, static_cast<ULONG>(std::min<uint64_t>(left, sizeof chunk)), &got);
          FAILED(hr))
        return hr;
      if (got == 0) break;
      const HRESULT hr = target->Write(chunk, got, &put);
      total += put;
      left -= got;
      if (FAILED(hr)) return hr;
    }
    if (read) read->QuadPart = total;
    if (written) written->QuadPart = total;
    return S_OK;
  }

  HRESULT Commit(DWORD) override {
    return !writable_ || ::fsync(file_->fd()) == 0 ? S_OK : STG_E_WRITEFAULT;
  }
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
    uint64_t size = 0;
    if (HRESULT hr = sizeOf(size); FAILED(hr)) return hr;
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = size;
    return S_OK;
  }

  HRESULT Clone(IStream** copy) override {
    if (copy == nullptr) return STG_E_INVALIDPOINTER;
    *copy = nullptr;
    try {
      auto clone = makeComObject<FileStream>(file_, writable_);
      clone->position_ = position_;
      *copy = clone.detach();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  HRESULT sizeOf(uint64_t& size) const {
    struct stat info {};
    if (::fstat(file_->fd(), &info) != 0) return resultOfErrno(errno);
    size = static_cast<uint64_t>(info.st_size);
    return S_OK;
  }

  std::shared_ptr<FileHandle> file_;
  bool writable_;
  uint64_t position_ = 0;
};

}  // namespace

HRESULT createFileStream(const std::filesystem::path& file, FileStreamMode mode, IStream** stream) {
  if (stream == nullptr) return E_POINTER;
  *stream = nullptr;
  const bool create = mode == FileStreamMode::create;
  if (!create && mode != FileStreamMode::read) return E_INVALIDARG;
  const int flags = create ? O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC : O_RDONLY | O_CLOEXEC;
  const int fd = ::open(file.c_str(), flags, 0666);
  if (fd < 0) return resultOfErrno(errno);
  std::shared_ptr<FileHandle> handle;
  try {
    handle = std::make_shared<FileHandle>(fd);
  } catch (const std::bad_alloc&) {
    ::close(fd);
    return E_OUTOFMEMORY;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return STG_E_INVALIDPARAMETER;
  try {
    *stream = makeComObject<FileStream>(std::move(handle), create).detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

}  // namespace lum
