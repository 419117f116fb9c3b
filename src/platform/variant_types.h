#pragma once
// Internal to the library: what the VARIANT code knows about each type. Not part of the API.

#include "platform/variant.h"

namespace lum::detail {

// How the value of a scalar type counts: as an integer, a floating value, a Boolean
// (VARIANT_TRUE or VARIANT_FALSE) or a result code, which is no number.
enum class ScalarKind { Integer, Real, Boolean, Error };

// The scalar VARIANT types: the type, the C++ type of its value, the VARIANT member that
// holds the value, the member that points to it in a VT_BYREF variant, and its kind.
// Every per-type switch over scalars is generated from this list.
#define LUM_VARIANT_SCALARS(X)                         \
  X(VT_I1, int8_t, cVal, pcVal, Integer)               \
  X(VT_UI1, BYTE, bVal, pbVal, Integer)                \
  X(VT_I2, SHORT, iVal, piVal, Integer)                \
  X(VT_UI2, USHORT, uiVal, puiVal, Integer)            \
  X(VT_I4, LONG, lVal, plVal, Integer)                 \
  X(VT_UI4, ULONG, ulVal, pulVal, Integer)             \
  X(VT_I8, int64_t, llVal, pllVal, Integer)            \
  X(VT_UI8, uint64_t, ullVal, pullVal, Integer)        \
  X(VT_INT, INT, intVal, pintVal, Integer)             \
  X(VT_UINT, UINT, uintVal, puintVal, Integer)         \
  X(VT_R4, FLOAT, fltVal, pfltVal, Real)               \
  X(VT_R8, DOUBLE, dblVal, pdblVal, Real)              \
  X(VT_BOOL, VARIANT_BOOL, boolVal, pboolVal, Boolean) \
  X(VT_ERROR, SCODE, scode, pscode, Error)

// What the table says about scalar type Vt, for code that knows the type when compiled.
template <VARTYPE Vt>
struct VariantScalar;

#define LUM_VARIANT_SCALAR_FACTS(vt_, type_, value_, ref_, kind_) \
  template <>                                                     \
  struct VariantScalar<vt_> {                                     \
    using Type = type_;                                           \
    static constexpr VARTYPE vt = vt_;                            \
    static constexpr Type VARIANT::*value = &VARIANT::value_;     \
    static constexpr Type* VARIANT::*ref = &VARIANT::ref_;        \
    static constexpr ScalarKind kind = ScalarKind::kind_;         \
  };
LUM_VARIANT_SCALARS(LUM_VARIANT_SCALAR_FACTS)
#undef LUM_VARIANT_SCALAR_FACTS

// Calls f(VariantScalar<vt>{}) when `vt` is a scalar type; false (and no call) otherwise.
template <class F>
constexpr bool forScalarType(VARTYPE vt, F&& f) {
  switch (vt) {
#define LUM_VARIANT_SCALAR_CASE(vt_, ...) \
  case vt_:                               \
    f(VariantScalar<vt_>{});              \
    return true;
    LUM_VARIANT_SCALARS(LUM_VARIANT_SCALAR_CASE)
#undef LUM_VARIANT_SCALAR_CASE
    default:
      return false;
  }
}

// Types that hold a plain value (no ownership).
constexpr bool isPlainScalar(VARTYPE vt) {
  return vt == VT_EMPTY || vt == VT_NULL || forScalarType(vt, [](auto) {});
}

// Element types that arrays may hold.
constexpr bool isArrayElementType(VARTYPE vt) {
  return (isPlainScalar(vt) && vt != VT_EMPTY && vt != VT_NULL) || vt == VT_BSTR ||
         vt == VT_UNKNOWN || vt == VT_DISPATCH || vt == VT_VARIANT;
}

// Types a VARIANT may hold by value.
constexpr bool isValueType(VARTYPE vt) {
  if (vt & VT_BYREF) return false;
  if (vt & VT_ARRAY)
    return isArrayElementType(vt & VT_TYPEMASK) && (vt & ~(VT_ARRAY | VT_TYPEMASK)) == 0;
  return isPlainScalar(vt) || vt == VT_BSTR || vt == VT_UNKNOWN || vt == VT_DISPATCH;
}

// Types a VARIANT may hold by reference (VT_BYREF | type).
constexpr bool isByRefType(VARTYPE vt) {
  if (!(vt & VT_BYREF)) return false;
  const VARTYPE base = vt & ~VT_BYREF;
  return (isValueType(base) && base != VT_EMPTY && base != VT_NULL) || base == VT_VARIANT;
}

// A non-owning VARIANT that holds the value a VT_BYREF variant refers to (or `v` itself
// when it is not a reference). False when the reference is null or of an unknown type.
bool dereference(const VARIANT& v, VARIANT& value);

}  // namespace lum::detail
