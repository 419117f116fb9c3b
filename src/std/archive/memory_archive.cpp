#include "std/archive/memory_archive.h"

lcMemoryArchive::lcMemoryArchive(ByteOrder order, uint32_t version)
    : lcMemoryArchiveBuffer(std::ios_base::out),
      lcArchive(memory_, Direction::Storing, order, version) {}

lcMemoryArchive::lcMemoryArchive(std::span<const uint8_t> bytes, ByteOrder order, uint32_t version)
    : lcMemoryArchiveBuffer(bytes), lcArchive(memory_, Direction::Loading, order, version) {}

std::vector<uint8_t> lcMemoryArchive::bytes() const {
  const std::string text = memory_.str();
  return std::vector<uint8_t>(text.begin(), text.end());
}
