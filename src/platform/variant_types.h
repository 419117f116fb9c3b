#pragma once
// Internal: what the VARIANT functions know about each type. Not part of the API.

#include "platform/variant.h"

namespace lum::detail {

// Types that hold a plain value (no ownership).
constexpr bool isPlainScalar(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_BOOL:
    case VT_ERROR:
      return true;
    default:
      return false;
  }
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
