#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "std/math/xform_linear_object.h"
#include "std/pelbuf/pel_range16.h"
#include "test_util.h"

namespace {

const lc2XformLinear kXform(lc2Matrix(0, 2, -1, 0.5), {7.25, -3});

template <class T>
lcPelBuffer<T> filledBuffer(int32_t width, int32_t height, T (*value)(int32_t, int32_t)) {
  lcPelBuffer<T> buffer;
  buffer.allocate(width, height, -4, 9);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      *buffer.pelAddress(x - 4, y + 9) = value(x, y);
  buffer.setXform(lc2XformCache(lcMakeXform(kXform)));
  return buffer;
}

template <class T>
void expectSameBuffer(const lcPelBuffer<T>& loaded, const lcPelBuffer<T>& stored) {
  EXPECT_EQ(loaded.window(), stored.window());
  EXPECT_EQ(loaded.bufferRect(), stored.bufferRect());
  EXPECT_EQ(loaded.linearXform(), stored.linearXform());
  const lcPelRoot<T>& root = loaded.root();
  ASSERT_EQ(root.width(), stored.root().width());
  ASSERT_EQ(root.height(), stored.root().height());
  for (int32_t y = 0; y < root.height(); ++y)
    for (int32_t x = 0; x < root.width(); ++x)
      ASSERT_EQ(root.base()[y * root.pitch() + x],
                stored.root().base()[y * stored.root().pitch() + x]);
}

template <class Value>
std::vector<uint8_t> stored(Value& value, lcArchive::ByteOrder order) {
  lcMemoryArchive archive(order);
  value.archive(archive);
  return archive.bytes();
}

TEST(PelArchive, BuffersComeBackWithWindowOffsetTransformAndPixels) {
  for (auto order :
       {lcArchive::ByteOrder::LeastSignificantFirst, lcArchive::ByteOrder::MostSignificantFirst}) {
    lcPelBuffer<uint16_t> pels = filledBuffer<uint16_t>(
        7, 5, [](int32_t x, int32_t y) { return static_cast<uint16_t>(1000 * y + x + 0xab00); });
    pels.setWindow(1, 2, 4, 3);
    lcPelBuffer<double> reals =
        filledBuffer<double>(3, 2, [](int32_t x, int32_t y) { return x - y / 3.0; });
    lcPelBuffer<uint8_t> unbound;
    unbound.setOffset(5, 6);

    lcMemoryArchive archive(order);
    pels.archive(archive);
    reals.archive(archive);
    unbound.archive(archive);
    pels.archive(archive);  // the root again: loaded shared
    lcMemoryArchive loading(archive.bytes(), order);
    lcPelBuffer<uint16_t> pelsBack, pelsAgain;
    lcPelBuffer<double> realsBack;
    lcPelBuffer<uint8_t> unboundBack =
        filledBuffer<uint8_t>(2, 2, [](int32_t, int32_t) { return uint8_t{0}; });
    pelsBack.archive(loading);
    realsBack.archive(loading);
    unboundBack.archive(loading);
    pelsAgain.archive(loading);
    expectSameBuffer(pelsBack, pels);
    expectSameBuffer(realsBack, reals);
    EXPECT_FALSE(unboundBack.isBound());
    EXPECT_EQ(unboundBack.bufferRect(), (lcPelRect{5, 6, 5, 6}));
    EXPECT_TRUE(pelsAgain.sharesRootWith(pelsBack));
  }
}

TEST(PelArchive, RangeBuffersKeepMaskAndRange) {
  lcPelBuffer<uint16_t> pels = filledBuffer<uint16_t>(
      4, 3, [](int32_t x, int32_t y) { return static_cast<uint16_t>(4 * y + x); });
  lcPelBuffer<uint8_t> mask = filledBuffer<uint8_t>(
      4, 3, [](int32_t x, int32_t y) { return static_cast<uint8_t>((x + y) % 2 * 255); });
  lcPelBufferRange16 range(pels, mask, {10, 4095});
  range.setWindow(1, 0, 2, 3);
  const std::vector<uint8_t> bytes = stored(range, lcArchive::ByteOrder::LeastSignificantFirst);
  lcMemoryArchive loading(bytes);
  lcPelBufferRange16 back;
  back.archive(loading);
  expectSameBuffer(back.pels(), range.pels());
  expectSameBuffer(back.mask(), range.mask());
  EXPECT_EQ(back.range(), (lcValueRange16{10, 4095}));
}

TEST(PelArchive, DamagedArchivesAreRefusedAndLeaveTheBufferAsItWas) {
  lcPelBuffer<uint16_t> pels =
      filledBuffer<uint16_t>(6, 4, [](int32_t x, int32_t) { return static_cast<uint16_t>(x); });
  const std::vector<uint8_t> bytes = stored(pels, lcArchive::ByteOrder::LeastSignificantFirst);
  const lcPelBuffer<uint16_t> target =
      filledBuffer<uint16_t>(2, 2, [](int32_t, int32_t) { return uint16_t{9}; });
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

  // The root's width and height follow its class name and version.
  const std::string name = "lcPelRoot16u";
  const auto size = std::search(bytes.begin(), bytes.end(), name.begin(), name.end()) +
                    static_cast<std::ptrdiff_t>(name.size() + 4);
  auto withRootSize = [&](uint32_t width, uint32_t height) {
    std::vector<uint8_t> damaged = bytes;
    const auto at = static_cast<std::size_t>(size - bytes.begin());
    for (int i = 0; i < 4; ++i) {
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
