#pragma once
// Symbol visibility. Our shared libraries are compiled with hidden visibility; what
// another library or a host calls is marked with an API macro, and every type whose
// identity must match across libraries (interfaces, exceptions: `catch` and
// `dynamic_cast` compare type information) is marked LUM_VISIBLE.

#define LUM_VISIBLE __attribute__((visibility("default")))

// Functions exported by the platform library.
#define LUM_PLATFORM_API LUM_VISIBLE
