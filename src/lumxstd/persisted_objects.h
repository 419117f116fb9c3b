#pragma once
// What both encodings of the persistence service do with the objects they save and load,
// whatever the bytes look like: naming an object's class, making the object a record
// names, numbering the objects written so that one reached twice is written once,
// reading an archive into an object and collecting what it could not read, and the bytes
// of an object that persists only to a stream.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lumxip/HalvexCore.h"
#include "persist/nesting_guard.h"

namespace lumxstd {

ComPtr<IUnknown> identityOf(IUnknown* object);
// The class identifier an object gives through IPersistStream or IPersist.
CLSID classIdOf(IUnknown* object);
// The class's ProgID when it is registered, else its identifier as text.
std::wstring classText(const CLSID& clsid);

// The object a record of class `clsid` is read into: `into` (of that class; E_INVALIDARG
// otherwise), a new property archive for the null identifier, or a new object of the
// class (REGDB_E_CLASSNOTREG when it is not registered). Failures name the class by
// `className` when it is given, else by classText.
ComPtr<IUnknown> objectForRecord(const CLSID& clsid, IUnknown* into, LONG mode,
                                 const std::wstring* className = nullptr);

// Arrays of VARIANTs may hold arrays again with no object between them, so each takes a
// level of nesting as an object does; other arrays cannot nest by themselves.
inline std::optional<lcNestingGuard> arrayNestingLevel(VARTYPE elementType) {
  if (elementType != VT_VARIANT) return std::nullopt;
  return std::optional<lcNestingGuard>(std::in_place, L"arrays of values");
}

// The elements of a one-dimensional array (none for a null one), accessed for as long as
// this lives, for a writer to walk.
class ArrayElements {
 public:
  explicit ArrayElements(SAFEARRAY* array);  // throws lcCOMError
  ~ArrayElements();
  ArrayElements(const ArrayElements&) = delete;
  ArrayElements& operator=(const ArrayElements&) = delete;

  LONG lower() const { return lower_; }
  std::size_t count() const { return count_; }
  std::size_t elementSize() const { return size_; }
  const std::byte* element(std::size_t i) const { return data_ + i * size_; }

 private:
  SAFEARRAY* array_ = nullptr;  // set while its data is accessed
  LONG lower_ = 0;
  std::size_t count_ = 0, size_ = 0;
  const std::byte* data_ = nullptr;
};

// Numbers the objects a writer meets in the order their records begin.
class SavedObjects {
 public:
  // The number of an object written before; throws lcArchive::BadContent for one whose
  // record is still being written (it holds itself).
  std::optional<uint32_t> find(const ComPtr<IUnknown>& identity) const;
  uint32_t add(const ComPtr<IUnknown>& identity);
  void complete(uint32_t index) { complete_[index] = true; }

 private:
  std::vector<ComPtr<IUnknown>> written_;
  std::vector<bool> complete_;
};

// The objects a reader has made, by number; a number is reserved while its object reads.
class LoadedObjects {
 public:
  uint32_t reserve();
  void fill(uint32_t index, ComPtr<IUnknown> object) { read_[index] = std::move(object); }
  // Throws lcArchive::BadContent for an unknown number or an object still being read.
  ComPtr<IUnknown> at(uint64_t index) const;

 private:
  std::vector<ComPtr<IUnknown>> read_;
};

// Writes an object's persisted properties into a new archive, in `mode`.
ComPtr<ILumArchive> writeArchiveOf(ILumPersistArchive& object, LONG mode);

// Reads a filled archive into `object`: suspended, left as it was when reading fails,
// then told PostLoad (nested unless `top`). What it could not read is appended to
// `problems` under the class's name.
void readArchiveInto(IUnknown& object, ILumArchive& archive, const CLSID& clsid, LONG mode,
                     bool top, bool existed, std::vector<std::wstring>& problems);

// What an object that persists only to a stream writes with its own Save.
std::vector<std::byte> streamedBytesOf(IPersistStream& object);
// Loads such an object from bytes that `owner` keeps alive, read where they are.
void loadStreamed(IUnknown& object, const uint8_t* data, std::size_t size,
                  std::shared_ptr<const void> owner);

}  // namespace lumxstd
