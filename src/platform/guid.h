#pragma once
// Globally unique identifiers (interface and class identifiers), their text form
// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}", and the interface-identifier trait that
// stands in for a compiler's `__uuidof`.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/export.h"
#include "platform/types.h"

struct GUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  uint8_t Data4[8] = {};

  friend constexpr bool operator==(const GUID& a, const GUID& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
    for (int i = 0; i < 8; ++i)
      if (a.Data4[i] != b.Data4[i]) return false;
    return true;
  }
};

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

inline constexpr GUID GUID_NULL{};
inline constexpr IID IID_NULL{};
inline constexpr CLSID CLSID_NULL{};

namespace lum {

namespace detail {
constexpr int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", with or without braces, into `out`.
template <class Char>
constexpr bool parseGuidText(std::basic_string_view<Char> text, GUID& out) {
  if (text.size() == 38) {
    if (text.front() != Char('{') || text.back() != Char('}')) return false;
    text = text.substr(1, 36);
  }
  if (text.size() != 36) return false;
  // Positions of the hyphens, and the byte boundaries of the fields in between.
  for (std::size_t dash : {8u, 13u, 18u, 23u})
    if (text[dash] != Char('-')) return false;
  uint8_t bytes[16] = {};
  std::size_t pos = 0;
  for (int b = 0; b < 16; ++b) {
    if (pos == 8 || pos == 13 || pos == 18 || pos == 23) ++pos;
    const auto hi = text[pos], lo = text[pos + 1];
    if (hi < Char(0) || hi > Char(0x7f) || lo < Char(0) || lo > Char(0x7f)) return false;
    const int h = hexDigit(static_cast<char>(hi)), l = hexDigit(static_cast<char>(lo));
    if (h < 0 || l < 0) return false;
    bytes[b] = static_cast<uint8_t>(h * 16 + l);
    pos += 2;
  }
  out.Data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
              bytes[3];
  out.Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
  out.Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
  for (int i = 0; i < 8; ++i)
    out.Data4[i] = bytes[8 + i];
  return true;
}
}  // namespace detail

// Compile-time GUID from its text form; malformed text does not compile.
consteval GUID guid(const char* text) {
  GUID g;
  std::string_view view(text);
  if (!detail::parseGuidText(view, g)) throw "malformed GUID literal";
  return g;
}

// Run-time parsing; false for malformed text.
LUM_PLATFORM_API bool parseGuid(std::wstring_view text, GUID& out);
LUM_PLATFORM_API bool parseGuid(std::string_view text, GUID& out);
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as the registry spells it.
LUM_PLATFORM_API std::wstring toWString(const GUID& g);
LUM_PLATFORM_API std::string toString(const GUID& g);

struct GuidHash {
  std::size_t operator()(const GUID& g) const noexcept {
    uint64_t lo = (uint64_t{g.Data1} << 32) | (uint64_t{g.Data2} << 16) | g.Data3;
    uint64_t hi = 0;
    for (int i = 0; i < 8; ++i)
      hi = (hi << 8) | g.Data4[i];
    return std::hash<uint64_t>{}(lo ^ (hi * 0x9E3779B97F4A7C15ull));
  }
};

// The identifier of interface `I` and the interface it derives from, declared once
// with the interface by LUM_INTERFACE (platform/unknown.h).
template <class I>
struct InterfaceTraits;

}  // namespace lum

template <class I>
inline constexpr IID iid_of = lum::InterfaceTraits<I>::iid;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
  return a == b;
}
inline bool IsEqualIID(REFIID a, REFIID b) {
  return a == b;
}
inline bool IsEqualCLSID(REFCLSID a, REFCLSID b) {
  return a == b;
}

// Text conversions as the platform names them. CLSIDFromString and IIDFromString give
// CO_E_CLASSSTRING (E_INVALIDARG for IIDs) for malformed text; StringFromGUID2 writes
// the 38-character braced form and returns the count with the terminator, or 0 when
// the buffer is too small.
LUM_PLATFORM_API HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
LUM_PLATFORM_API HRESULT IIDFromString(LPCOLESTR text, IID* iid);
LUM_PLATFORM_API int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int capacity);
