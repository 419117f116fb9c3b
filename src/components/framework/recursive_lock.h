#pragma once
// The lock every component guards its state with: recursive, a compare-and-swap on the
// owning thread's ID with a count, and a 1 ms sleep while another thread holds it. It
// holds no kernel object, so a component costs no handle. The lock is never held while
// an event sink runs.
//
// Under ThreadSanitizer the lock announces itself as a recursive mutex, so that the
// sanitizer orders accesses by it and reports lock-order inversions between it and any
// other mutex.

#include <atomic>
#include <cstdint>

#include "components/framework/export.h"

class LUM_VISIBLE lcRecursiveLock {
 public:
  lcRecursiveLock() noexcept;
  ~lcRecursiveLock();
  lcRecursiveLock(const lcRecursiveLock&) = delete;
  lcRecursiveLock& operator=(const lcRecursiveLock&) = delete;

  void lock() noexcept;
  void unlock() noexcept;
  // True when the calling thread holds the lock.
  bool heldByCaller() const noexcept;

 private:
  void acquire(uint32_t self) noexcept;

  std::atomic<uint32_t> owner_{0};  // thread ID, 0 when free
  uint32_t count_ = 0;              // touched only by the owner
};

// Holds a lock for a scope.
class lcLockGuard {
 public:
  explicit lcLockGuard(lcRecursiveLock& lock) noexcept : lock_(lock) { lock_.lock(); }
  ~lcLockGuard() { lock_.unlock(); }
  lcLockGuard(const lcLockGuard&) = delete;
  lcLockGuard& operator=(const lcLockGuard&) = delete;

 private:
  lcRecursiveLock& lock_;
};
