#include <charconv>
#include <cstring>

#include "components/framework/com_error.h"
#include "lumxstd/text_format.h"
#include "lumxstd/text_values.h"
#include "platform/variant_types.h"
#include "std/archive/archive.h"

namespace lumxstd {
namespace {

template <class T>
JsonNode integerNode(T value) {
  char buffer[24];
  return JsonNode::number(std::string(buffer, std::to_chars(buffer, buffer + 24, value).ptr));
}

JsonNode realNode(const RealText& real) {
  return real.isString ? JsonNode::string(real.text) : JsonNode::number(real.text);
}

std::string utf8(std::wstring_view text) {
  if (!isUnicodeText(text))
    throw lcArchive::BadContent(L"a name that is not Unicode text cannot be saved as text");
  return lum::toUtf8(text);
}

// A string as UTF-8 when UTF-8 holds it exactly, else as the list of its code units.
JsonNode textNode(std::wstring_view text) {
  if (isUnicodeText(text)) return JsonNode::string(lum::toUtf8(text));
  JsonNode units = JsonNode::array();
  for (wchar_t c : text)
    units.items.push_back(integerNode(static_cast<uint32_t>(c)));
  return units;
}

JsonNode errorNode(SCODE code) {
  char hex[16];
  const auto end = std::to_chars(hex, hex + sizeof hex, static_cast<uint32_t>(code), 16).ptr;
  std::string text(hex, end);
  return JsonNode::string("0x" + std::string(8 - text.size(), '0') + text);
}

}  // namespace

bool looksLikeText(std::span<const uint8_t> bytes) {
  std::size_t i = 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) i = 3;
  while (i < bytes.size() &&
         (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\n' || bytes[i] == '\r'))
    ++i;
  return i < bytes.size() && bytes[i] == '{';
}

std::string TextWriter::writeDocument(IUnknown* object) {
  if (object == nullptr) throw lcCOMError(E_POINTER, 0);
  return printJson(objectNode(object));
}

JsonNode TextWriter::objectNode(IUnknown* object) {
  if (object == nullptr) return JsonNode{};
  const ComPtr<IUnknown> identity = identityOf(object);
  JsonNode node = JsonNode::object();
  if (const auto index = written_.find(identity)) {
    node.add("Reference", integerNode(*index));
    return node;
  }
  const lcNestingGuard level(L"objects");
  const CLSID clsid = classIdOf(object);
  LPOLESTR progId = nullptr;
  if (SUCCEEDED(ProgIDFromCLSID(clsid, &progId))) {
    node.add("ProgID", JsonNode::string(lum::toUtf8(progId)));
    CoTaskMemFree(progId);
  }
  node.add("CLSID", JsonNode::string(lum::toString(clsid)));
  node.add("FormatVersion", integerNode(kTextFormatVersion));
  if (auto persist = identity.as<ILumPersistArchive>()) {
    const uint32_t slot = written_.add(identity);
    node.add("Properties", propertiesNode(*writeArchiveOf(*persist, mode_)));
    written_.complete(slot);
    return node;
  }
  if (auto streamed = identity.as<IPersistStream>()) {
    written_.complete(written_.add(identity));
    node.add("Stream", JsonNode::string(base64Encode(streamedBytesOf(*streamed))));
    return node;
  }
  throw lcCOMError::withDescription(E_NOINTERFACE,
                                    L"An object cannot be saved: it offers no persistence.");
}

// Members of a JSON object have names, once each: an archive entry without a name, or a
// name written twice, has no place in the text.
JsonNode TextWriter::propertiesNode(ILumArchive& archive) {
  JsonNode properties = JsonNode::object();
  LONG count = 0;
  archive.get_Count(&count);
  for (LONG i = 0; i < count; ++i) {
    lum::Bstr key;
    archive.get_Key(i, key.put());
    lum::Variant value;
    throwIfFailed(archive.get_Item(i, value.put()));
    std::string name = utf8(key.view());
    if (name.empty() || properties.find(name))
      throw lcArchive::BadContent(L"a property without a name, or one written twice (\"" +
                                  key.str() + L"\"), cannot be saved as text");
    properties.add(std::move(name), valueNode(value.get()));
  }
  return properties;
}

JsonNode TextWriter::valueNode(const VARIANT& input) {
  lum::Variant value;
  throwIfFailed(VariantCopyInd(value.ptr(), &input));
  const VARIANT& v = value.get();
  const VARTYPE type = v.vt & VT_TYPEMASK;
  const std::string_view name = variantTypeName(type);
  if (name.empty() || !lum::detail::isValueType(v.vt))
    throw lcArchive::BadType(L"a value of a type that cannot be saved");
  JsonNode node = JsonNode::object();
  if (!(v.vt & VT_ARRAY)) {
    node.add(std::string(name), payloadNode(v));
    return node;
  }
  LONG lower = 0;
  if (v.parray) SafeArrayGetLBound(v.parray, 1, &lower);
  node.add(std::string(name) + "[]", arrayNode(v.parray, type));
  if (lower != 0) node.add("LowerBound", integerNode(lower));
  return node;
}

// The value of a scalar, a string or an object, without its type.
JsonNode TextWriter::payloadNode(const VARIANT& v) {
  JsonNode node;
  const bool scalar = lum::detail::forScalarType(v.vt, [&](auto type) {
    using S = decltype(type);
    const auto value = v.*S::value;
    if constexpr (S::kind == lum::detail::ScalarKind::Real) {
      node = realNode(realText(value));
    } else if constexpr (S::kind == lum::detail::ScalarKind::Error) {
      node = errorNode(value);
    } else if constexpr (S::kind == lum::detail::ScalarKind::Boolean) {
      node.kind = JsonNode::Kind::Boolean;
      node.boolean = value != VARIANT_FALSE;
      if (value != VARIANT_FALSE && value != VARIANT_TRUE) node = integerNode(value);
    } else {
      node = integerNode(value);
    }
  });
  if (scalar || v.vt == VT_EMPTY || v.vt == VT_NULL) return node;
  if (v.vt == VT_BSTR) return textNode(lum::bstrView(v.bstrVal));
  return objectNode(v.punkVal);  // VT_UNKNOWN, VT_DISPATCH
}

JsonNode TextWriter::arrayNode(SAFEARRAY* array, VARTYPE elementType) {
  const auto level = arrayNestingLevel(elementType);
  const ArrayElements elements(array);
  const std::size_t count = elements.count();
  if (elementType == VT_UI1)  // core data
    return JsonNode::string(base64Encode({elements.element(0), count}));
  JsonNode items = JsonNode::array();
  for (std::size_t i = 0; i < count; ++i) {
    const std::byte* element = elements.element(i);
    if (elementType == VT_VARIANT) {
      items.items.push_back(valueNode(*reinterpret_cast<const VARIANT*>(element)));
      continue;
    }
    VARIANT view;  // borrows the element: never cleared
    VariantInit(&view);
    view.vt = elementType;
    std::memcpy(&view.llVal, element, elements.elementSize());
    items.items.push_back(payloadNode(view));
  }
  return items;
}

}  // namespace lumxstd
