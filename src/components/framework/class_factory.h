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
  // An unlock without a lock is ignored: the count never goes below zero, so it cannot
  // swallow a later lock.
  HRESULT LockServer(BOOL lock) override {
    if (lock) {
      ++serverLocks_;
      return S_OK;
    }
    long held = serverLocks_.load();
    while (held > 0 && !serverLocks_.compare_exchange_weak(held, held - 1)) {
    }
    return S_OK;
  }

 private:
  std::atomic<long>& serverLocks_;
};
