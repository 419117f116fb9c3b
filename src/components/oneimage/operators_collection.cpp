#include "components/oneimage/operators_collection.h"

namespace {
lum::Variant asVariant(ILumIPOneImageOperatorParams* item) {
  return lum::Variant(static_cast<IDispatch*>(item));
}
}  // namespace

HRESULT CLumIPOneImageOperators::get__NewEnum(IUnknown** enumerator) {
  if (HRESULT hr = lcClearOutPointers(enumerator); FAILED(hr)) return hr;
  return callBoundary(context(L"get__NewEnum"),
                      [&] { *enumerator = collection().enumerate().detach(); });
}

HRESULT CLumIPOneImageOperators::get_Count(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = collection().count();
  return S_OK;
}

HRESULT CLumIPOneImageOperators::get_Item(LONG index, ILumIPOneImageOperatorParams** item) {
  if (HRESULT hr = lcClearOutPointers(item); FAILED(hr)) return hr;
  return callBoundary(context(L"get_Item"), [&] {
    const lum::Variant held = collection().item(index);
    throwIfFailed(held.get().punkVal->QueryInterface(iid_of<ILumIPOneImageOperatorParams>,
                                                     reinterpret_cast<void**>(item)));
  });
}

HRESULT CLumIPOneImageOperators::FindItem(ILumIPOneImageOperatorParams* item, LONG* index) {
  if (index == nullptr) return E_POINTER;
  *index = -1;
  return callBoundary(context(L"FindItem"),
                      [&] { *index = collection().findItem(*asVariant(item).ptr()); });
}

HRESULT CLumIPOneImageOperators::Remove(LONG index) {
  return callBoundary(context(L"Remove"), [&] { collection().remove(index); });
}

HRESULT CLumIPOneImageOperators::Move(LONG from, LONG to) {
  return callBoundary(context(L"Move"), [&] { collection().move(from, to); });
}

HRESULT CLumIPOneImageOperators::Clear() {
  return callBoundary(context(L"Clear"), [&] { collection().clear(); });
}

HRESULT CLumIPOneImageOperators::putref_Item(LONG index, ILumIPOneImageOperatorParams* item) {
  return callBoundary(context(L"putref_Item"),
                      [&] { collection().replace(index, *asVariant(item).ptr()); });
}

HRESULT CLumIPOneImageOperators::Add(ILumIPOneImageOperatorParams* item, LONG index) {
  return callBoundary(context(L"Add"),
                      [&] { collection().add(*asVariant(item).ptr(), {}, index); });
}
