#pragma once
// State an operator prepares from its properties before running its kernel (lookup
// tables, integer kernels). A setter marks it stale (in afterPropertyStored, under the
// component's lock); Execute takes a snapshot, rebuilt under the lock when stale, and
// runs the kernel on the snapshot without holding the lock. A change made meanwhile
// marks the state stale again and never touches a snapshot in use.
//
//   void afterPropertyStored(DISPID) { tables_.markStale(); }
//   auto tables = tables_.snapshot(core().lock(), [&] { return buildTables(constant_); });

#include <memory>
#include <utility>

#include "components/framework/recursive_lock.h"

template <class State>
class lcPreparedState {
 public:
  // Call with the component's lock held (afterPropertyStored is).
  void markStale() { current_.reset(); }

  // The prepared state; `build()` runs under `lock` when there is none.
  template <class Build>
  std::shared_ptr<const State> snapshot(lcRecursiveLock& lock, Build&& build) {
    lcLockGuard guard(lock);
    if (!current_) current_ = std::make_shared<const State>(std::forward<Build>(build)());
    return current_;
  }

 private:
  std::shared_ptr<const State> current_;
};
