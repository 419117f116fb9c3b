#pragma once
// Calling a component through IDispatch by member name, as a script host does.

#include <vector>

#include "lumxip/platform.h"

namespace lumtest {

inline DISPID idOf(IDispatch* object, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = 0;
  return SUCCEEDED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))
             ? id
             : DISPID_UNKNOWN;
}

// Calls by name with arguments in declaration order.
inline HRESULT call(IDispatch* object, const wchar_t* name, WORD flags,
                    std::vector<lum::Variant> args, lum::Variant* result = nullptr) {
  const DISPID id = idOf(object, name);
  if (id == DISPID_UNKNOWN) return DISP_E_UNKNOWNNAME;
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it)
    reversed.push_back(*it->ptr());
  DISPID put = DISPID_PROPERTYPUT;
  const bool isPut = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
  DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, UINT(reversed.size()),
                    isPut ? 1u : 0u};
  UINT argError = 0;
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                        result ? result->put() : nullptr, nullptr, &argError);
}

}  // namespace lumtest
