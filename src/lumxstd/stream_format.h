#pragma once
// The binary stream format of the persistence service (docs/persistence-format.md):
// a header, then one object record; an object record holds a class identifier and the
// object's property archive, whose values hold further object records. Reading treats
// the bytes as untrusted: every count is checked against the bytes left before anything
// is allocated, nesting is bounded (lcNestingGuard: objects and arrays of VARIANTs take
// a level each, counted across nested loads), and a reference to an object still being
// read is refused.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lumxip/HalvexCore.h"
#include "lumxstd/persisted_objects.h"

namespace lumxstd {

inline constexpr char kStreamMagic[8] = {'L', 'U', 'M', 'X', 'I', 'P', 'B', '\x1a'};
inline constexpr uint32_t kStreamFormatVersion = 1;

// Writes objects into a byte buffer.
class StreamWriter {
 public:
  explicit StreamWriter(LONG mode) : mode_(mode | lumPersistWriting) {}
  // The header and the top object; throws lcCOMError or a core exception.
  void writeDocument(IUnknown* object);
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  void writeObject(IUnknown* object);
  void writeArchive(ILumArchive& archive);
  void writeValue(const VARIANT& value);
  void writeArray(SAFEARRAY* array, VARTYPE elementType);
  void writeString(std::wstring_view text);
  void writeGuid(const GUID& guid);
  void put(const void* data, std::size_t size);
  template <class T>
  void putScalar(T value);

  LONG mode_;
  std::vector<uint8_t> bytes_;
  SavedObjects written_;
};

// Reads objects out of bytes that `owner` keeps alive. Every object read is suspended
// once, reads its properties and is told PostLoad (nested: true; the top object: false).
// A streamed record's object reads its bytes where they are, through a read-only stream.
class StreamReader {
 public:
  StreamReader(const uint8_t* data, std::size_t size, std::shared_ptr<const void> owner, LONG mode)
      : data_(data), size_(size), owner_(std::move(owner)), mode_(mode & ~lumPersistWriting) {}
  // Reads the header and the top object; into `into` when it is given (its class must
  // be the stream's). Returns the object.
  ComPtr<IUnknown> readDocument(IUnknown* into);
  std::size_t consumed() const { return position_; }
  // Problems met while reading, one entry per object that had any.
  const std::vector<std::wstring>& problems() const { return problems_; }

 private:
  void readHeader();
  ComPtr<IUnknown> readObject(IUnknown* into, bool top);
  void readStreamed(IUnknown& object);
  void readArchived(IUnknown& object, const CLSID& clsid, bool top, bool existed);
  lum::Variant readValue();
  SAFEARRAY* readArray(VARTYPE elementType);
  std::wstring readString();
  GUID readGuid();
  void take(void* out, std::size_t size);
  template <class T>
  T takeScalar();
  // Checks that `count` items of at least `minBytes` each can still be there.
  void requireRoom(uint64_t count, uint64_t minBytes) const;

  const uint8_t* data_;
  std::size_t size_;
  std::shared_ptr<const void> owner_;
  std::size_t position_ = 0;
  LONG mode_;
  LoadedObjects read_;
  std::vector<std::wstring> problems_;
};

}  // namespace lumxstd
