#include "components/framework/member_descriptions.h"

#include <new>

#include "components/framework/call_boundary.h"

namespace {

bool inRange(const std::vector<lcMemberDescription>& members, LONG index) {
  return index >= 0 && static_cast<std::size_t>(index) < members.size();
}

// A one-dimensional array of `count` elements filled by `put(i, slot)`, in a VARIANT.
template <class Put>
void makeVector(VARTYPE vt, std::size_t count, VARIANT& out, Put put) {
  SAFEARRAY* array = SafeArrayCreateVector(vt, 0, static_cast<ULONG>(count));
  if (array == nullptr) throw std::bad_alloc();
  out.vt = static_cast<VARTYPE>(VT_ARRAY | vt);
  out.parray = array;  // owned by `out` from here on, also if a put fails
  for (LONG i = 0; i < static_cast<LONG>(count); ++i)
    put(i, array);
}

}  // namespace

HRESULT lcGetMemberDescription(const std::vector<lcMemberDescription>& members, LONG index,
                               BSTR* name, DISPID* dispid, BSTR* kind, VARTYPE* type,
                               BSTR* defaultValue, BSTR* description) {
  if (HRESULT hr = lcClearOutPointers(name, dispid, kind, type, defaultValue, description);
      FAILED(hr))
    return hr;
  if (!inRange(members, index)) return E_INVALIDARG;
  const lcMemberDescription& m = members[static_cast<std::size_t>(index)];
  try {
    lum::Bstr n(m.name), k(m.kind), d(m.defaultValue), text(m.description);
    *name = n.detach(), *kind = k.detach(), *defaultValue = d.detach();
    *description = text.detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;  // nothing was handed out yet
  }
  *dispid = m.dispid;
  *type = m.type;
  return S_OK;
}

HRESULT lcGetMemberEnumeration(const std::vector<lcMemberDescription>& members, LONG index,
                               VARIANT* names, VARIANT* values) {
  if (HRESULT hr = lcClearOutPointers(names, values); FAILED(hr)) return hr;
  if (!inRange(members, index)) return E_INVALIDARG;
  const lcMemberDescription& m = members[static_cast<std::size_t>(index)];
  try {
    makeVector(VT_BSTR, m.enumerationNames.size(), *names, [&](LONG i, SAFEARRAY* array) {
      lum::Bstr text(m.enumerationNames[static_cast<std::size_t>(i)]);
      if (FAILED(SafeArrayPutElement(array, &i, text.get()))) throw std::bad_alloc();
    });
    makeVector(VT_I4, m.enumerationValues.size(), *values, [&](LONG i, SAFEARRAY* array) {
      LONG value = m.enumerationValues[static_cast<std::size_t>(i)];
      if (FAILED(SafeArrayPutElement(array, &i, &value))) throw std::bad_alloc();
    });
  } catch (const std::bad_alloc&) {
    VariantClear(names);
    VariantClear(values);
    return E_OUTOFMEMORY;
  }
  return S_OK;
}
