#pragma once
// Small helpers shared by the core library's tests.

#include <cstdint>
#include <vector>

#include "std/archive/memory_archive.h"

// The core error code that `action` throws, or 0 when it returns.
template <class Action>
uint32_t thrownCode(Action&& action) {
  try {
    action();
  } catch (const lcException& e) {
    return e.errorCode();
  }
  return 0;
}

// Moves each of `values` in turn.
template <class... T>
void transferAll(lcArchive& archive, T&... values) {
  (archive.transfer(values), ...);
}

// The bytes of `values` written one after the other into a fresh memory archive.
template <class... T>
std::vector<uint8_t> bytesOf(lcArchive::ByteOrder order, T... values) {
  lcMemoryArchive archive(order);
  transferAll(archive, values...);
  return archive.bytes();
}
template <class... T>
std::vector<uint8_t> bytesOf(T... values) {
  return bytesOf(lcArchive::ByteOrder::LeastSignificantFirst, values...);
}
