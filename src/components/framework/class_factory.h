#pragma once
// The class factory of a component class: CreateInstance makes the object and runs its
// FinalConstruct inside the call boundary (method name "FinalConstruct"); aggregation is
// refused; LockServer counts the module's server locks.

#include <atomic>

#include "lumxip/HalvexCore.h"

template <class T>
class lcClassFactory final : public lum::ComObject<IClassFactory> {
 public:
  explicit lcClassFactory(std::atomic<long>& serverLocks) : serverLocks_(serverLocks) {}

  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    return T::createInstance(outer, iid, object);
  }
  HRESULT LockServer(BOOL lock) override {
    if (lock)
      ++serverLocks_;
    else
      --serverLocks_;
    return S_OK;
  }

 private:
  std::atomic<long>& serverLocks_;
};
