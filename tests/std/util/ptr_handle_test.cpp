#include "std/util/ptr_handle.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Counts how many of it are alive.
struct Probe : lcRepBase {
  explicit Probe(int& alive) : alive(alive) { ++alive; }
  Probe(const Probe& other) : lcRepBase(other), alive(other.alive) { ++alive; }
  ~Probe() override { --alive; }
  int& alive;
};

TEST(PtrHandle, CopiesShareAndTheLastHandleDeletes) {
  int alive = 0;
  {
    lcPtrHandle<Probe> first = lcMakeHandle<Probe>(alive);
    const lcPtrHandle<Probe> second = first;
    const lcPtrHandle<Probe> copy = lcMakeHandle<Probe>(*first);  // held by nobody before
    EXPECT_EQ(copy->referenceCount(), 1u);
    first.reset();
    EXPECT_EQ(alive, 2);

    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
      threads.emplace_back([&second] {
        for (int i = 0; i < 20000; ++i)
          lcPtrHandle<Probe> local = second;
      });
    for (std::thread& thread : threads)
      thread.join();
    EXPECT_EQ(second->referenceCount(), 1u);
  }
  EXPECT_EQ(alive, 0);
}

}  // namespace
