#include "components/framework/recursive_lock.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#if defined(__SANITIZE_THREAD__)
#define LUM_TSAN_LOCK 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define LUM_TSAN_LOCK 1
#endif
#endif

// ThreadSanitizer is told of every lock and unlock, recursive ones included (it counts
// the recursion itself); other builds compile the announcements away.
#ifdef LUM_TSAN_LOCK
#include <sanitizer/tsan_interface.h>
#define LUM_TSAN_ANNOUNCE(call) call
#else
#define LUM_TSAN_ANNOUNCE(call) ((void)0)
#endif

namespace {

uint32_t currentThreadId() {
  thread_local const uint32_t id = static_cast<uint32_t>(syscall(SYS_gettid));
  return id;
}

}  // namespace

lcRecursiveLock::lcRecursiveLock() noexcept {
  LUM_TSAN_ANNOUNCE(
      __tsan_mutex_create(this, __tsan_mutex_write_reentrant | __tsan_mutex_not_static));
}

lcRecursiveLock::~lcRecursiveLock() {
  LUM_TSAN_ANNOUNCE(__tsan_mutex_destroy(this, __tsan_mutex_not_static));
}

void lcRecursiveLock::lock() noexcept {
  LUM_TSAN_ANNOUNCE(__tsan_mutex_pre_lock(this, 0));
  acquire(currentThreadId());
  LUM_TSAN_ANNOUNCE(__tsan_mutex_post_lock(this, 0, 0));
}

void lcRecursiveLock::acquire(uint32_t self) noexcept {
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
  LUM_TSAN_ANNOUNCE(__tsan_mutex_pre_unlock(this, 0));
  if (--count_ == 0) owner_.store(0, std::memory_order_release);
  LUM_TSAN_ANNOUNCE(__tsan_mutex_post_unlock(this, 0));
}

bool lcRecursiveLock::heldByCaller() const noexcept {
  return owner_.load(std::memory_order_relaxed) == currentThreadId();
}
