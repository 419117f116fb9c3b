#include "components/framework/dispatch_marshal.h"

namespace lum::detail {

HRESULT writeBack(VARIANT& byRef, VARIANT& value) {
  if (!(byRef.vt & VT_BYREF) || byRef.byref == nullptr) return DISP_E_TYPEMISMATCH;
  const VARTYPE target = byRef.vt & ~VT_BYREF;
  if (target == VT_VARIANT) {
    VariantClear(byRef.pvarVal);
    *byRef.pvarVal = value;
    VariantInit(&value);
    return S_OK;
  }
  Variant converted;
  if (HRESULT hr = VariantChangeType(converted.ptr(), &value, 0, target); FAILED(hr)) return hr;
  VARIANT& v = *converted.ptr();
  switch (target) {
    case VT_I4:
      *byRef.plVal = v.lVal;
      break;
    case VT_I2:
      *byRef.piVal = v.iVal;
      break;
    case VT_UI1:
      *byRef.pbVal = v.bVal;
      break;
    case VT_R4:
      *byRef.pfltVal = v.fltVal;
      break;
    case VT_R8:
      *byRef.pdblVal = v.dblVal;
      break;
    case VT_BOOL:
      *byRef.pboolVal = v.boolVal;
      break;
    case VT_BSTR:
      SysFreeString(*byRef.pbstrVal);
      *byRef.pbstrVal = std::exchange(v.bstrVal, nullptr);
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (*byRef.ppunkVal) (*byRef.ppunkVal)->Release();
      *byRef.ppunkVal = std::exchange(v.punkVal, nullptr);
      break;
    default:
      return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

}  // namespace lum::detail
