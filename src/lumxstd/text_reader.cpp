#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "components/framework/com_error.h"
#include "lumxstd/text_format.h"
#include "lumxstd/text_values.h"
#include "persist/property_archive.h"
#include "platform/variant_types.h"
#include "std/archive/archive.h"

namespace lumxstd {
namespace {

using Kind = JsonNode::Kind;

// The members a component's object may have; a hand-edited file with another is refused
// rather than read without it.
constexpr std::string_view kObjectMembers[] = {"ProgID", "CLSID", "FormatVersion", "Properties",
                                               "Stream"};

bool isObjectRecord(const JsonNode& node) {
  return node.find("ProgID") || node.find("CLSID") || node.find("Reference");
}

template <class T>
std::optional<T> integerFrom(const JsonNode& node) {
  if (!node.is(Kind::Number)) return std::nullopt;
  T value{};
  const char* end = node.text.data() + node.text.size();
  const auto [stop, error] = std::from_chars(node.text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string describe(const JsonNode& node) {
  switch (node.kind) {
    case Kind::Null:
      return "null";
    case Kind::Boolean:
      return node.boolean ? "true" : "false";
    case Kind::Number:
      return node.text;
    case Kind::String:
      return "a string";
    case Kind::Array:
      return "an array";
    default:
      return "an object";
  }
}

}  // namespace

void TextReader::fail(const std::string& what) const {
  std::string where;
  for (const auto& step : path_)
    where += "/" + step;
  throw lcArchive::BadContent(L"at " + lum::fromUtf8(where.empty() ? "/" : where) + L": " +
                              lum::fromUtf8(what));
}

ComPtr<IUnknown> TextReader::readDocument(IUnknown* into) {
  const JsonNode document = parseJson(bytes_);
  if (!document.is(Kind::Object)) fail("the text holds no object");
  ComPtr<IUnknown> object = readObject(document, into, true);
  if (!object) fail("the text holds no object");
  return object;
}

ComPtr<IUnknown> TextReader::readObject(const JsonNode& node, IUnknown* into, bool top) {
  if (node.is(Kind::Null)) return nullptr;
  if (!node.is(Kind::Object)) fail("an object is expected, not " + describe(node));
  if (const JsonNode* reference = node.find("Reference")) {
    if (node.members.size() != 1) fail("a reference has no other members");
    const auto index = integerFrom<uint64_t>(*reference);
    if (!index) fail("a reference is the number of an object met before");
    return read_.at(*index);
  }
  for (const auto& [name, value] : node.members)
    if (std::find(std::begin(kObjectMembers), std::end(kObjectMembers), name) ==
        std::end(kObjectMembers))
      fail("an object has no member \"" + name + "\"");
  const JsonNode* properties = node.find("Properties");
  const JsonNode* stream = node.find("Stream");
  if (properties && stream) fail("an object has either Properties or a Stream, not both");
  checkVersion(node);

  const lcNestingGuard level(L"objects");
  std::wstring className;
  const CLSID clsid = classOf(node, className);
  const bool existed = top && into;
  const ComPtr<IUnknown> object =
      objectForRecord(clsid, existed ? into : nullptr, mode_, &className);
  const uint32_t slot = read_.reserve();
  if (stream)
    readStreamed(*stream, *object);
  else
    readProperties(properties ? *properties : JsonNode::object(), *object, clsid, top, existed);
  read_.fill(slot, object);
  return object;
}

void TextReader::checkVersion(const JsonNode& node) {
  const JsonNode* version = node.find("FormatVersion");
  if (!version) return;  // hand-written files may leave it out
  const Step step(*this, "FormatVersion");
  const auto number = integerFrom<int64_t>(*version);
  if (!number || *number < 1) fail("the format version is a positive integer");
  if (*number > kTextFormatVersion)
    throw lcArchive::UnknownArchiveVersion(
        L"the text was written by a newer version of lumxip (format " + std::to_wstring(*number) +
        L"); this version reads formats up to " + std::to_wstring(kTextFormatVersion));
}

// The class identifier when it is given, else the class the ProgID names; both given
// must name one class.
CLSID TextReader::classOf(const JsonNode& node, std::wstring& className) {
  const JsonNode* progId = node.find("ProgID");
  const JsonNode* clsidText = node.find("CLSID");
  if ((progId && !progId->is(Kind::String)) || (clsidText && !clsidText->is(Kind::String)))
    fail("a ProgID or CLSID is a string");
  if (!progId && !clsidText) fail("an object names its class by a ProgID or a CLSID");
  CLSID byName{}, clsid{};
  const bool named =
      progId && SUCCEEDED(CLSIDFromProgID(lum::fromUtf8(progId->text).c_str(), &byName));
  if (clsidText && !lum::parseGuid(std::string_view(clsidText->text), clsid))
    fail("\"" + clsidText->text + "\" is not a class identifier");
  className = progId ? L"\"" + lum::fromUtf8(progId->text) + L"\"" : classText(clsid);
  if (!clsidText) {
    if (!named)
      throw lcCOMError::withDescription(
          REGDB_E_CLASSNOTREG,
          L"The stream holds an object of class " + className + L", which is not registered.");
    return byName;
  }
  if (named && byName != clsid)
    fail("the ProgID \"" + progId->text + "\" and the CLSID name different classes");
  return clsid;
}

void TextReader::readProperties(const JsonNode& node, IUnknown& object, const CLSID& clsid,
                                bool top, bool existed) {
  const Step step(*this, "Properties");
  if (!node.is(Kind::Object)) fail("the properties are an object, not " + describe(node));
  ComPtr<ILumArchive> archive = lcCreatePropertyArchive(mode_);
  for (const auto& [name, value] : node.members) {
    const Step at(*this, name);
    const lum::Variant read = readValue(value);
    lcAppendToArchive(*archive, read.get(), lum::fromUtf8(name));
  }
  readArchiveInto(object, *archive, clsid, mode_, top, existed, problems_);
}

void TextReader::readStreamed(const JsonNode& node, IUnknown& object) {
  const Step step(*this, "Stream");
  auto bytes = node.is(Kind::String) ? base64Decode(node.text) : std::nullopt;
  if (!bytes) fail("a stream is base64 text");
  auto owner = std::make_shared<std::vector<std::byte>>(std::move(*bytes));
  loadStreamed(object, reinterpret_cast<const uint8_t*>(owner->data()), owner->size(), owner);
}

lum::Variant TextReader::readValue(const JsonNode& node) {
  if (node.is(Kind::Object) && !isObjectRecord(node)) return readTagged(node);
  return readUntagged(node);
}

// {"<type>": value}, or {"<type>[]": [elements], "LowerBound": n} for an array.
lum::Variant TextReader::readTagged(const JsonNode& node) {
  const JsonNode* lowerBound = node.find("LowerBound");
  if (node.members.size() != (lowerBound ? 2u : 1u))
    fail("a value is an object with one member, its type");
  const auto& [tag, payload] = node.members[node.members[0].name == "LowerBound" ? 1 : 0];
  const bool isArray = tag.ends_with("[]");
  const auto type = variantTypeFromName(isArray ? tag.substr(0, tag.size() - 2) : tag);
  const VARTYPE vt = type ? static_cast<VARTYPE>(*type | (isArray ? VARTYPE{VT_ARRAY} : VARTYPE{0}))
                          : VARTYPE{VT_EMPTY};
  if (!type || !lum::detail::isValueType(vt)) fail("\"" + tag + "\" is not a type of value");
  if (lowerBound && !isArray) fail("only an array has a LowerBound");
  const Step step(*this, tag);
  lum::Variant value;
  if (isArray) {
    value.ptr()->parray = readArray(*type, payload, lowerBound);
    value.ptr()->vt = vt;
  } else {
    readPayload(vt, payload, *value.ptr());
  }
  return value;
}

// A value without a type: the nearest VARIANT, which the component's read converts.
lum::Variant TextReader::readUntagged(const JsonNode& node) {
  lum::Variant value;
  VARIANT& v = *value.ptr();
  switch (node.kind) {
    case Kind::Null:  // no object; an empty value is {"EMPTY": null}
      v.vt = VT_UNKNOWN;
      v.punkVal = nullptr;
      break;
    case Kind::Boolean:
      v.vt = VT_BOOL;
      v.boolVal = node.boolean ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case Kind::String:
      readPayload(VT_BSTR, node, v);
      break;
    case Kind::Number:
      if (const auto i4 = integerFrom<LONG>(node))
        v.vt = VT_I4, v.lVal = *i4;
      else if (const auto i8 = integerFrom<int64_t>(node))
        v.vt = VT_I8, v.llVal = *i8;
      else if (const auto ui8 = integerFrom<uint64_t>(node))
        v.vt = VT_UI8, v.ullVal = *ui8;
      else
        readPayload(VT_R8, node, v);
      break;
    case Kind::Array: {
      const auto level = arrayNestingLevel(VT_VARIANT);
      SAFEARRAY* array =
          SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(node.items.size()));
      if (array == nullptr) throw std::bad_alloc();
      v.vt = VT_ARRAY | VT_VARIANT;
      v.parray = array;
      for (std::size_t i = 0; i < node.items.size(); ++i) {
        const Step step(*this, std::to_string(i));
        lum::Variant element = readValue(node.items[i]);
        LONG index = static_cast<LONG>(i);
        throwIfFailed(SafeArrayPutElement(array, &index, element.ptr()));
      }
      break;
    }
    case Kind::Object:
      readPayload(VT_UNKNOWN, node, v);
      break;
  }
  return value;
}

// The value of type `vt` (no array) that `node` holds, into `out` (empty).
void TextReader::readPayload(VARTYPE vt, const JsonNode& node, VARIANT& out) {
  const auto wrong = [&](const char* expected) {
    fail(std::string(expected) + " is expected, not " + describe(node));
  };
  const bool scalar = lum::detail::forScalarType(vt, [&](auto type) {
    using S = decltype(type);
    using T = typename S::Type;
    constexpr auto kind = S::kind;
    std::optional<T> value;
    if constexpr (kind == lum::detail::ScalarKind::Real) {
      if (node.is(Kind::Number) || node.is(Kind::String)) {
        if constexpr (std::is_same_v<T, float>)
          value = floatFromText(node.text, node.is(Kind::String));
        else
          value = doubleFromText(node.text, node.is(Kind::String));
      }
      if (!value) wrong("a number in range, \"Infinity\", \"-Infinity\" or \"NaN\"");
    } else if constexpr (kind == lum::detail::ScalarKind::Boolean) {
      value = node.is(Kind::Boolean) ? (node.boolean ? VARIANT_TRUE : VARIANT_FALSE)
                                     : integerFrom<T>(node);
      if (!value) wrong("true or false");
    } else if constexpr (kind == lum::detail::ScalarKind::Error) {
      uint32_t code = 0;
      const std::string_view hex =
          std::string_view(node.text).substr(std::min<std::size_t>(2, node.text.size()));
      const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), code, 16);
      if (node.is(Kind::String) && node.text.starts_with("0x") && !hex.empty() &&
          error == std::errc() && end == hex.data() + hex.size())
        value = static_cast<T>(code);
      else
        value = integerFrom<T>(node);
      if (!value) wrong("a result code (\"0x80004005\")");
    } else {
      value = integerFrom<T>(node);
      if (!value) wrong("an integer that fits the type");
    }
    out.*S::value = *value;
  });
  if (scalar) {
    out.vt = vt;
    return;
  }
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
      if (!node.is(Kind::Null)) wrong("null");
      break;
    case VT_BSTR: {
      lum::Bstr text(readText(node));
      out.bstrVal = text.detach();
      break;
    }
    default: {  // VT_UNKNOWN, VT_DISPATCH
      ComPtr<IUnknown> object = readObject(node, nullptr, false);
      if (vt == VT_DISPATCH && object) {
        ComPtr<IDispatch> dispatch = object.as<IDispatch>();
        if (!dispatch) fail("the object has no IDispatch");
        out.pdispVal = dispatch.detach();
      } else {
        out.punkVal = object.detach();
      }
    }
  }
  out.vt = vt;
}

SAFEARRAY* TextReader::readArray(VARTYPE elementType, const JsonNode& node,
                                 const JsonNode* lowerBound) {
  const auto level = arrayNestingLevel(elementType);
  LONG lower = 0;
  if (lowerBound) {
    const auto bound = integerFrom<LONG>(*lowerBound);
    if (!bound) fail("the LowerBound is a 32-bit integer");
    lower = *bound;
  }
  // Bytes (core data) are base64 text; hand-written ones may be a list of numbers.
  std::optional<std::vector<std::byte>> bytes;
  if (elementType == VT_UI1 && node.is(Kind::String)) {
    bytes = base64Decode(node.text);
    if (!bytes) fail("bytes are base64 text");
  } else if (!node.is(Kind::Array)) {
    fail("an array is expected, not " + describe(node));
  }
  const std::size_t count = bytes ? bytes->size() : node.items.size();
  if (count > 0 && int64_t{lower} + int64_t(count - 1) > std::numeric_limits<LONG>::max())
    fail("the array's indices do not fit 32 bits");
  SAFEARRAY* array = SafeArrayCreateVector(elementType, lower, static_cast<ULONG>(count));
  if (array == nullptr) throw std::bad_alloc();
  try {
    if (bytes && count > 0) {  // pixel data may be large: copied at once
      void* data = nullptr;
      throwIfFailed(SafeArrayAccessData(array, &data));
      std::memcpy(data, bytes->data(), count);
      SafeArrayUnaccessData(array);
      return array;
    }
    for (std::size_t i = 0; i < count; ++i) {
      LONG index = static_cast<LONG>(int64_t{lower} + static_cast<int64_t>(i));
      const Step step(*this, std::to_string(i));
      lum::Variant element;
      if (elementType == VT_VARIANT) {
        element = readValue(node.items[i]);
        throwIfFailed(SafeArrayPutElement(array, &index, element.ptr()));
        continue;
      }
      readPayload(elementType, node.items[i], *element.ptr());
      const VARIANT& v = element.get();
      // Strings and objects are put by their pointer, scalars by their value's address.
      const bool byPointer =
          elementType == VT_BSTR || elementType == VT_UNKNOWN || elementType == VT_DISPATCH;
      const void* put = byPointer ? static_cast<const void*>(v.punkVal) : &v.llVal;
      throwIfFailed(SafeArrayPutElement(array, &index, const_cast<void*>(put)));
    }
  } catch (...) {
    SafeArrayDestroy(array);
    throw;
  }
  return array;
}

std::wstring TextReader::readText(const JsonNode& node) {
  if (node.is(Kind::String)) return lum::fromUtf8(node.text);
  if (!node.is(Kind::Array)) fail("a string is expected, not " + describe(node));
  std::wstring text;
  text.reserve(node.items.size());
  for (const JsonNode& unit : node.items) {
    const auto value = integerFrom<uint32_t>(unit);
    if (!value) fail("a string's code units are integers of 32 bits");
    text += static_cast<wchar_t>(*value);
  }
  return text;
}

}  // namespace lumxstd
