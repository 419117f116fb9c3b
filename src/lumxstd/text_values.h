#pragma once
// Text forms of the values the text encoding of the persistence service writes, each
// chosen to read back to exactly the value written (docs/persistence-format.md).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/variant.h"

namespace lumxstd {

// A floating value as JSON: a number in the shortest form that reads back to the same
// value, always with a point or an exponent so that it never reads as an integer
// ("-0.0", "1.0", "5e-324"); or, as a JSON string, "Infinity", "-Infinity", "NaN" (the
// default quiet NaN) or "NaN(0x<bits>)" (any other NaN, with its sign and payload).
struct RealText {
  std::string text;
  bool isString = false;
};
RealText realText(double value);
RealText realText(float value);
// The value of a number's text or of one of the strings above; nothing when the text is
// neither or the number lies outside the type's range.
std::optional<double> doubleFromText(std::string_view text, bool isString);
std::optional<float> floatFromText(std::string_view text, bool isString);

// The name the text encoding gives a VARIANT type ("I4", "BSTR", "VARIANT"), without
// VT_ARRAY; empty for a type it cannot hold. And back: nothing for an unknown name.
std::string_view variantTypeName(VARTYPE vt);
std::optional<VARTYPE> variantTypeFromName(std::string_view name);

// Whether every unit of a wide string is a Unicode scalar value (no surrogate, nothing
// above U+10FFFF), so that UTF-8 holds it exactly.
bool isUnicodeText(std::wstring_view text);

// Base64 with padding (RFC 4648); decoding refuses anything else, whitespace included.
std::string base64Encode(std::span<const std::byte> bytes);
std::optional<std::vector<std::byte>> base64Decode(std::string_view text);

}  // namespace lumxstd
