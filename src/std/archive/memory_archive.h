#pragma once
// An archive held in memory: stored into an empty buffer whose bytes are then taken,
// or loaded from a copy of given bytes.

#include <cstdint>
#include <span>
#include <sstream>
#include <vector>

#include "std/archive/archive.h"

// Holds the buffer, so that it exists before the archive that wraps it is built.
class LC_VISIBLE lcMemoryArchiveBuffer {
 protected:
  explicit lcMemoryArchiveBuffer(std::ios_base::openmode mode) : memory_(mode) {}
  explicit lcMemoryArchiveBuffer(std::span<const uint8_t> bytes)
      : memory_(std::string(bytes.begin(), bytes.end()), std::ios_base::in) {}

  std::stringbuf memory_;
};

class LC_VISIBLE lcMemoryArchive : private lcMemoryArchiveBuffer, public lcArchive {
 public:
  // An empty archive to store into.
  explicit lcMemoryArchive(ByteOrder order = ByteOrder::LeastSignificantFirst,
                           uint32_t version = kCurrentVersion);
  // An archive that loads a copy of `bytes`.
  explicit lcMemoryArchive(std::span<const uint8_t> bytes,
                           ByteOrder order = ByteOrder::LeastSignificantFirst,
                           uint32_t version = kCurrentVersion);

  // Every byte stored so far (or, when loading, every byte given).
  std::vector<uint8_t> bytes() const;
};
