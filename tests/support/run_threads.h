#pragma once
// Running work on several threads for a bounded time, and failing loudly on a deadlock.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>
#include <vector>

namespace lumtest {

// Runs `work(thread index)` on `threads` threads until `duration` has passed.
template <class Work>
void runFor(int threads, std::chrono::milliseconds duration, Work work) {
  std::atomic<bool> stop{false};
  std::vector<std::jthread> running;
  for (int t = 0; t < threads; ++t)
    running.emplace_back([&, t] {
      while (!stop)
        work(t);
    });
  std::this_thread::sleep_for(duration);
  stop = true;
}

// Runs `work`; a deadlock ends the process with a message instead of hanging the suite.
inline void finishWithin(std::chrono::seconds limit, const std::function<void()>& work) {
  auto done = std::async(std::launch::async, work);
  if (done.wait_for(limit) == std::future_status::ready) return done.get();
  std::fprintf(stderr, "threads still blocked after %llds: deadlock\n",
               static_cast<long long>(limit.count()));
  std::abort();
}

}  // namespace lumtest
