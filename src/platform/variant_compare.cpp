// VarCmp: ordering of two VARIANT values.

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <string_view>
#include <type_traits>

#include "platform/variant.h"
#include "platform/variant_types.h"

namespace {

enum class Kind { Null, Number, Text, Other };

Kind kindOf(VARTYPE vt) {
  if (vt == VT_NULL) return Kind::Null;
  if (vt == VT_BSTR) return Kind::Text;
  if (lum::detail::isPlainScalar(vt) && vt != VT_ERROR) return Kind::Number;  // EMPTY is 0
  return Kind::Other;
}

HRESULT order(int c) {
  return c < 0 ? VARCMP_LT : c > 0 ? VARCMP_GT : VARCMP_EQ;
}

// The value of a numeric VARIANT, split so that 64-bit integers compare exactly, with
// each other and with doubles.
struct NumericValue {
  bool isReal = false;
  bool isNegative = false;  // only for integers
  uint64_t magnitude = 0;   // |integer|
  double real = 0;
};

NumericValue numericValue(const VARIANT& v) {
  using lum::detail::ScalarKind;
  NumericValue n;  // VT_EMPTY: 0
  lum::detail::forScalarType(v.vt, [&](auto scalar) {
    using S = decltype(scalar);
    const auto x = v.*S::value;
    if constexpr (S::kind == ScalarKind::Real) {
      n.isReal = true, n.real = x;
    } else if constexpr (S::kind == ScalarKind::Boolean) {
      n.isNegative = x != 0, n.magnitude = x != 0;  // VARIANT_TRUE is -1
    } else if constexpr (S::kind == ScalarKind::Integer && std::is_signed_v<typename S::Type>) {
      n.isNegative = x < 0;
      n.magnitude = x < 0 ? uint64_t(0) - uint64_t(x) : uint64_t(x);
    } else if constexpr (S::kind == ScalarKind::Integer) {
      n.magnitude = x;
    }
  });
  return n;
}

int compareMagnitudes(uint64_t a, uint64_t b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

// Orders an integer against a double that is not NaN, exactly: the double is split into
// its whole part (an integer when below 2^64) and whether a fraction remains.
int compareIntegerWithReal(const NumericValue& integer, double real) {
  const bool realNegative = real < 0;
  if (integer.isNegative != realNegative) return integer.isNegative ? -1 : 1;
  const double size = std::fabs(real);
  int magnitudeOrder = -1;  // a size of 2^64 or more exceeds every magnitude
  if (size < 0x1p64) {
    const double whole = std::floor(size);
    magnitudeOrder = compareMagnitudes(integer.magnitude, static_cast<uint64_t>(whole));
    if (magnitudeOrder == 0 && size > whole) magnitudeOrder = -1;
  }
  return integer.isNegative ? -magnitudeOrder : magnitudeOrder;
}

HRESULT compareNumbers(const VARIANT& a, const VARIANT& b) {
  const NumericValue x = numericValue(a), y = numericValue(b);
  // NaN orders below every number and equal to itself, so that the order is total.
  const bool nanX = x.isReal && std::isnan(x.real), nanY = y.isReal && std::isnan(y.real);
  if (nanX || nanY) return nanX && nanY ? VARCMP_EQ : nanX ? VARCMP_LT : VARCMP_GT;
  if (x.isReal && y.isReal) return order(x.real < y.real ? -1 : x.real > y.real ? 1 : 0);
  if (x.isReal) return order(-compareIntegerWithReal(y, x.real));
  if (y.isReal) return order(compareIntegerWithReal(x, y.real));
  if (x.isNegative != y.isNegative) return x.isNegative ? VARCMP_LT : VARCMP_GT;
  const int magnitudeOrder = compareMagnitudes(x.magnitude, y.magnitude);
  return order(x.isNegative ? -magnitudeOrder : magnitudeOrder);
}

HRESULT compareTexts(std::wstring_view a, std::wstring_view b, bool ignoreCase) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    wint_t ca = wint_t(a[i]), cb = wint_t(b[i]);
    if (ignoreCase) ca = std::towlower(ca), cb = std::towlower(cb);
    if (ca != cb) return order(ca < cb ? -1 : 1);
  }
  return order(a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0);
}

}  // namespace

HRESULT VarCmp(const VARIANT* left, const VARIANT* right, LCID, ULONG flags) {
  if (left == nullptr || right == nullptr) return E_INVALIDARG;
  VARIANT a, b;
  if (!lum::detail::dereference(*left, a) || !lum::detail::dereference(*right, b))
    return E_INVALIDARG;
  const Kind ka = kindOf(a.vt), kb = kindOf(b.vt);
  if (ka == Kind::Null || kb == Kind::Null) return VARCMP_NULL;
  if (ka == Kind::Other || kb == Kind::Other) {
    if (a.vt == VT_ERROR && b.vt == VT_ERROR)
      return order(a.scode < b.scode ? -1 : a.scode > b.scode);
    return DISP_E_TYPEMISMATCH;
  }
  const bool ignoreCase = flags & NORM_IGNORECASE;
  if (ka == Kind::Text && kb == Kind::Text)
    return compareTexts(lum::bstrView(a.bstrVal), lum::bstrView(b.bstrVal), ignoreCase);
  // EMPTY against text compares as the empty text; any other number is below any text.
  if (ka == Kind::Text)
    return b.vt == VT_EMPTY ? compareTexts(lum::bstrView(a.bstrVal), L"", false) : VARCMP_GT;
  if (kb == Kind::Text)
    return a.vt == VT_EMPTY ? compareTexts(L"", lum::bstrView(b.bstrVal), false) : VARCMP_LT;
  return compareNumbers(a, b);
}
