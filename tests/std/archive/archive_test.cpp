#include "std/archive/archive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "std/archive/memory_archive.h"
#include "std/pelbuf/pel_errors.h"
#include "test_util.h"

// The largest single allocation made while `trackAllocations` is set, to show that a
// size read from an archive is checked before anything is allocated for it.
namespace {
std::atomic<bool> trackAllocations{false};
std::atomic<std::size_t> largestAllocation{0};
}  // namespace

// Not inlined, so that the compiler does not pair new and free across the call.
[[gnu::noinline]] void* operator new(std::size_t size) {
  if (trackAllocations && size > largestAllocation) largestAllocation = size;
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* memory) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace {

using ByteOrder = lcArchive::ByteOrder;

struct Values {
  uint8_t u8 = 0;
  uint32_t u32 = 0;
  int32_t i32 = 0;
  uint64_t u64 = 0;
  double f64 = 0.0;
  std::string text;
};

// One routine both stores and loads, as every archived class does.
void transferAll(lcArchive& archive, Values& v) {
  archive.transfer(v.u8);
  archive.transfer(v.u32);
  archive.transfer(v.i32);
  archive.transfer(v.u64);
  archive.transfer(v.f64);
  archive.transfer(v.text);
}

const Values kValues{0xAB, 0x01020304, -2, 0x0102030405060708, 1.0, "ab"};

struct ByteOrderCase {
  ByteOrder order;
  std::vector<uint8_t> bytes;
};
const ByteOrderCase kByteOrderCases[] = {
    {ByteOrder::LeastSignificantFirst,
     {0xAB, 4, 3, 2, 1, 0xFE, 0xFF, 0xFF, 0xFF, 8, 7, 6, 5, 4,   3,  2,
      1,    0, 0, 0, 0, 0,    0,    0xF0, 0x3F, 2, 0, 0, 0, 'a', 'b'}},
    {ByteOrder::MostSignificantFirst,
     {0xAB, 1,    2,    3, 4, 0xFF, 0xFF, 0xFF, 0xFE, 1, 2, 3, 4, 5,   6,  7,
      8,    0x3F, 0xF0, 0, 0, 0,    0,    0,    0,    0, 0, 0, 2, 'a', 'b'}},
};

TEST(Archive, MovesValuesInTheOrderOfItsByteOrderFlag) {
  for (const ByteOrderCase& c : kByteOrderCases) {
    Values stored = kValues;
    EXPECT_EQ(storedBytes([&](lcArchive& a) { transferAll(a, stored); }, c.order), c.bytes);

    lcMemoryArchive archive(c.bytes, c.order);
    Values loaded;
    transferAll(archive, loaded);
    EXPECT_EQ(loaded.u32, kValues.u32);
    EXPECT_EQ(loaded.i32, kValues.i32);
    EXPECT_EQ(loaded.u64, kValues.u64);
    EXPECT_EQ(loaded.f64, kValues.f64);
    EXPECT_EQ(loaded.text, kValues.text);
    EXPECT_EQ(archive.bytesLeft(), 0u);
  }
}

TEST(Archive, EveryTruncationThrowsEof) {
  const std::vector<uint8_t>& whole = kByteOrderCases[0].bytes;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    lcMemoryArchive archive{std::span(whole).first(size)};
    Values loaded;
    EXPECT_THROW(transferAll(archive, loaded), lcArchive::Eof) << "size " << size;
  }
}

TEST(Archive, ACountLargerThanTheDataLeftIsRefusedBeforeAllocating) {
  const std::vector<uint8_t> bytes = {0xF0, 0xFF, 0xFF, 0x7F, 'a', 'b', 'c'};
  lcMemoryArchive archive(bytes);
  std::string text;
  largestAllocation = 0;
  trackAllocations = true;
  EXPECT_THROW(archive.transfer(text), lcArchive::Eof);
  trackAllocations = false;
  EXPECT_LT(largestAllocation, 4096u);

  // count * minBytesEach against what remains, at the boundary.
  struct Case {
    uint32_t count;
    uint64_t minBytesEach;
    std::size_t bytesLeft;
    bool accepted;
  };
  for (const Case c : {Case{2, 8, 16, true}, Case{2, 8, 15, false}, Case{0xFFFFFFFF, 2, 64, false},
                       Case{7, 0, 0, true}}) {
    std::vector<uint8_t> data = storedBytes([&](lcArchive& a) { put(a, c.count); });
    data.resize(data.size() + c.bytesLeft);
    lcMemoryArchive loading(data);
    uint64_t count = 0;
    EXPECT_EQ(thrownCode([&] { loading.transferCount(count, c.minBytesEach); }),
              c.accepted ? 0u : lcArchive::Eof::kCode);
  }
}

// A stream over fixed bytes that cannot seek.
class ForwardOnlyBuffer : public std::streambuf {
 public:
  explicit ForwardOnlyBuffer(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {
    char* begin = reinterpret_cast<char*>(bytes_.data());
    setg(begin, begin, begin + bytes_.size());
  }

 private:
  std::vector<uint8_t> bytes_;
};

TEST(Archive, StreamFailuresHaveTheirOwnErrors) {
  // A stream that takes no bytes.
  std::stringbuf readOnly(std::ios_base::in);
  lcArchive storing(readOnly, lcArchive::Direction::Storing);
  EXPECT_THROW(put(storing, uint32_t{1}), lcArchive::BadBuffer);

  // Fixed-size values need no seeking; a string's size has to be measured against the rest.
  ForwardOnlyBuffer forward(
      storedBytes([](lcArchive& a) { put(a, uint32_t{5}, std::string("x")); }));
  lcArchive loading(forward, lcArchive::Direction::Loading);
  uint32_t five = 0;
  loading.transfer(five);
  EXPECT_EQ(five, 5u);
  std::string text;
  EXPECT_THROW(loading.transfer(text), lcArchive::NotSeekable);
}

TEST(Archive, RefusesArchiveVersionsItCannotHandle) {
  using Direction = lcArchive::Direction;
  struct Case {
    Direction direction;
    uint32_t version;
    uint32_t code;
  };
  for (const Case c : {Case{Direction::Loading, 1, 0}, Case{Direction::Storing, 1, 0},
                       Case{Direction::Loading, 0, lcArchive::UnknownArchiveVersion::kCode},
                       Case{Direction::Loading, 2, lcArchive::UnknownArchiveVersion::kCode},
                       Case{Direction::Storing, 2, lcArchive::UnknownArchiveVersion::kCode}}) {
    std::stringbuf buffer;
    EXPECT_EQ(thrownCode([&] {
                lcArchive(buffer, c.direction, ByteOrder::LeastSignificantFirst, c.version);
              }),
              c.code);
  }
}

TEST(Archive, ExceptionsArchiveTheirVersion) {
  lcPel::BadWindow error;
  EXPECT_EQ(storedBytes([&](lcArchive& a) { error.archive(a); }),
            (std::vector<uint8_t>{1, 0, 0, 0}));
  lcMemoryArchive newer(std::vector<uint8_t>{2, 0, 0, 0});
  try {
    error.archive(newer);
    FAIL() << "version 2 was accepted";
  } catch (const lcArchive::UnknownVersion& e) {
    EXPECT_EQ(e.source(), "exception");
  }
}

}  // namespace
