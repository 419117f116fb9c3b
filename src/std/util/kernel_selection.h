#pragma once
// Kernels that exist twice, a fast one and a portable one, are chosen by name at run
// time ("cip_pelMedian3x3_8", ...). The fast one runs unless the process-wide selection
// hook answers non-zero for the kernel's name, or the fast one reports that it cannot
// handle the call (a status whose bits 5 to 15 equal 0x600); then the portable one runs.
// Tests run both twins by setting the hook.

#include <cstdint>

#include "std/export.h"

// Asked with a kernel's name; a non-zero answer selects the portable twin.
using lcKernelSelectionHook = int (*)(const char* kernelName);

// Sets the hook (nullptr: always try the fast kernel first) and returns the one before.
LC_CORE_API lcKernelSelectionHook lcSetKernelSelectionHook(lcKernelSelectionHook hook);
// True when the hook asks for the portable twin of `kernelName`.
LC_CORE_API bool lcPortableKernelWanted(const char* kernelName);

// Statuses 0x600 to 0x61F: the fast kernel does not handle this call.
constexpr bool lcKernelDeclined(int32_t status) {
  return (status & 0xffe0) == 0x600;
}

// Runs fast() or portable(), both returning an int32_t status, as the hook and the
// fast kernel's status decide; gives the status of the kernel that ran last.
template <class Fast, class Portable>
int32_t lcRunKernel(const char* kernelName, Fast&& fast, Portable&& portable) {
  if (!lcPortableKernelWanted(kernelName)) {
    const int32_t status = fast();
    if (!lcKernelDeclined(status)) return status;
  }
  return portable();
}
