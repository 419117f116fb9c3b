#include "std/archive/archive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "std/pelbuf/pel_errors.h"
#include "test_util.h"

// The largest allocation since it was last reset, to show that a count read from an
// archive is checked before anything is allocated for it. Not inlined, so that the
// compiler does not pair new and free across the call.
static std::atomic<std::size_t> largestAllocation{0};
[[gnu::noinline]] void* operator new(std::size_t size) {
  if (size > largestAllocation) largestAllocation = size;
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

TEST(Archive, MovesValuesInItsByteOrder) {
  const std::pair<ByteOrder, std::vector<uint8_t>> cases[] = {
      {ByteOrder::LeastSignificantFirst,
       {0xAB, 0xFE, 0xFF, 0xFF, 0xFF, 8,    7,    6, 5, 4, 3, 2,   1,  0,
        0,    0,    0,    0,    0,    0xF0, 0x3F, 2, 0, 0, 0, 'a', 'b'}},
      {ByteOrder::MostSignificantFirst,
       {0xAB, 0xFF, 0xFF, 0xFF, 0xFE, 1, 2, 3, 4, 5, 6, 7,   8,  0x3F,
        0xF0, 0,    0,    0,    0,    0, 0, 0, 0, 0, 2, 'a', 'b'}},
  };
  for (const auto& [order, bytes] : cases) {
    EXPECT_EQ(bytesOf(order, uint8_t{0xAB}, int32_t{-2}, uint64_t{0x0102030405060708}, 1.0,
                      std::string("ab")),
              bytes);
    lcMemoryArchive loading(bytes, order);
    uint8_t u8 = 0;
    int32_t i32 = 0;
    uint64_t u64 = 0;
    double f64 = 0;
    std::string text;
    transferAll(loading, u8, i32, u64, f64, text);
    EXPECT_EQ(std::tuple(u8, i32, u64, f64, text),
              std::tuple(0xAB, -2, 0x0102030405060708u, 1.0, "ab"));
  }
}

TEST(Archive, ACountLargerThanTheDataLeftIsRefusedBeforeAllocating) {
  for (const auto& [count, code] :
       {std::pair{4u, 0u}, {5u, lcArchive::Eof::kCode}, {0x7FFFFFF0u, lcArchive::Eof::kCode}}) {
    lcMemoryArchive archive(bytesOf(count, 0u));  // four bytes after the count
    std::string text;
    largestAllocation = 0;
    EXPECT_EQ(thrownCode([&] { archive.transfer(text); }), code) << count;
    EXPECT_LT(largestAllocation, 1024u);
  }
}

TEST(Archive, RefusesStreamsAndVersionsItCannotUse) {
  std::stringbuf readOnly(std::ios_base::in);
  lcArchive storing(readOnly, lcArchive::Direction::Storing);
  uint32_t value = 1;
  EXPECT_THROW(storing.transfer(value), lcArchive::BadBuffer);
  for (uint32_t version : {0u, 2u})
    EXPECT_THROW(lcArchive(readOnly, lcArchive::Direction::Loading,
                           ByteOrder::LeastSignificantFirst, version),
                 lcArchive::UnknownArchiveVersion);

  // An exception archives its version and nothing else.
  lcPel::BadWindow error;
  lcMemoryArchive stored;
  error.archive(stored);
  EXPECT_EQ(stored.bytes(), bytesOf(1u));
  lcMemoryArchive newer(bytesOf(2u));
  EXPECT_THROW(error.archive(newer), lcArchive::UnknownVersion);
}

}  // namespace
