#include "std/archive/archive.h"

#include <ios>
#include <limits>

namespace {
std::wstring unknownVersionText(std::string_view source, int line) {
  return L"unknown version in " + std::wstring(source.begin(), source.end()) + L", line " +
         std::to_wstring(line);
}
}  // namespace

lcArchive::UnknownVersion::UnknownVersion(std::string_view source, int line)
    : Errors(unknownVersionText(source, line)), source_(source), line_(line) {}

lcArchive::lcArchive(std::streambuf& buffer, Direction direction, ByteOrder order, uint32_t version)
    : buffer_(&buffer), direction_(direction), version_(version), order_(order) {
  if (version == 0 || version > kCurrentVersion)
    throw UnknownArchiveVersion(L"archive version " + std::to_wstring(version));
  if (isStoring() && version != kCurrentVersion)
    throw CannotWriteToOldArchive(L"archive version " + std::to_wstring(version));
}

void lcArchive::putBytes(const void* bytes, std::size_t count) {
  const auto wanted = static_cast<std::streamsize>(count);
  if (buffer_->sputn(static_cast<const char*>(bytes), wanted) != wanted)
    throw BadBuffer(L"the stream refused a byte");
}

void lcArchive::getBytes(void* bytes, std::size_t count) {
  const auto wanted = static_cast<std::streamsize>(count);
  if (buffer_->sgetn(static_cast<char*>(bytes), wanted) != wanted) throw Eof();
}

void lcArchive::encodeBits(uint64_t bits, std::size_t size, unsigned char* bytes) const {
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t at = order_ == ByteOrder::LeastSignificantFirst ? i : size - 1 - i;
    bytes[at] = static_cast<unsigned char>(bits >> (8 * i));
  }
}

uint64_t lcArchive::decodeBits(const unsigned char* bytes, std::size_t size) const {
  uint64_t bits = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t at = order_ == ByteOrder::LeastSignificantFirst ? i : size - 1 - i;
    bits |= uint64_t{bytes[at]} << (8 * i);
  }
  return bits;
}

void lcArchive::putBits(uint64_t bits, int size) {
  unsigned char bytes[8];
  encodeBits(bits, static_cast<std::size_t>(size), bytes);
  putBytes(bytes, static_cast<std::size_t>(size));
}

uint64_t lcArchive::getBits(int size) {
  unsigned char bytes[8];
  getBytes(bytes, static_cast<std::size_t>(size));
  return decodeBits(bytes, static_cast<std::size_t>(size));
}

void lcArchive::transfer(std::string& value) {
  uint64_t size = value.size();
  transferCount(size, 1);
  if (isStoring()) {
    putBytes(value.data(), value.size());
    return;
  }
  std::string loaded(static_cast<std::size_t>(size), '\0');
  getBytes(loaded.data(), loaded.size());
  value = std::move(loaded);
}

uint32_t lcArchive::transferVersion(uint32_t current, std::string_view source, int line) {
  uint32_t version = current;
  transfer(version);
  if (version == 0 || version > current) throw UnknownVersion(source, line);
  return version;
}

void lcArchive::transferCount(uint64_t& count, uint64_t minBytesEach) {
  if (isStoring()) {
    if (count > std::numeric_limits<uint32_t>::max())
      throw BadContent(L"a count does not fit in 32 bits");
    uint32_t narrow = static_cast<uint32_t>(count);
    transfer(narrow);
    return;
  }
  uint32_t read = 0;
  transfer(read);
  if (minBytesEach != 0 && read > bytesLeft() / minBytesEach)
    throw Eof(L"a count is larger than the data that remains");
  count = read;
}

uint64_t lcArchive::bytesLeft() {
  constexpr auto in = std::ios_base::in;
  const std::streampos here = buffer_->pubseekoff(0, std::ios_base::cur, in);
  const std::streampos end = buffer_->pubseekoff(0, std::ios_base::end, in);
  if (here == std::streampos(-1) || end == std::streampos(-1))
    throw NotSeekable(L"measuring the data that remains needs a stream that can seek");
  if (buffer_->pubseekpos(here, in) != here) throw BadBuffer(L"the stream lost its position");
  return end > here ? static_cast<uint64_t>(end - here) : 0;
}
