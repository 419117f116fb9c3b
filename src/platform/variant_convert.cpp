// VariantChangeType: conversions between the scalar types, text and objects.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/dispatch.h"
#include "platform/locale.h"
#include "platform/safearray.h"
#include "platform/variant.h"
#include "platform/variant_types.h"

namespace {

// A scalar source value on its way to its target type.
struct Number {
  enum class Kind { Signed, Unsigned, Real } kind = Kind::Signed;
  int64_t s = 0;
  uint64_t u = 0;
  double r = 0;
  bool fromBool = false;
};

Number signedNumber(int64_t v) {
  return {Number::Kind::Signed, v, 0, 0, false};
}
Number unsignedNumber(uint64_t v) {
  if (v <= uint64_t(std::numeric_limits<int64_t>::max())) return signedNumber(int64_t(v));
  return {Number::Kind::Unsigned, 0, v, 0, false};
}
Number realNumber(double v) {
  return {Number::Kind::Real, 0, 0, v, false};
}

using lum::detail::ScalarKind;

std::optional<Number> numberOf(const VARIANT& v) {
  if (v.vt == VT_EMPTY) return signedNumber(0);
  std::optional<Number> n;
  lum::detail::forScalarType(v.vt, [&](auto scalar) {
    using S = decltype(scalar);
    const auto x = v.*S::value;
    if constexpr (S::kind == ScalarKind::Real) {
      n = realNumber(x);
    } else if constexpr (S::kind == ScalarKind::Boolean) {
      n = signedNumber(x ? -1 : 0);
      n->fromBool = true;
    } else if constexpr (S::kind == ScalarKind::Integer) {
      n = std::is_signed_v<decltype(x)> ? signedNumber(int64_t(x)) : unsignedNumber(uint64_t(x));
    }
  });
  return n;
}

// Rounds to the nearest integer, halves to the even neighbour.
double roundHalfEven(double x) {
  const double lower = std::floor(x);
  const double diff = x - lower;
  if (diff > 0.5) return lower + 1;
  if (diff < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

// The value as an integer in [lo, hi], or DISP_E_OVERFLOW.
HRESULT toInteger(const Number& n, int64_t lo, uint64_t hi, int64_t& outSigned,
                  uint64_t& outUnsigned) {
  switch (n.kind) {
    case Number::Kind::Signed:
      if (n.s < lo || (n.s >= 0 && uint64_t(n.s) > hi)) return DISP_E_OVERFLOW;
      outSigned = n.s;
      outUnsigned = uint64_t(n.s);
      return S_OK;
    case Number::Kind::Unsigned:
      if (n.u > hi) return DISP_E_OVERFLOW;
      outSigned = 0;
      outUnsigned = n.u;
      return S_OK;
    case Number::Kind::Real: {
      if (!std::isfinite(n.r)) return DISP_E_OVERFLOW;
      const double r = roundHalfEven(n.r);
      // lo and hi + 1 are powers of two, exact as doubles; hi itself may not be (INT64_MAX
      // rounds up to 2^63), so the upper test is against hi + 1, made without overflow.
      const double end = 2.0 * double(hi / 2 + 1);
      if (r < double(lo) || r >= end) return DISP_E_OVERFLOW;
      if (r < 0) {
        outSigned = int64_t(r);
        outUnsigned = uint64_t(outSigned);
      } else {
        outUnsigned = uint64_t(r);
        outSigned =
            outUnsigned <= uint64_t(std::numeric_limits<int64_t>::max()) ? int64_t(outUnsigned) : 0;
      }
      return S_OK;
    }
  }
  return DISP_E_TYPEMISMATCH;
}

double toDouble(const Number& n) {
  switch (n.kind) {
    case Number::Kind::Signed:
      return double(n.s);
    case Number::Kind::Unsigned:
      return double(n.u);
    case Number::Kind::Real:
      return n.r;
  }
  return 0;
}

bool isBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

std::wstring_view trimBlanks(std::wstring_view text) {
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool isAsciiLetter(wchar_t c) {
  return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

wchar_t asciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

bool equalsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

// Reads a number written with `separator` as its decimal mark: blanks, an optional
// sign, digits with at most one separator, an optional exponent, blanks; or the words
// inf, infinity and nan. An integer without separator or exponent is read exactly.
HRESULT parseNumber(std::wstring_view text, wchar_t separator, Number& out) {
  text = trimBlanks(text);
  std::string ascii;
  ascii.reserve(text.size());
  bool integral = true, sawDigit = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c == L'+' && i == 0) continue;  // from_chars takes no leading '+'
    if (c == separator) {
      ascii += '.';
      integral = false;
    } else if (c >= L'0' && c <= L'9') {
      ascii += char(c);
      sawDigit = true;
    } else if (c == L'-' || c == L'+' || isAsciiLetter(c)) {
      if (c != L'-') integral = false;  // exponent or a word such as "inf"
      ascii += char(c);
    } else {
      return DISP_E_TYPEMISMATCH;
    }
  }
  if (ascii.empty() || (text[0] == L'+' && ascii[0] == '-')) return DISP_E_TYPEMISMATCH;
  const char* first = ascii.data();
  const char* last = ascii.data() + ascii.size();
  if (integral && sawDigit) {
    int64_t s = 0;
    auto [end, ec] = std::from_chars(first, last, s);
    if (ec == std::errc() && end == last) {
      out = signedNumber(s);
      return S_OK;
    }
    uint64_t u = 0;
    auto [uend, uec] = std::from_chars(first, last, u);
    if (uec == std::errc() && uend == last) {
      out = unsignedNumber(u);
      return S_OK;
    }
    if (ec == std::errc::result_out_of_range || uec == std::errc::result_out_of_range)
      return DISP_E_OVERFLOW;
    return DISP_E_TYPEMISMATCH;
  }
  double r = 0;
  auto [end, ec] = std::from_chars(first, last, r);
  if (ec == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
  if (ec != std::errc() || end != last) return DISP_E_TYPEMISMATCH;
  out = realNumber(r);
  return S_OK;
}

HRESULT numberFromText(BSTR text, wchar_t separator, VARTYPE target, Number& out) {
  const std::wstring_view view = lum::bstrView(text);
  if (target == VT_BOOL) {
    const std::wstring_view trimmed = trimBlanks(view);
    if (equalsIgnoringCase(trimmed, L"true")) return out = signedNumber(-1), S_OK;
    if (equalsIgnoringCase(trimmed, L"false")) return out = signedNumber(0), S_OK;
  }
  return parseNumber(view, separator, out);
}

HRESULT textFromNumber(const Number& n, wchar_t separator, USHORT flags, VARTYPE sourceType,
                       BSTR& out) {
  char buffer[64];
  std::to_chars_result result{};
  if (n.fromBool && (flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)))
    return lum::allocBstr(n.s ? L"True" : L"False", &out);
  switch (n.kind) {
    case Number::Kind::Signed:
      result = std::to_chars(buffer, buffer + sizeof buffer, n.s);
      break;
    case Number::Kind::Unsigned:
      result = std::to_chars(buffer, buffer + sizeof buffer, n.u);
      break;
    case Number::Kind::Real:
      // The shortest text that reads back as the same value of the source's own width.
      result = sourceType == VT_R4
                   ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(n.r))
                   : std::to_chars(buffer, buffer + sizeof buffer, n.r);
      break;
  }
  std::wstring text(buffer, result.ptr);
  for (wchar_t& c : text)
    if (c == L'.') c = separator;
  return lum::allocBstr(text, &out);
}

// Writes a number into `dest` as type `vt`.
HRESULT storeNumber(const Number& n, VARTYPE vt, VARIANT& dest) {
  HRESULT hr = DISP_E_TYPEMISMATCH;
  lum::detail::forScalarType(vt, [&](auto scalar) {
    using S = decltype(scalar);
    using T = typename S::Type;
    T& out = dest.*S::value;
    hr = S_OK;
    if constexpr (S::kind == ScalarKind::Integer) {
      int64_t s = 0;
      uint64_t u = 0;
      hr = toInteger(n, std::numeric_limits<T>::min(), std::numeric_limits<T>::max(), s, u);
      if (SUCCEEDED(hr)) out = std::is_signed_v<T> ? T(s) : T(u);
    } else if constexpr (S::kind == ScalarKind::Real) {
      const double d = toDouble(n);
      if (std::isfinite(d) && std::fabs(d) > double(std::numeric_limits<T>::max()))
        hr = DISP_E_OVERFLOW;
      else
        out = T(d);
    } else if constexpr (S::kind == ScalarKind::Boolean) {
      out = (n.kind == Number::Kind::Real ? n.r != 0 : (n.s != 0 || n.u != 0)) ? VARIANT_TRUE
                                                                               : VARIANT_FALSE;
    } else {
      hr = DISP_E_TYPEMISMATCH;  // a result code is not a number
    }
  });
  if (SUCCEEDED(hr)) dest.vt = vt;
  return hr;
}

bool isNumericTarget(VARTYPE vt) {
  return lum::detail::isPlainScalar(vt) && vt != VT_EMPTY && vt != VT_NULL && vt != VT_ERROR;
}

// Converts the non-reference value `src` into the empty `dest`.
HRESULT convert(VARIANT& dest, const VARIANT& src, LCID lcid, USHORT flags, VARTYPE vt) {
  if (vt == VT_EMPTY) return S_OK;
  if (src.vt == vt) return VariantCopy(&dest, &src);
  if (vt == VT_NULL) {
    if (src.vt != VT_EMPTY) return DISP_E_TYPEMISMATCH;
    dest.vt = VT_NULL;
    return S_OK;
  }
  if (src.vt == VT_NULL || (src.vt & VT_ARRAY) || (vt & VT_ARRAY)) return DISP_E_TYPEMISMATCH;
  if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
    if (src.vt != VT_UNKNOWN && src.vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    dest.vt = vt;
    dest.punkVal = nullptr;
    if (src.punkVal == nullptr) return S_OK;
    const IID& iid = vt == VT_UNKNOWN ? iid_of<IUnknown> : iid_of<IDispatch>;
    const HRESULT hr = src.punkVal->QueryInterface(iid, reinterpret_cast<void**>(&dest.punkVal));
    if (FAILED(hr)) {
      dest.vt = VT_EMPTY;
      dest.punkVal = nullptr;
      return hr == E_NOINTERFACE ? DISP_E_TYPEMISMATCH : hr;
    }
    return S_OK;
  }
  if (src.vt == VT_UNKNOWN || src.vt == VT_DISPATCH || src.vt == VT_ERROR || vt == VT_ERROR)
    return DISP_E_TYPEMISMATCH;
  const wchar_t separator = lum::decimalSeparatorFor(lcid);
  if (vt == VT_BSTR) {
    if (src.vt == VT_EMPTY) {
      dest.vt = VT_BSTR;
      dest.bstrVal = nullptr;
      return S_OK;
    }
    const auto n = numberOf(src);
    if (!n) return DISP_E_TYPEMISMATCH;
    BSTR text = nullptr;
    if (HRESULT hr = textFromNumber(*n, separator, flags, src.vt, text); FAILED(hr)) return hr;
    dest.vt = VT_BSTR;
    dest.bstrVal = text;
    return S_OK;
  }
  if (!isNumericTarget(vt)) return DISP_E_BADVARTYPE;
  Number n;
  if (src.vt == VT_BSTR) {
    if (HRESULT hr = numberFromText(src.bstrVal, separator, vt, n); FAILED(hr)) return hr;
  } else if (auto number = numberOf(src)) {
    n = *number;
  } else {
    return DISP_E_TYPEMISMATCH;
  }
  return storeNumber(n, vt, dest);
}

}  // namespace

HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, LCID lcid, USHORT flags,
                            VARTYPE vt) {
  if (dest == nullptr || src == nullptr) return E_INVALIDARG;
  if (!lum::detail::isValueType(vt)) return DISP_E_BADVARTYPE;
  VARIANT value;
  if (!lum::detail::dereference(*src, value)) return E_INVALIDARG;
  if (!lum::detail::isValueType(value.vt)) return DISP_E_BADVARTYPE;
  VARIANT result;
  VariantInit(&result);
  if (HRESULT hr = convert(result, value, lcid, flags, vt); FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
    VariantClear(&result);
    return hr;
  }
  *dest = result;
  return S_OK;
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
  return VariantChangeTypeEx(dest, src, LOCALE_USER_DEFAULT, flags, vt);
}
