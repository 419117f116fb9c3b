#include "components/framework/recursive_lock.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

uint32_t currentThreadId() {
  thread_local const uint32_t id = static_cast<uint32_t>(syscall(SYS_gettid));
  return id;
}

}  // namespace

void lcRecursiveLock::lock() noexcept {
  const uint32_t self = currentThreadId();
  if (owner_.load(std::memory_order_relaxed) == self) {
    ++count_;
    return;
  }
  // Holders keep the lock for a few copies at most: a short run of yields usually gets
  // it, and only a longer wait falls back to 1 ms sleeps. There are no window messages
  // to pump here, so a waiter that would pump sleeps as well.
  constexpr int kYieldsBeforeSleeping = 64;
  for (int attempt = 0;; ++attempt) {
    uint32_t expected = 0;
    if (owner_.compare_exchange_weak(expected, self, std::memory_order_acquire,
                                     std::memory_order_relaxed)) {
      count_ = 1;
      return;
    }
    if (attempt < kYieldsBeforeSleeping)
      std::this_thread::yield();
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void lcRecursiveLock::unlock() noexcept {
  if (--count_ == 0) owner_.store(0, std::memory_order_release);
}

bool lcRecursiveLock::heldByCaller() const noexcept {
  return owner_.load(std::memory_order_relaxed) == currentThreadId();
}
