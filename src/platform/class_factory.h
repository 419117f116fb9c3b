#pragma once
// A class factory for classes whose objects need nothing but construction: it makes a
// `T` with makeComObject and hands out the interface asked for. Aggregation is refused.

#include <new>

#include "platform/class_registry.h"
#include "platform/com_object.h"

namespace lum {

template <class T>
class SimpleClassFactory final : public ComObject<IClassFactory> {
 public:
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    try {
      return makeComObject<T>()->QueryInterface(iid, object);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
};

}  // namespace lum
