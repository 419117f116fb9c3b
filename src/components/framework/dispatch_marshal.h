#pragma once
// Calling a member function from the arguments of IDispatch::Invoke: each parameter is
// converted from its VARIANT (with VariantChangeType), out-parameters are collected, the
// last out-parameter becomes the call's result and earlier ones are written back
// through their VT_BYREF arguments.
//
// Parameter types: LONG, enumerations, SHORT as VARIANT_BOOL (the only 16-bit type in
// method signatures), BYTE, float, double, BSTR, VARIANT, interface pointers; and a
// pointer to any of these as an out-parameter.

#include <tuple>
#include <type_traits>
#include <utility>

#include "components/framework/export.h"
#include "platform/dispatch.h"
#include "platform/variant.h"
#include "platform/variant_types.h"

namespace lum::detail {

template <class Fn>
struct FunctionParts;
template <class C, class... Args>
struct FunctionParts<HRESULT (C::*)(Args...)> {
  using Class = C;
  using Params = std::tuple<Args...>;
  static constexpr std::size_t arity = sizeof...(Args);
};

template <class P>
inline constexpr bool isTextIn = std::is_same_v<P, BSTR> || std::is_same_v<P, const wchar_t*>;

// Pointers are out-parameters, except texts and objects passed in (ILumImage*).
template <class P>
inline constexpr bool isObjectIn =
    std::is_pointer_v<P>&& std::is_base_of_v<IUnknown, std::remove_pointer_t<P>>;
template <class P>
inline constexpr bool isOutParam = std::is_pointer_v<P> && !isTextIn<P> && !isObjectIn<P>;

// The VARIANT type a value of C++ type V travels as.
template <class V>
constexpr VARTYPE variantTypeOf() {
  if constexpr (std::is_same_v<V, VARIANT>)
    return VT_VARIANT;
  else if constexpr (std::is_same_v<V, LONG> || std::is_enum_v<V>)
    return VT_I4;
  else if constexpr (std::is_same_v<V, SHORT>)
    return VT_BOOL;
  else if constexpr (std::is_same_v<V, BYTE>)
    return VT_UI1;
  else if constexpr (std::is_same_v<V, float>)
    return VT_R4;
  else if constexpr (std::is_same_v<V, double>)
    return VT_R8;
  else if constexpr (isTextIn<V>)
    return VT_BSTR;
  else if constexpr (std::is_pointer_v<V> && std::is_base_of_v<IDispatch, std::remove_pointer_t<V>>)
    return VT_DISPATCH;
  else if constexpr (std::is_pointer_v<V> && std::is_base_of_v<IUnknown, std::remove_pointer_t<V>>)
    return VT_UNKNOWN;
  else
    static_assert(sizeof(V) == 0, "parameter type not supported by dispatch");
}

// Reads a value of type V out of a VARIANT already converted to variantTypeOf<V>().
template <class V>
V valueOf(const VARIANT& v) {
  if constexpr (std::is_same_v<V, VARIANT>)
    return v;
  else if constexpr (isPlainScalar(variantTypeOf<V>()))
    return static_cast<V>(v.*VariantScalar<variantTypeOf<V>()>::value);
  else if constexpr (isTextIn<V>)
    return v.bstrVal;
  else
    return static_cast<V>(static_cast<void*>(v.punkVal));
}

// An in-parameter: converted from its argument, or defaulted when omitted.
template <class P>
class InArgument {
 public:
  HRESULT load(const VARIANT* argument, double defaultValue) {
    constexpr VARTYPE vt = variantTypeOf<P>();
    if (argument == nullptr) {  // omitted optional argument
      if constexpr (vt == VT_VARIANT) {
        value_.ptr()->vt = VT_ERROR;
        value_.ptr()->scode = DISP_E_PARAMNOTFOUND;
      } else if constexpr (isPlainScalar(vt)) {
        Variant number(defaultValue);
        return VariantChangeType(value_.put(), number.ptr(), 0, vt);
      }
      return S_OK;  // text: empty; objects: none
    }
    if constexpr (vt == VT_VARIANT) {
      return VariantCopyInd(value_.put(), argument);
    } else if constexpr (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
      Variant object;
      if (HRESULT hr = VariantCopyInd(object.ptr(), argument); FAILED(hr)) return hr;
      if (object.type() == VT_EMPTY) return S_OK;
      if (object.type() != VT_UNKNOWN && object.type() != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
      if (!object.get().punkVal) return S_OK;
      using I = std::remove_pointer_t<P>;
      value_.ptr()->vt = VT_UNKNOWN;
      const HRESULT hr = object.get().punkVal->QueryInterface(
          lum::InterfaceTraits<I>::iid, reinterpret_cast<void**>(&value_.ptr()->punkVal));
      if (FAILED(hr)) {
        value_.ptr()->vt = VT_EMPTY;
        return DISP_E_TYPEMISMATCH;
      }
      return S_OK;
    } else {
      return VariantChangeType(value_.put(), argument, 0, vt);
    }
  }
  P get() const {
    if constexpr (variantTypeOf<P>() == VT_UNKNOWN || variantTypeOf<P>() == VT_DISPATCH ||
                  isTextIn<P>) {
      if (value_.type() == VT_EMPTY) return nullptr;
    }
    return valueOf<P>(value_.get());
  }

 private:
  Variant value_;
};

// An out-parameter: storage the call writes, turned into a VARIANT afterwards.
template <class P>
class OutArgument {
  using V = std::remove_pointer_t<P>;

 public:
  OutArgument() {
    if constexpr (std::is_same_v<V, VARIANT>) VariantInit(&value_);
  }
  ~OutArgument() {
    if constexpr (std::is_same_v<V, VARIANT>)
      VariantClear(&value_);
    else if constexpr (isTextIn<V>)
      SysFreeString(value_);
    else if constexpr (std::is_pointer_v<V>) {
      if (value_) value_->Release();
    }
  }
  OutArgument(const OutArgument&) = delete;
  OutArgument& operator=(const OutArgument&) = delete;

  P get() { return &value_; }

  // Moves the value into `result` (left empty when the value is none).
  void moveTo(VARIANT& result) {
    VariantInit(&result);
    if constexpr (std::is_same_v<V, VARIANT>) {
      result = value_;
      VariantInit(&value_);
    } else if constexpr (isTextIn<V>) {
      result.vt = VT_BSTR;
      result.bstrVal = std::exchange(value_, nullptr);
    } else if constexpr (std::is_pointer_v<V>) {
      result.vt = variantTypeOf<V>();
      result.punkVal = std::exchange(value_, nullptr);
    } else {
      using S = VariantScalar<variantTypeOf<V>()>;
      result.vt = S::vt;
      result.*S::value = static_cast<typename S::Type>(value_);
    }
  }

 private:
  V value_{};
};

// Writes `value` through a VT_BYREF argument, converted to the referenced type.
LUM_FRAMEWORK_API HRESULT writeBack(VARIANT& byRef, VARIANT& value);

}  // namespace lum::detail
