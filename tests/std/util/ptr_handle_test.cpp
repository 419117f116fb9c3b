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
struct DerivedProbe : Probe {
  using Probe::Probe;
};

TEST(PtrHandle, CopiesShareAndTheLastHandleDeletes) {
  int alive = 0;
  {
    lcPtrHandle<Probe> first = lcMakeHandle<DerivedProbe>(alive);
    lcPtrHandle<Probe> second = first;
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->referenceCount(), 2u);
    first.reset();
    EXPECT_EQ(alive, 1);
    // A copied object is a new one that no handle holds yet.
    lcPtrHandle<Probe> copy = lcMakeHandle<Probe>(*second);
    EXPECT_EQ(copy->referenceCount(), 1u);
    EXPECT_TRUE(lcHandleCast<DerivedProbe>(second));
    EXPECT_FALSE(lcHandleCast<DerivedProbe>(copy));
  }
  EXPECT_EQ(alive, 0);
}

TEST(PtrHandle, CountsStayExactWhenThreadsCopyTogether) {
  int alive = 0;
  lcPtrHandle<Probe> shared = lcMakeHandle<Probe>(alive);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&shared] {
      for (int i = 0; i < 20000; ++i)
        lcPtrHandle<Probe> copy = shared;
    });
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(shared->referenceCount(), 1u);
  shared.reset();
  EXPECT_EQ(alive, 0);
}

}  // namespace
