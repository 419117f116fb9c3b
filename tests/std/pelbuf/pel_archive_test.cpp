#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "pel_test_util.h"
#include "std/pelbuf/pel_range16.h"
#include "test_util.h"

namespace {

template <class... Values>
void archiveAll(lcArchive& archive, Values&... values) {
  (values.archive(archive), ...);
}

template <class T>
void expectSameBuffer(const lcPelBuffer<T>& loaded, const lcPelBuffer<T>& stored) {
  EXPECT_EQ(loaded.window(), stored.window());
  EXPECT_EQ(loaded.bufferRect(), stored.bufferRect());
  EXPECT_EQ(loaded.linearXform(), stored.linearXform());
  const lcPelRoot<T>&a = loaded.root(), &b = stored.root();
  ASSERT_EQ(std::pair(a.width(), a.height()), std::pair(b.width(), b.height()));
  for (int32_t y = 0; y < a.height(); ++y)
    for (int32_t x = 0; x < a.width(); ++x)
      ASSERT_EQ(a.base()[y * a.pitch() + x], b.base()[y * b.pitch() + x]);
}

TEST(PelArchive, BuffersComeBackWithWindowOffsetTransformPixelsAndSharing) {
  for (auto order :
       {lcArchive::ByteOrder::LeastSignificantFirst, lcArchive::ByteOrder::MostSignificantFirst}) {
    lcPelBuffer<uint16_t> pels = numbered<uint16_t>(7, 5, -4, 9);
    lcPelBuffer<double> reals = numbered<double>(3, 2, 1, 1);
    lcPelBufferRange16 range(pels, numbered<uint8_t>(7, 5, -4, 9), {10, 4095});
    range.setWindow(1, 0, 2, 3);
    EXPECT_THROW(lcPelBufferRange16(pels, range.mask()),
                 lcPelBufferRange16Defs::MaskWindowMismatch);
    pels.setWindow(1, 2, 4, 3);
    lcPelBuffer<uint8_t> unbound;
    unbound.setOffset(5, 6);

    lcMemoryArchive archive(order);
    archiveAll(archive, pels, reals, range, unbound);
    lcMemoryArchive loading(archive.bytes(), order);
    lcPelBuffer<uint16_t> pelsBack;
    lcPelBuffer<double> realsBack;
    lcPelBufferRange16 rangeBack;
    lcPelBuffer<uint8_t> unboundBack = range.mask();
    archiveAll(loading, pelsBack, realsBack, rangeBack, unboundBack);

    expectSameBuffer(pelsBack, pels);
    expectSameBuffer(realsBack, reals);
    expectSameBuffer(rangeBack.pels(), range.pels());
    expectSameBuffer(rangeBack.mask(), range.mask());
    EXPECT_EQ(rangeBack.range(), (lcValueRange16{10, 4095}));
    EXPECT_TRUE(rangeBack.pels().sharesRootWith(pelsBack));  // stored once, shared again
    EXPECT_FALSE(unboundBack.isBound());
    EXPECT_EQ(unboundBack.bufferRect(), (lcPelRect{5, 6, 5, 6}));
  }
}

TEST(PelArchive, DamagedArchivesAreRefusedBeforeAllocatingAndChangeNothing) {
  lcPelBuffer<uint16_t> pels = numbered<uint16_t>(6, 4, 0, 0);
  lcMemoryArchive storing;
  pels.archive(storing);
  const std::vector<uint8_t> bytes = storing.bytes();
  const lcPelBuffer<uint16_t> target = numbered<uint16_t>(2, 2, 5, 5);
  auto loadInto = [&](const std::vector<uint8_t>& damaged) {
    lcPelBuffer<uint16_t> loaded = target;
    lcMemoryArchive archive(damaged);
    const uint32_t code = thrownCode([&] { loaded.archive(archive); });
    EXPECT_EQ(loaded.rootHandle(), target.rootHandle());
    EXPECT_EQ(loaded.bufferRect(), target.bufferRect());
    return code;
  };
  for (std::size_t length = 0; length < bytes.size(); ++length)
    ASSERT_NE(loadInto({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)}), 0u)
        << length;

  // The root's width and height follow its class name and its version.
  const std::string name = "lcPelRoot16u";
  const auto at = static_cast<std::size_t>(
      std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) - bytes.begin() + 16);
  auto withRootSize = [&](uint32_t width, uint32_t height) {
    std::vector<uint8_t> damaged = bytes;
    for (std::size_t i = 0; i < 4; ++i) {
      damaged[at + i] = static_cast<uint8_t>(width >> (8 * i));
      damaged[at + 4 + i] = static_cast<uint8_t>(height >> (8 * i));
    }
    return damaged;
  };
  EXPECT_EQ(loadInto(withRootSize(0x7fffffff, 0x7fffffff)), lcArchive::Eof::kCode);
  EXPECT_EQ(loadInto(withRootSize(7, 4)), lcArchive::Eof::kCode);
  EXPECT_EQ(loadInto(withRootSize(0, 4)), lcArchive::BadContent::kCode);
  EXPECT_EQ(loadInto(withRootSize(3, 8)), lcArchive::BadContent::kCode);  // window outside

  lcPelBuffer<uint8_t> otherType;
  lcMemoryArchive archive(bytes);
  EXPECT_THROW(otherType.archive(archive), lcArchive::BadType);
}

}  // namespace
