#pragma once
// The implementation helper for objects that serve interfaces: a thread-safe reference
// count, and QueryInterface answering every listed interface and every interface each
// of them derives from. IUnknown is always answered through the first listed interface,
// so that identity comparisons work.
//
//   class Counter : public lum::ComObject<ICounter, IPersist> { ... };
//   ComPtr<Counter> c = lum::makeComObject<Counter>(args...);

#include <atomic>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/unknown.h"

namespace lum {

template <class First, class... Rest>
class ComObject : public First, public Rest... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    void* found = nullptr;
    if (iid == iid_of<IUnknown>) {
      found = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      found = findInChain<First, First>(iid);
      ((found = found ? found : findInChain<Rest, Rest>(iid)), ...);
      if (found == nullptr) found = queryExtraInterface(iid);
    }
    if (found == nullptr) return E_NOINTERFACE;
    AddRef();
    *object = found;
    return S_OK;
  }

  ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }

  ULONG Release() override {
    const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

  // Further interfaces a class answers without deriving from them (tear-offs, parts);
  // the pointer returned is handed out after one AddRef of this object.
  virtual void* queryExtraInterface(REFIID) { return nullptr; }

 private:
  // Walks Listed, its base, its base's base, ... up to IUnknown (excluded).
  template <class Listed, class Current>
  void* findInChain(REFIID iid) {
    if constexpr (std::is_same_v<Current, IUnknown>) {
      return nullptr;
    } else {
      using Base = typename InterfaceTraits<Current>::base;
      static_assert(std::is_base_of_v<Base, Current>, "LUM_INTERFACE_ID names the wrong base");
      if (iid == iid_of<Current>) return static_cast<Current*>(static_cast<Listed*>(this));
      return findInChain<Listed, Base>(iid);
    }
  }

  std::atomic<ULONG> refs_{0};
};

// Makes a reference-counted object and hands back the first reference.
template <class T, class... Args>
ComPtr<T> makeComObject(Args&&... args) {
  return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace lum
