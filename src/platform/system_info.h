#pragma once
// Small operating-system services: the high-resolution counter that times runs, and the
// computer's name.

#include <string>

#include "platform/export.h"
#include "platform/types.h"

// Ticks of a monotonic clock, and how many there are in a second.
LUM_PLATFORM_API BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
LUM_PLATFORM_API BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

namespace lum {

inline constexpr std::size_t kMaxComputerNameLength = 31;

// The host name, cut to kMaxComputerNameLength characters.
LUM_PLATFORM_API std::wstring localComputerName();

}  // namespace lum
