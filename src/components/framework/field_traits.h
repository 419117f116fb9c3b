#pragma once
// How each kind of component field travels: the type its interface getter writes and
// its setter takes, its VARIANT type, copying out, equality, and conversion from and to
// VARIANTs (dispatch by name, change events, persistence).
//
// Field types: LONG and enumerations (VT_I4), double (VT_R8), float (VT_R4), BYTE
// (VT_UI1), SHORT (VT_I2), lcBool (VT_BOOL), lum::Bstr (VT_BSTR), lum::Variant (any),
// ComPtr<I> (an object, VT_UNKNOWN or VT_DISPATCH).

#include <type_traits>
#include <utility>

#include "components/framework/com_error.h"
#include "platform/bstr.h"
#include "platform/dispatch.h"
#include "platform/variant.h"
#include "platform/variant_types.h"

// A boolean field: interfaces see VARIANT_BOOL, the component stores true or false, so
// that any non-zero value is true and comparisons are by truth.
struct lcBool {
  bool value = false;
  friend bool operator==(lcBool, lcBool) = default;
};

template <class Field, class = void>
struct lcFieldTraits;

namespace lum::detail {

// Converts `v` to `vt` into `out` (DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW on failure).
inline HRESULT coerce(const VARIANT& v, VARTYPE vt, Variant& out) {
  return VariantChangeType(out.put(), &v, 0, vt);
}

// A field held as the VARIANT scalar type Vt.
template <class Field, VARTYPE Vt>
struct ScalarTraits {
  static constexpr auto Member = VariantScalar<Vt>::value;
  using Arg = Field;
  using Out = Field;
  using Literal = Field;
  static constexpr VARTYPE vt = Vt;
  static HRESULT read(const Field& field, Out* out) {
    *out = field;
    return S_OK;
  }
  static Field fromArg(Arg value) { return value; }
  static Field fromLiteral(Literal value) { return value; }
  static bool equal(const Field& a, const Field& b) { return a == b; }
  static Variant toVariant(const Field& field) {
    Variant v;
    v.ptr()->vt = Vt;
    v.ptr()->*Member = field;
    return v;
  }
  static HRESULT fromVariant(const VARIANT& v, Field& field) {
    Variant converted;
    if (HRESULT hr = coerce(v, Vt, converted); FAILED(hr)) return hr;
    field = converted.get().*Member;
    return S_OK;
  }
};

}  // namespace lum::detail

template <>
struct lcFieldTraits<LONG> : lum::detail::ScalarTraits<LONG, VT_I4> {};
template <>
struct lcFieldTraits<SHORT> : lum::detail::ScalarTraits<SHORT, VT_I2> {};
template <>
struct lcFieldTraits<BYTE> : lum::detail::ScalarTraits<BYTE, VT_UI1> {};
template <>
struct lcFieldTraits<float> : lum::detail::ScalarTraits<float, VT_R4> {};
// Doubles compare exactly: a setter given the value it holds raises nothing.
template <>
struct lcFieldTraits<double> : lum::detail::ScalarTraits<double, VT_R8> {};

// Enumerations travel as their 32-bit value.
template <class E>
struct lcFieldTraits<E, std::enable_if_t<std::is_enum_v<E>>> {
  using Arg = E;
  using Out = E;
  using Literal = E;
  static constexpr VARTYPE vt = VT_I4;
  static HRESULT read(const E& field, Out* out) {
    *out = field;
    return S_OK;
  }
  static E fromArg(Arg value) { return value; }
  static E fromLiteral(Literal value) { return value; }
  static bool equal(E a, E b) { return a == b; }
  static lum::Variant toVariant(E field) { return lum::Variant(static_cast<int32_t>(field)); }
  static HRESULT fromVariant(const VARIANT& v, E& field) {
    LONG value = 0;
    if (HRESULT hr = lcFieldTraits<LONG>::fromVariant(v, value); FAILED(hr)) return hr;
    field = static_cast<E>(value);
    return S_OK;
  }
};

template <>
struct lcFieldTraits<lcBool> {
  using Arg = VARIANT_BOOL;
  using Out = VARIANT_BOOL;
  using Literal = bool;
  static constexpr VARTYPE vt = VT_BOOL;
  static HRESULT read(const lcBool& field, Out* out) {
    *out = field.value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  static lcBool fromArg(Arg value) { return {value != 0}; }
  static lcBool fromLiteral(bool value) { return {value}; }
  static bool equal(lcBool a, lcBool b) { return a == b; }
  static lum::Variant toVariant(lcBool field) { return lum::Variant(field.value); }
  static HRESULT fromVariant(const VARIANT& v, lcBool& field) {
    lum::Variant converted;
    if (HRESULT hr = lum::detail::coerce(v, VT_BOOL, converted); FAILED(hr)) return hr;
    field.value = converted.get().boolVal != 0;
    return S_OK;
  }
};

// Strings compare by content; null and empty are the same string.
template <>
struct lcFieldTraits<lum::Bstr> {
  using Arg = BSTR;
  using Out = BSTR;
  using Literal = const wchar_t*;
  static constexpr VARTYPE vt = VT_BSTR;
  static HRESULT read(const lum::Bstr& field, Out* out) {
    return lum::allocBstr(field.view(), out);
  }
  static lum::Bstr fromArg(Arg value) { return lum::Bstr(lum::bstrView(value)); }
  static lum::Bstr fromLiteral(Literal value) { return lum::Bstr(value); }
  static bool equal(const lum::Bstr& a, const lum::Bstr& b) { return a == b; }
  static lum::Variant toVariant(const lum::Bstr& field) { return lum::Variant(field.view()); }
  static HRESULT fromVariant(const VARIANT& v, lum::Bstr& field) {
    lum::Variant converted;
    if (HRESULT hr = lum::detail::coerce(v, VT_BSTR, converted); FAILED(hr)) return hr;
    field = lum::Bstr::attach(std::exchange(converted.ptr()->bstrVal, nullptr));
    return S_OK;
  }
};

// A VARIANT field holds a copy of any value, references resolved: it never points into
// the caller's memory, whichever way it was set. Two values are equal when they have the
// same type and VarCmp finds them equal (objects: the same pointer; arrays: never).
template <>
struct lcFieldTraits<lum::Variant> {
  using Arg = VARIANT;
  using Out = VARIANT;
  using Literal = std::nullptr_t;
  static constexpr VARTYPE vt = VT_VARIANT;
  static HRESULT read(const lum::Variant& field, Out* out) {
    VariantInit(out);
    return VariantCopy(out, field.ptr());
  }
  // Throws lcCOMError for a reference that cannot be followed.
  static lum::Variant fromArg(const Arg& value) {
    lum::Variant field;
    throwIfFailed(fromVariant(value, field));
    return field;
  }
  static lum::Variant fromLiteral(Literal) { return lum::Variant(); }
  static bool equal(const lum::Variant& a, const lum::Variant& b) {
    if (a.type() != b.type()) return false;
    if (a.type() == VT_UNKNOWN || a.type() == VT_DISPATCH)
      return a.get().punkVal == b.get().punkVal;
    if (a.type() == VT_NULL) return true;
    return VarCmp(a.ptr(), b.ptr(), LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
  }
  static lum::Variant toVariant(const lum::Variant& field) { return field; }
  static HRESULT fromVariant(const VARIANT& v, lum::Variant& field) {
    lum::Variant copy;
    if (HRESULT hr = VariantCopyInd(copy.ptr(), &v); FAILED(hr)) return hr;
    field = std::move(copy);
    return S_OK;
  }
};

// An object reference; equal when it is the same pointer. It converts from any object
// that answers interface I.
template <class I>
struct lcFieldTraits<ComPtr<I>> {
  using Arg = I*;
  using Out = I*;
  using Literal = std::nullptr_t;
  static constexpr VARTYPE vt = std::is_base_of_v<IDispatch, I> ? VT_DISPATCH : VT_UNKNOWN;
  static HRESULT read(const ComPtr<I>& field, Out* out) { return field.copyTo(out); }
  static ComPtr<I> fromArg(Arg value) { return ComPtr<I>(value); }
  static ComPtr<I> fromLiteral(Literal) { return nullptr; }
  static bool equal(const ComPtr<I>& a, const ComPtr<I>& b) { return a.get() == b.get(); }
  static lum::Variant toVariant(const ComPtr<I>& field) {
    if constexpr (std::is_base_of_v<IDispatch, I>)
      return lum::Variant(static_cast<IDispatch*>(field.get()));
    else
      return lum::Variant(static_cast<IUnknown*>(field.get()));
  }
  static HRESULT fromVariant(const VARIANT& v, ComPtr<I>& field) {
    lum::Variant value;
    if (HRESULT hr = VariantCopyInd(value.ptr(), &v); FAILED(hr)) return hr;
    const VARTYPE type = value.type();
    if (type == VT_EMPTY || ((type == VT_UNKNOWN || type == VT_DISPATCH) && !value.get().punkVal)) {
      field = nullptr;
      return S_OK;
    }
    if (type != VT_UNKNOWN && type != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    ComPtr<I> object;
    if (FAILED(value.get().punkVal->QueryInterface(iid_of<I>, object.putVoid())))
      return DISP_E_TYPEMISMATCH;
    field = std::move(object);
    return S_OK;
  }
};
