#include "dispatch_calls.h"

#include <algorithm>

namespace lumxip {

Failure invokeByName(IDispatch* object, std::wstring_view name, WORD flags,
                     std::vector<lum::Variant> args, lum::Variant* result) {
  if (object == nullptr) return Failure{E_POINTER, L"no object", L""};
  std::wstring text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = DISPID_UNKNOWN;
  if (HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr))
    return Failure{hr, L"no member named \"" + text + L"\"", L""};
  std::reverse(args.begin(), args.end());  // DISPPARAMS holds the arguments last-first
  std::vector<VARIANTARG> raw;
  for (auto& arg : args)
    raw.push_back(arg.get());
  DISPID putId = DISPID_PROPERTYPUT;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  DISPPARAMS params{raw.data(), put ? &putId : nullptr, static_cast<UINT>(raw.size()),
                    put ? 1u : 0u};
  lum::Variant ignored;
  UINT argError = 0;
  SetErrorInfo(0, nullptr);
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                    (result ? result : &ignored)->put(), nullptr, &argError);
  return FAILED(hr) ? failureOf(hr) : Failure{hr, L"", L""};
}

Failure getProperty(IDispatch* object, std::wstring_view name, lum::Variant* value) {
  return invokeByName(object, name, DISPATCH_PROPERTYGET, {}, value);
}

Failure putProperty(IDispatch* object, std::wstring_view name, std::vector<lum::Variant> index,
                    lum::Variant value) {
  const bool isObject = value.type() == VT_DISPATCH || value.type() == VT_UNKNOWN;
  index.push_back(std::move(value));
  return invokeByName(object, name, isObject ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT,
                      std::move(index));
}

ComPtr<IDispatch> dispatchOf(const lum::Variant& value) {
  ComPtr<IDispatch> object;
  if ((value.type() == VT_DISPATCH || value.type() == VT_UNKNOWN) && value.get().punkVal)
    value.get().punkVal->QueryInterface(iid_of<IDispatch>, object.putVoid());
  return object;
}

}  // namespace lumxip
