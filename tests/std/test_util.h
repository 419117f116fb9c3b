#pragma once
// Small helpers shared by the core library's tests.

#include <cstdint>
#include <vector>

#include "std/archive/memory_archive.h"
#include "std/except/exception.h"

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

// Writes values into an archive, for building archives by hand.
template <class... T>
void put(lcArchive& archive, T... values) {
  (archive.transfer(values), ...);
}

// The bytes that `write` stores into a fresh memory archive.
template <class Write>
std::vector<uint8_t> storedBytes(
    Write&& write, lcArchive::ByteOrder order = lcArchive::ByteOrder::LeastSignificantFirst) {
  lcMemoryArchive archive(order);
  write(archive);
  return archive.bytes();
}
