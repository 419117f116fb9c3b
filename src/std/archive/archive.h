#pragma once
// The core archive: a byte stream that core objects write themselves into and read
// themselves back from. The same `archive` routine of an object both writes and reads;
// the archive's direction decides which. Values move byte by byte, least significant
// byte first, or most significant first when the archive says so. The layout of
// strings, counts and object references is described in docs/ARCHITECTURE.md.
//
// Archives are untrusted input when loading: every count is checked against the bytes
// that remain before anything is allocated, and nothing is read past the end.

#include <algorithm>
#include <bit>
#include <concepts>
#include <cstdint>
#include <map>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "std/archive/persistent.h"
#include "std/except/exception.h"
#include "std/util/ptr_handle.h"

// The scalar types an archive moves: 8-, 16-, 32- and 64-bit integers and doubles (the
// 8- and 16-bit ones are pixel values).
template <class T>
concept lcArchiveScalar =
    std::same_as<T, uint8_t> || std::same_as<T, int8_t> || std::same_as<T, uint16_t> ||
    std::same_as<T, int16_t> || std::same_as<T, int32_t> || std::same_as<T, uint32_t> ||
    std::same_as<T, int64_t> || std::same_as<T, uint64_t> || std::same_as<T, double>;

// The unsigned integer with a scalar's bits.
template <lcArchiveScalar T>
using lcArchiveBits =
    std::make_unsigned_t<std::conditional_t<std::is_same_v<T, double>, uint64_t, T>>;

// An object that a handle can hold and an archive can hold: counted and persistent.
template <class T>
concept lcArchivableObject = std::derived_from<T, lcRepBase> && std::derived_from<T, lcPersistent>;

class LC_VISIBLE lcArchive {
 public:
  LC_ERROR_GROUP();
  LC_ERROR(lcArchive, Eof, 0x10000100);
  LC_ERROR(lcArchive, BadBuffer, 0x10000101);
  LC_ERROR(lcArchive, BadType, 0x10000102);
  LC_ERROR(lcArchive, BadContent, 0x10000103);
  LC_ERROR(lcArchive, NotFound, 0x10000104);
  LC_ERROR(lcArchive, Duplicate, 0x10000105);
  LC_ERROR(lcArchive, UnknownType, 0x10000106);
  LC_ERROR(lcArchive, BadFile, 0x10000109);
  LC_ERROR(lcArchive, UnknownArchiveVersion, 0x1000010a);
  LC_ERROR(lcArchive, CannotWriteToOldArchive, 0x1000010b);
  LC_ERROR(lcArchive, NotSeekable, 0x1000010c);

  // A version of a serialized object that its class does not know, named by the class's
  // source ("xflinear") and the line that found it.
  class LC_VISIBLE UnknownVersion : public Errors {
   public:
    static constexpr uint32_t kCode = 0x10000107;
    UnknownVersion(std::string_view source, int line);
    const std::string& source() const { return source_; }
    int line() const { return line_; }
    uint32_t errorCode() const override { return kCode; }
    [[noreturn]] void raise() const override { throw *this; }
    const wchar_t* className() const override { return L"class lcArchive::UnknownVersion"; }

   private:
    std::string source_;
    int line_;
  };

  enum class Direction { Storing, Loading };
  enum class ByteOrder { LeastSignificantFirst, MostSignificantFirst };

  // The layout this library writes; it is also the only one it reads.
  static constexpr uint32_t kCurrentVersion = 1;
  // Objects nested deeper than this are refused, so that a hostile archive cannot
  // exhaust the stack.
  static constexpr int kMaxObjectDepth = 64;

  // Wraps `buffer`, which must outlive the archive. An archive version this library
  // does not know throws UnknownArchiveVersion; storing in any version but the current
  // one throws CannotWriteToOldArchive.
  lcArchive(std::streambuf& buffer, Direction direction,
            ByteOrder order = ByteOrder::LeastSignificantFirst, uint32_t version = kCurrentVersion);
  lcArchive(const lcArchive&) = delete;
  lcArchive& operator=(const lcArchive&) = delete;

  bool isStoring() const { return direction_ == Direction::Storing; }
  bool isLoading() const { return direction_ == Direction::Loading; }
  uint32_t version() const { return version_; }
  ByteOrder byteOrder() const { return order_; }

  // Writes `value` when storing; reads it into `value` when loading.
  template <lcArchiveScalar T>
  void transfer(T& value);
  // A run of values whose length both sides know (no count is written): the values one
  // after the other, as transfer(T&) would write each.
  template <lcArchiveScalar T>
  void transfer(std::span<T> values);
  // A string: its byte count (32-bit), then its bytes.
  void transfer(std::string& value);
  // An object reached through a handle, stored once however often it is reached and
  // restored shared. A loaded object that is not a T throws BadType.
  template <lcArchivableObject T>
  void transfer(lcPtrHandle<T>& object);
  // A list of handles: its count (32-bit), then each handle. Loading replaces the list
  // only once every element has been read.
  template <lcArchivableObject T>
  void transfer(std::vector<lcPtrHandle<T>>& list);

  // Writes `current` as a class's version, or reads the version and returns it. A
  // version outside 1..current throws UnknownVersion naming `source` and `line`.
  uint32_t transferVersion(uint32_t current, std::string_view source, int line);
  // Writes a count (more than 32 bits: BadContent), or reads one and checks that at
  // least count * minBytesEach bytes remain (Eof otherwise).
  void transferCount(uint64_t& count, uint64_t minBytesEach);

  // The bytes that remain to be read. Measuring them moves within the stream, so a
  // stream that cannot seek throws NotSeekable.
  uint64_t bytesLeft();

 private:
  void putBytes(const void* bytes, std::size_t count);
  void getBytes(void* bytes, std::size_t count);
  void putBits(uint64_t bits, int size);
  uint64_t getBits(int size);
  // The `size` low bytes of `bits` in the archive's byte order, and back.
  void encodeBits(uint64_t bits, std::size_t size, unsigned char* bytes) const;
  uint64_t decodeBits(const unsigned char* bytes, std::size_t size) const;

  void storeObject(lcRepBase* identity, lcPersistent* object);
  lcPtrHandle<lcRepBase> loadObject();

  std::streambuf* buffer_;
  Direction direction_;
  uint32_t version_;
  ByteOrder order_;
  int depth_ = 0;
  // Storing: each object reached so far with its index; the handle keeps it alive so
  // that its address is not reused while the archive lasts.
  struct Stored {
    uint32_t index;
    lcPtrHandle<lcRepBase> keep;
  };
  std::map<const lcRepBase*, Stored> stored_;
  // Loading: the objects read so far by index; a slot stays empty while its object is
  // still being read, so that a reference to it is refused.
  std::vector<lcPtrHandle<lcRepBase>> loaded_;
};

template <lcArchiveScalar T>
void lcArchive::transfer(T& value) {
  if (isStoring())
    putBits(std::bit_cast<lcArchiveBits<T>>(value), sizeof(T));
  else
    value = std::bit_cast<T>(static_cast<lcArchiveBits<T>>(getBits(sizeof(T))));
}

template <lcArchiveScalar T>
void lcArchive::transfer(std::span<T> values) {
  // Moves the run through a local block, so that a large image costs few stream calls.
  constexpr std::size_t kBlockValues = 4096 / sizeof(T);
  unsigned char block[kBlockValues * sizeof(T)];
  for (std::size_t start = 0; start < values.size(); start += kBlockValues) {
    const std::size_t count = std::min(kBlockValues, values.size() - start);
    T* const first = values.data() + start;
    if (isStoring()) {
      for (std::size_t i = 0; i < count; ++i)
        encodeBits(std::bit_cast<lcArchiveBits<T>>(first[i]), sizeof(T), block + i * sizeof(T));
      putBytes(block, count * sizeof(T));
    } else {
      getBytes(block, count * sizeof(T));
      for (std::size_t i = 0; i < count; ++i)
        first[i] = std::bit_cast<T>(
            static_cast<lcArchiveBits<T>>(decodeBits(block + i * sizeof(T), sizeof(T))));
    }
  }
}

template <lcArchivableObject T>
void lcArchive::transfer(lcPtrHandle<T>& object) {
  if (isStoring()) {
    storeObject(object.get(), object.get());
    return;
  }
  lcPtrHandle<lcRepBase> loaded = loadObject();
  lcPtrHandle<T> typed = lcHandleCast<T>(loaded);
  if (loaded && !typed) throw BadType(L"an archived object is not of the expected class");
  object = std::move(typed);
}

template <lcArchivableObject T>
void lcArchive::transfer(std::vector<lcPtrHandle<T>>& list) {
  uint64_t count = list.size();
  transferCount(count, 1);  // a handle takes at least its one-byte tag
  if (isStoring()) {
    for (lcPtrHandle<T>& element : list)
      transfer(element);
    return;
  }
  std::vector<lcPtrHandle<T>> loaded(count);
  for (lcPtrHandle<T>& element : loaded)
    transfer(element);
  list = std::move(loaded);
}
