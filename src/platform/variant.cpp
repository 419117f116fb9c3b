#include "platform/variant.h"

#include <new>
#include <stdexcept>

#include "platform/dispatch.h"
#include "platform/safearray.h"
#include "platform/variant_types.h"

namespace lum::detail {

bool dereference(const VARIANT& v, VARIANT& value) {
  if (!(v.vt & VT_BYREF)) {
    value = v;
    return true;
  }
  if (v.byref == nullptr || !isByRefType(v.vt)) return false;
  const VARTYPE base = v.vt & ~VT_BYREF;
  if (base == VT_VARIANT) {
    if (v.pvarVal->vt & VT_BYREF) return false;  // one level of reference only
    value = *v.pvarVal;
    return true;
  }
  VariantInit(&value);
  value.vt = base;
  if (base & VT_ARRAY) {
    value.parray = *v.pparray;
    return true;
  }
  if (forScalarType(base, [&](auto scalar) {
        using S = decltype(scalar);
        value.*S::value = *(v.*S::ref);
      }))
    return true;
  switch (base) {
    case VT_BSTR:
      value.bstrVal = *v.pbstrVal;
      break;
    case VT_UNKNOWN:
      value.punkVal = *v.ppunkVal;
      break;
    case VT_DISPATCH:
      value.pdispVal = *v.ppdispVal;
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace lum::detail

using lum::detail::isByRefType;
using lum::detail::isValueType;

void VariantInit(VARIANT* v) {
  if (v == nullptr) return;
  v->vt = VT_EMPTY;
  v->wReserved1 = v->wReserved2 = v->wReserved3 = 0;
  v->ullVal = 0;
}

HRESULT VariantClear(VARIANT* v) {
  if (v == nullptr) return E_INVALIDARG;
  if (!isValueType(v->vt) && !isByRefType(v->vt)) return DISP_E_BADVARTYPE;
  if (v->vt & VT_ARRAY && !(v->vt & VT_BYREF)) {
    if (HRESULT hr = SafeArrayDestroy(v->parray); FAILED(hr)) return hr;
  } else if (v->vt == VT_BSTR) {
    SysFreeString(v->bstrVal);
  } else if (v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) {
    if (v->punkVal) v->punkVal->Release();
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (dest == nullptr || src == nullptr) return E_INVALIDARG;
  if (dest == src) return S_OK;
  if (!isValueType(src->vt) && !isByRefType(src->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy = *src;
  if (src->vt & VT_BYREF) {
    // a reference is copied as the reference it is
  } else if (src->vt & VT_ARRAY) {
    copy.parray = nullptr;
    if (src->parray != nullptr)
      if (HRESULT hr = SafeArrayCopy(src->parray, &copy.parray); FAILED(hr)) return hr;
  } else if (src->vt == VT_BSTR && src->bstrVal != nullptr) {
    copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
    if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
  } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal != nullptr) {
    src->punkVal->AddRef();
  }
  if (HRESULT hr = VariantClear(dest); FAILED(hr)) {
    VariantClear(&copy);
    return hr;
  }
  *dest = copy;
  return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
  if (dest == nullptr || src == nullptr) return E_INVALIDARG;
  VARIANT value;
  if (!lum::detail::dereference(*src, value)) return E_INVALIDARG;
  if (dest == src) {
    if (!(src->vt & VT_BYREF)) return S_OK;
    VARIANT copy;
    VariantInit(&copy);
    if (HRESULT hr = VariantCopy(&copy, &value); FAILED(hr)) return hr;
    *dest = copy;  // a reference owns nothing: overwriting it leaks nothing
    return S_OK;
  }
  return VariantCopy(dest, &value);
}

namespace lum {

namespace {
void copyOrThrow(VARIANT* dest, const VARIANT* src) {
  const HRESULT hr = VariantCopy(dest, src);
  if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
  if (FAILED(hr)) throw std::invalid_argument("VARIANT of a type that cannot be copied");
}
}  // namespace

Variant::Variant(const VARIANT& other) : Variant() {
  copyOrThrow(&v_, &other);
}

Variant::Variant(std::wstring_view text) : Variant() {
  Bstr owned(text);
  v_.vt = VT_BSTR;
  v_.bstrVal = owned.detach();
}

Variant::Variant(IUnknown* object) noexcept : Variant() {
  v_.vt = VT_UNKNOWN;
  v_.punkVal = object;
  if (object) object->AddRef();
}

Variant::Variant(IDispatch* object) noexcept : Variant() {
  v_.vt = VT_DISPATCH;
  v_.pdispVal = object;
  if (object) object->AddRef();
}

}  // namespace lum
