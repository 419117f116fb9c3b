#pragma once
// Scratch rows that a kernel stores while it loads input rows should not match an input
// row's address in the low 12 bits: the processor then takes the loads for reloads of
// the stores and makes them wait (4K aliasing). With input rows a page apart, as large
// images have them, every input row would collide; a scratch row half a page away from
// the first input row collides with none.

#include <cstddef>
#include <cstdint>

// Bytes to allocate beyond a scratch row to leave room for lcAliasingOffset.
inline constexpr std::size_t kAliasingSlack = 4096;

// Bytes past `scratch` (a multiple of 64, below 4096) that lie half a page from `input`.
inline std::size_t lcAliasingOffset(const void* scratch, const void* input) {
  constexpr std::uintptr_t kPage = 4096;
  const auto from = reinterpret_cast<std::uintptr_t>(scratch);
  const auto to = reinterpret_cast<std::uintptr_t>(input) + kPage / 2;
  return static_cast<std::size_t>((to - from) % kPage / 64 * 64);
}
