#pragma once
// Where streamed stores may start: they need addresses aligned to a whole vector.

#include <cstddef>
#include <cstdint>

// How many pixels of a run that starts at `out` lie before the first address aligned to
// a vector of `lanes` pixels.
template <class T>
std::ptrdiff_t lcPelsBeforeAlignedVector(const T* out, std::size_t lanes) {
  const std::uintptr_t bytes = lanes * sizeof(T);
  return static_cast<std::ptrdiff_t>((bytes - reinterpret_cast<std::uintptr_t>(out) % bytes) %
                                     bytes / sizeof(T));
}
