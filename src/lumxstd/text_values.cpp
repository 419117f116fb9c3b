#include "lumxstd/text_values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace lumxstd {
namespace {

template <class Real, class Bits>
RealText realTextOf(Real value) {
  if (std::isinf(value)) return {value < 0 ? "-Infinity" : "Infinity", true};
  if (std::isnan(value)) {
    const Bits bits = std::bit_cast<Bits>(value);
    if (bits == std::bit_cast<Bits>(std::numeric_limits<Real>::quiet_NaN())) return {"NaN", true};
    char hex[2 * sizeof(Bits) + 1];
    const auto end = std::to_chars(hex, hex + sizeof hex, bits, 16).ptr;
    return {"NaN(0x" + std::string(hex, end) + ")", true};
  }
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  std::string text(buffer, end);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return {std::move(text), false};
}

template <class Real, class Bits>
std::optional<Real> realFromText(std::string_view text, bool isString) {
  if (!isString) {
    Real value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
  }
  if (text == "Infinity") return std::numeric_limits<Real>::infinity();
  if (text == "-Infinity") return -std::numeric_limits<Real>::infinity();
  if (text == "NaN") return std::numeric_limits<Real>::quiet_NaN();
  if (!text.starts_with("NaN(0x") || !text.ends_with(")")) return std::nullopt;
  const std::string_view hex = text.substr(6, text.size() - 7);
  Bits bits{};
  const auto [end, error] = std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
  if (hex.empty() || error != std::errc() || end != hex.data() + hex.size()) return std::nullopt;
  const Real value = std::bit_cast<Real>(bits);
  if (!std::isnan(value)) return std::nullopt;
  return value;
}

struct TypeName {
  VARTYPE vt;
  std::string_view name;
};
constexpr TypeName kTypeNames[] = {
    {VT_EMPTY, "EMPTY"},
    {VT_NULL, "NULL"},
    {VT_I1, "I1"},
    {VT_UI1, "UI1"},
    {VT_I2, "I2"},
    {VT_UI2, "UI2"},
    {VT_I4, "I4"},
    {VT_UI4, "UI4"},
    {VT_I8, "I8"},
    {VT_UI8, "UI8"},
    {VT_INT, "INT"},
    {VT_UINT, "UINT"},
    {VT_R4, "R4"},
    {VT_R8, "R8"},
    {VT_BOOL, "BOOL"},
    {VT_ERROR, "ERROR"},
    {VT_BSTR, "BSTR"},
    {VT_UNKNOWN, "UNKNOWN"},
    {VT_DISPATCH, "DISPATCH"},
    {VT_VARIANT, "VARIANT"},
};

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Digit(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

RealText realText(double value) {
  return realTextOf<double, uint64_t>(value);
}
RealText realText(float value) {
  return realTextOf<float, uint32_t>(value);
}
std::optional<double> doubleFromText(std::string_view text, bool isString) {
  return realFromText<double, uint64_t>(text, isString);
}
std::optional<float> floatFromText(std::string_view text, bool isString) {
  return realFromText<float, uint32_t>(text, isString);
}

std::string_view variantTypeName(VARTYPE vt) {
  for (const auto& entry : kTypeNames)
    if (entry.vt == vt) return entry.name;
  return {};
}

std::optional<VARTYPE> variantTypeFromName(std::string_view name) {
  for (const auto& entry : kTypeNames)
    if (entry.name == name) return entry.vt;
  return std::nullopt;
}

bool isUnicodeText(std::wstring_view text) {
  for (wchar_t c : text) {
    const auto unit = static_cast<uint32_t>(c);
    if (unit > 0x10FFFF || (unit >= 0xD800 && unit <= 0xDFFF)) return false;
  }
  return true;
}

std::string base64Encode(std::span<const std::byte> bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k)
      group = (group << 8) | (k < n ? std::to_integer<uint32_t>(bytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k)
      text += k <= n ? kBase64[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return text;
}

std::optional<std::vector<std::byte>> base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::vector<std::byte> bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    const std::size_t padding =
        last ? (text[i + 3] == '=') + (text[i + 3] == '=' && text[i + 2] == '=') : 0;
    uint32_t group = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const int digit = k < 4 - padding ? base64Digit(text[i + k]) : 0;
      if (digit < 0) return std::nullopt;
      group = (group << 6) | static_cast<uint32_t>(digit);
    }
    // The bits the padding leaves over must be zero, so that one text means one value.
    if ((padding == 1 && (group & 0xFF)) || (padding == 2 && (group & 0xFFFF))) return std::nullopt;
    for (std::size_t k = 0; k < 3 - padding; ++k)
      bytes.push_back(static_cast<std::byte>((group >> (16 - 8 * k)) & 0xFF));
  }
  return bytes;
}

}  // namespace lumxstd
