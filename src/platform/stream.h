#pragma once
// Byte streams (IStream) and the in-memory stream the library saves into and loads from.

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/export.h"
#include "platform/unknown.h"

inline constexpr DWORD STREAM_SEEK_SET = 0;
inline constexpr DWORD STREAM_SEEK_CUR = 1;
inline constexpr DWORD STREAM_SEEK_END = 2;

inline constexpr DWORD STGTY_STREAM = 2;
inline constexpr DWORD STATFLAG_DEFAULT = 0;
inline constexpr DWORD STATFLAG_NONAME = 1;

struct STATSTG {
  LPOLESTR pwcsName;  // task memory; null with STATFLAG_NONAME
  DWORD type;
  ULARGE_INTEGER cbSize;
  DWORD grfMode;
};

LUM_INTERFACE_ID(ISequentialStream, IUnknown, lum::guid("{0C733A30-2A1C-11CE-ADE5-00AA0044773D}"));
struct LUM_VISIBLE ISequentialStream : IUnknown {
  // Reads up to `count` bytes; fewer (even 0) at the end of the stream, still S_OK.
  virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
  virtual HRESULT Write(const void* buffer, ULONG count, ULONG* written) = 0;
};

LUM_INTERFACE_ID(IStream, ISequentialStream, lum::guid("{0000000C-0000-0000-C000-000000000046}"));
struct LUM_VISIBLE IStream : ISequentialStream {
  virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER size) = 0;
  virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                         ULARGE_INTEGER* written) = 0;
  virtual HRESULT Commit(DWORD flags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) = 0;
  virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD type) = 0;
  virtual HRESULT Stat(STATSTG* stat, DWORD flags) = 0;
  virtual HRESULT Clone(IStream** copy) = 0;
};

namespace lum {

// A growable stream in memory, positioned at its start, holding a copy of `bytes`.
// Clone shares the bytes and has its own position. E_OUTOFMEMORY when it cannot grow.
LUM_PLATFORM_API HRESULT createMemoryStream(IStream** stream);
LUM_PLATFORM_API HRESULT createMemoryStream(const void* bytes, std::size_t size, IStream** stream);

// A stream that reads `size` bytes at `bytes` where they are, without copying them;
// `owner` keeps them alive for as long as the stream or a clone of it lives. Writing
// gives STG_E_ACCESSDENIED.
LUM_PLATFORM_API HRESULT createReadOnlyStream(const void* bytes, std::size_t size,
                                              std::shared_ptr<const void> owner, IStream** stream);

// The bytes of a stream that createReadOnlyStream made, from its position to its end, and
// their owner; false (and nothing set) for any other stream.
struct ReadOnlyBytes {
  const std::byte* data = nullptr;
  std::size_t size = 0;
  std::shared_ptr<const void> owner;
};
LUM_PLATFORM_API bool readOnlyStreamRest(IStream* stream, ReadOnlyBytes* rest);

// A stream that keeps no bytes and counts how many were written past its furthest
// position (what saving an object would take). Reading from it gives nothing.
LUM_PLATFORM_API HRESULT createCountingStream(IStream** stream);

// Every byte of a stream, from its start to its end; its position is left at the end.
LUM_PLATFORM_API HRESULT readWholeStream(IStream* stream, std::vector<std::byte>* bytes);

}  // namespace lum
