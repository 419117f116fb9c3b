#include "std/util/kernel_selection.h"

#include <atomic>

namespace {
std::atomic<lcKernelSelectionHook> hook{nullptr};
}  // namespace

lcKernelSelectionHook lcSetKernelSelectionHook(lcKernelSelectionHook newHook) {
  return hook.exchange(newHook);
}

bool lcPortableKernelWanted(const char* kernelName) {
  const lcKernelSelectionHook current = hook.load();
  return current && current(kernelName) != 0;
}
