#include "lumxstd/stream_format.h"

#include <cstring>
#include <optional>

#include "components/framework/com_error.h"
#include "lumxstd/persisted_objects.h"
#include "persist/nesting_guard.h"
#include "persist/property_archive.h"
#include "platform/variant_types.h"
#include "std/archive/archive.h"

namespace lumxstd {
namespace {

enum RecordTag : uint8_t {
  kNullObject = 0,
  kArchivedObject = 1,  // class identifier, then its property archive
  kReference = 2,       // index of an object met before
  kStreamedObject = 3,  // class identifier, then the bytes of its own IStream form
};

// Bytes each element of an array takes at least in a stream; 0 for unsupported types.
uint64_t minimumSize(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return 4;  // its length
    case VT_UNKNOWN:
    case VT_DISPATCH:
      return 1;  // a record tag
    case VT_VARIANT:
      return 2;  // a type
    default:
      return lum::arrayElementSize(vt);  // the value itself
  }
}

}  // namespace

// ---- writing ------------------------------------------------------------------------

void StreamWriter::put(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + size);
}

template <class T>
void StreamWriter::putScalar(T value) {
  uint8_t buffer[sizeof(T)];
  std::memcpy(buffer, &value, sizeof(T));  // the machines we run on are little-endian
  static_assert(std::endian::native == std::endian::little, "the format is little-endian");
  put(buffer, sizeof(T));
}

void StreamWriter::writeString(std::wstring_view text) {
  putScalar<uint32_t>(static_cast<uint32_t>(text.size()));
  for (wchar_t c : text)
    putScalar<uint32_t>(static_cast<uint32_t>(c));
}

void StreamWriter::writeGuid(const GUID& guid) {
  putScalar(guid.Data1);
  putScalar(guid.Data2);
  putScalar(guid.Data3);
  put(guid.Data4, 8);
}

void StreamWriter::writeDocument(IUnknown* object) {
  if (object == nullptr) throw lcCOMError(E_POINTER, 0);
  put(kStreamMagic, sizeof kStreamMagic);
  putScalar<uint32_t>(kStreamFormatVersion);
  putScalar<uint32_t>(0);  // flags, reserved
  writeObject(object);
}

void StreamWriter::writeObject(IUnknown* object) {
  if (object == nullptr) {
    putScalar<uint8_t>(kNullObject);
    return;
  }
  const ComPtr<IUnknown> identity = identityOf(object);
  if (const auto index = written_.find(identity)) {
    putScalar<uint8_t>(kReference);
    putScalar<uint32_t>(*index);
    return;
  }
  const lcNestingGuard level(L"objects");
  const CLSID clsid = classIdOf(object);
  if (auto persist = identity.as<ILumPersistArchive>()) {
    const uint32_t slot = written_.add(identity);
    putScalar<uint8_t>(kArchivedObject);
    writeGuid(clsid);
    writeArchive(*writeArchiveOf(*persist, mode_));
    written_.complete(slot);
    return;
  }
  if (auto streamed = identity.as<IPersistStream>()) {
    written_.complete(written_.add(identity));
    const std::vector<std::byte> bytes = streamedBytesOf(*streamed);
    putScalar<uint8_t>(kStreamedObject);
    writeGuid(clsid);
    putScalar<uint32_t>(static_cast<uint32_t>(bytes.size()));
    put(bytes.data(), bytes.size());
    return;
  }
  throw lcCOMError::withDescription(E_NOINTERFACE,
                                    L"An object cannot be saved: it offers no persistence.");
}

void StreamWriter::writeArchive(ILumArchive& archive) {
  LONG count = 0;
  archive.get_Count(&count);
  putScalar<uint32_t>(static_cast<uint32_t>(count));
  for (LONG i = 0; i < count; ++i) {
    lum::Bstr key;
    archive.get_Key(i, key.put());
    lum::Variant value;
    throwIfFailed(archive.get_Item(i, value.put()));
    writeString(key.view());
    writeValue(value.get());
  }
}

void StreamWriter::writeValue(const VARIANT& input) {
  lum::Variant value;
  throwIfFailed(VariantCopyInd(value.ptr(), &input));
  const VARIANT& v = value.get();
  putScalar<uint16_t>(v.vt);
  if (v.vt & VT_ARRAY) {
    writeArray(v.parray, v.vt & VT_TYPEMASK);
    return;
  }
  // A scalar is its value's bytes.
  if (lum::detail::forScalarType(v.vt, [&](auto scalar) { putScalar(v.*decltype(scalar)::value); }))
    return;
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return;
    case VT_BSTR:
      writeString(lum::bstrView(v.bstrVal));
      return;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      writeObject(v.punkVal);
      return;
    default:
      throw lcArchive::BadType(L"a value of a type that cannot be saved");
  }
}

void StreamWriter::writeArray(SAFEARRAY* array, VARTYPE elementType) {
  const auto level = arrayNestingLevel(elementType);
  const ArrayElements elements(array);
  const auto count = static_cast<uint32_t>(elements.count());
  putScalar<int32_t>(elements.lower());
  putScalar<uint32_t>(count);
  for (uint32_t i = 0; i < count; ++i) {
    auto* element = const_cast<std::byte*>(elements.element(i));
    switch (elementType) {
      case VT_BSTR:
        writeString(lum::bstrView(*reinterpret_cast<BSTR*>(element)));
        break;
      case VT_UNKNOWN:
      case VT_DISPATCH:
        writeObject(*reinterpret_cast<IUnknown**>(element));
        break;
      case VT_VARIANT:
        writeValue(*reinterpret_cast<VARIANT*>(element));
        break;
      default:
        if (minimumSize(elementType) == 0)
          throw lcArchive::BadType(L"an array that cannot be saved");
        put(element, elements.elementSize());
    }
  }
}

// ---- reading ------------------------------------------------------------------------

void StreamReader::requireRoom(uint64_t count, uint64_t minBytes) const {
  const uint64_t left = size_ - position_;
  if (minBytes != 0 && count > left / minBytes)
    throw lcArchive::Eof(L"the stream ends before the data it announces");
}

void StreamReader::take(void* out, std::size_t size) {
  if (size > size_ - position_) throw lcArchive::Eof(L"the stream ends unexpectedly");
  std::memcpy(out, data_ + position_, size);
  position_ += size;
}

template <class T>
T StreamReader::takeScalar() {
  T value;
  take(&value, sizeof(T));
  return value;
}

std::wstring StreamReader::readString() {
  const uint32_t length = takeScalar<uint32_t>();
  requireRoom(length, 4);
  std::wstring text(length, L'\0');
  for (wchar_t& c : text)
    c = static_cast<wchar_t>(takeScalar<uint32_t>());
  return text;
}

GUID StreamReader::readGuid() {
  GUID guid;
  guid.Data1 = takeScalar<uint32_t>();
  guid.Data2 = takeScalar<uint16_t>();
  guid.Data3 = takeScalar<uint16_t>();
  take(guid.Data4, 8);
  return guid;
}

// Nested loads pass through readDocument, readObject and the service again for every
// streamed record, so those keep their frames small: what needs texts and temporaries
// (the header, making the object) is done in functions of its own.
ComPtr<IUnknown> StreamReader::readDocument(IUnknown* into) {
  readHeader();
  ComPtr<IUnknown> object = readObject(into, true);
  if (!object) throw lcArchive::BadContent(L"the stream holds no object");
  return object;
}

void StreamReader::readHeader() {
  char magic[sizeof kStreamMagic];
  take(magic, sizeof magic);
  if (std::memcmp(magic, kStreamMagic, sizeof magic) != 0)
    throw lcArchive::BadFile(L"the stream does not hold a saved lumxip object");
  const uint32_t version = takeScalar<uint32_t>();
  if (version > kStreamFormatVersion)
    throw lcArchive::UnknownArchiveVersion(
        L"the stream was written by a newer version of lumxip (format " + std::to_wstring(version) +
        L"); this version reads formats up to " + std::to_wstring(kStreamFormatVersion));
  if (version == 0) throw lcArchive::BadContent(L"stream format 0 does not exist");
  (void)takeScalar<uint32_t>();  // flags, reserved
}

ComPtr<IUnknown> StreamReader::readObject(IUnknown* into, bool top) {
  const uint8_t tag = takeScalar<uint8_t>();
  if (tag == kNullObject) return nullptr;
  if (tag == kReference) return read_.at(takeScalar<uint32_t>());
  if (tag != kArchivedObject && tag != kStreamedObject)
    throw lcArchive::BadContent(L"an unknown object record");

  const lcNestingGuard level(L"objects");
  const CLSID clsid = readGuid();
  const bool existed = top && into;
  const ComPtr<IUnknown> object = objectForRecord(clsid, existed ? into : nullptr, mode_);
  const uint32_t slot = read_.reserve();
  if (tag == kStreamedObject)
    readStreamed(*object);
  else
    readArchived(*object, clsid, top, existed);
  read_.fill(slot, object);
  return object;
}

// The object reads its bytes where they are: a nested load through the persistence
// service copies nothing.
void StreamReader::readStreamed(IUnknown& object) {
  const uint32_t size = takeScalar<uint32_t>();
  requireRoom(size, 1);
  loadStreamed(object, data_ + position_, size, owner_);
  position_ += size;
}

// Every byte of the archive is read before the object is touched.
void StreamReader::readArchived(IUnknown& object, const CLSID& clsid, bool top, bool existed) {
  ComPtr<ILumArchive> archive = lcCreatePropertyArchive(mode_);
  const uint32_t count = takeScalar<uint32_t>();
  requireRoom(count, 4 + 2);  // an empty key and a type
  for (uint32_t i = 0; i < count; ++i) {
    const std::wstring key = readString();
    const lum::Variant value = readValue();
    lcAppendToArchive(*archive, value.get(), key);
  }
  readArchiveInto(object, *archive, clsid, mode_, top, existed, problems_);
}

lum::Variant StreamReader::readValue() {
  const VARTYPE vt = takeScalar<uint16_t>();
  lum::Variant value;
  VARIANT& v = *value.ptr();
  if (vt & VT_ARRAY) {
    if (vt & ~(VT_ARRAY | VT_TYPEMASK)) throw lcArchive::BadContent(L"a value of an unknown type");
    SAFEARRAY* array = readArray(vt & VT_TYPEMASK);
    v.vt = vt;
    v.parray = array;
    return value;
  }
  const bool scalar = lum::detail::forScalarType(vt, [&](auto type) {
    using S = decltype(type);
    v.*S::value = takeScalar<typename S::Type>();
  });
  if (!scalar) {
    switch (vt) {
      case VT_EMPTY:
      case VT_NULL:
        break;
      case VT_BSTR: {
        lum::Bstr text(readString());
        v.bstrVal = text.detach();
        break;
      }
      case VT_UNKNOWN:
      case VT_DISPATCH: {
        ComPtr<IUnknown> object = readObject(nullptr, false);
        if (vt == VT_DISPATCH && object) {
          ComPtr<IDispatch> dispatch = object.as<IDispatch>();
          if (!dispatch) throw lcArchive::BadContent(L"an object without IDispatch");
          v.pdispVal = dispatch.detach();
        } else {
          v.punkVal = object.detach();
        }
        break;
      }
      default:
        throw lcArchive::BadContent(L"a value of an unknown type");
    }
  }
  v.vt = vt;
  return value;
}

SAFEARRAY* StreamReader::readArray(VARTYPE elementType) {
  const auto level = arrayNestingLevel(elementType);
  const uint64_t minBytes = minimumSize(elementType);
  if (minBytes == 0) throw lcArchive::BadContent(L"an array of an unknown type");
  const int32_t lower = takeScalar<int32_t>();
  const uint32_t count = takeScalar<uint32_t>();
  requireRoom(count, minBytes);
  SAFEARRAY* array = SafeArrayCreateVector(elementType, lower, count);
  if (array == nullptr) throw std::bad_alloc();
  try {
    for (uint32_t i = 0; i < count; ++i) {
      LONG index = static_cast<LONG>(int64_t{lower} + i);
      switch (elementType) {
        case VT_BSTR: {
          const lum::Bstr text(readString());
          throwIfFailed(SafeArrayPutElement(array, &index, text.get()));
          break;
        }
        case VT_UNKNOWN: {
          ComPtr<IUnknown> object = readObject(nullptr, false);
          throwIfFailed(SafeArrayPutElement(array, &index, object.get()));
          break;
        }
        case VT_DISPATCH: {
          ComPtr<IUnknown> object = readObject(nullptr, false);
          ComPtr<IDispatch> dispatch = object.as<IDispatch>();
          if (object && !dispatch) throw lcArchive::BadContent(L"an object without IDispatch");
          throwIfFailed(SafeArrayPutElement(array, &index, dispatch.get()));
          break;
        }
        case VT_VARIANT: {
          lum::Variant element = readValue();
          throwIfFailed(SafeArrayPutElement(array, &index, element.ptr()));
          break;
        }
        default: {
          uint8_t element[8];
          take(element, array->cbElements);
          throwIfFailed(SafeArrayPutElement(array, &index, element));
        }
      }
    }
  } catch (...) {
    SafeArrayDestroy(array);
    throw;
  }
  return array;
}

}  // namespace lumxstd
