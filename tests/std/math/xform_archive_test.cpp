#include <gtest/gtest.h>

#include <random>

#include "std/archive/memory_archive.h"
#include "std/math/xform_composed.h"
#include "std/math/xform_linear_object.h"
#include "test_util.h"
#include "wave_xform.h"

namespace {

using ByteOrder = lcArchive::ByteOrder;

const lc2XformLinear kA(lc2Matrix(2, 0.5, -1, 3), {5, -7});
const lc2XformLinear kB(lc2Matrix(0, 1, -1, 0), {0.25, 4});

// A chain that reaches one linear transform twice, and a lone linear transform.
std::vector<lc2XformHandle> sample() {
  const lc2XformHandle shared = lcMakeXform(kA);
  return {lcMakeHandle<lc2XformComposed>(
              std::vector<lc2XformHandle>{shared, lcMakeHandle<WaveXform>(0.5), shared}),
          lcMakeXform(kB)};
}

std::vector<lc2XformHandle> load(const std::vector<uint8_t>& bytes,
                                 ByteOrder order = ByteOrder::LeastSignificantFirst) {
  lcMemoryArchive archive(bytes, order);
  std::vector<lc2XformHandle> xforms;
  archive.transfer(xforms);
  return xforms;
}

const lc2XformLinear& linearValue(const lc2XformHandle& xform) {
  return dynamic_cast<const lc2XformLinearObject&>(*xform).value();
}

TEST(Xform2Archive, TransformsSurviveArchivingInBothByteOrders) {
  for (ByteOrder order : {ByteOrder::LeastSignificantFirst, ByteOrder::MostSignificantFirst}) {
    std::vector<lc2XformHandle> stored = sample();
    const auto loaded = load(storedBytes([&](lcArchive& a) { a.transfer(stored); }, order), order);
    ASSERT_EQ(loaded.size(), 2u);
    const auto& list = dynamic_cast<const lc2XformComposed&>(*loaded[0]).list();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], list[2]);  // shared when stored, shared again
    EXPECT_EQ(linearValue(list[0]), kA);
    EXPECT_EQ(dynamic_cast<const WaveXform&>(*list[1]).amplitude(), 0.5);
    EXPECT_EQ(linearValue(loaded[1]), kB);
  }
}

TEST(Xform2Archive, LinearTransformsStoreTranslationThenMatrixEachWithItsVersion) {
  std::vector<uint8_t> bytes = storedBytes([](lcArchive& a) {
    lc2XformHandle xform = lcMakeXform(kA);
    a.transfer(xform);
  });
  uint8_t tag = 0;
  std::string name;
  uint32_t xformVersion = 0, vectorVersion = 0, matrixVersion = 0;
  double tx = 0, ty = 0, a = 0, b = 0, c = 0, d = 0, det = 0;
  lcMemoryArchive reader(bytes);
  reader.transfer(tag);
  reader.transfer(name);
  reader.transfer(xformVersion);
  reader.transfer(vectorVersion);
  reader.transfer(tx);
  reader.transfer(ty);
  reader.transfer(matrixVersion);
  for (double* value : {&a, &b, &c, &d, &det})
    reader.transfer(*value);
  EXPECT_EQ(reader.bytesLeft(), 0u);
  EXPECT_EQ(tag, 1);
  EXPECT_EQ(name, "lc2XformLinear");
  EXPECT_EQ(xformVersion + vectorVersion + matrixVersion, 3u);
  EXPECT_EQ((std::vector{tx, ty, a, b, c, d, det}),
            (std::vector<double>{5, -7, 2, 0.5, -1, 3, 6.5}));

  // A stored determinant that disagrees with the elements is replaced on loading.
  bytes.resize(bytes.size() - 8);
  lcMemoryArchive tail;
  double wrongDet = 6.5000000001;
  tail.transfer(wrongDet);
  const std::vector<uint8_t> detBytes = tail.bytes();
  bytes.insert(bytes.end(), detBytes.begin(), detBytes.end());
  lcMemoryArchive loading(bytes);
  lc2XformHandle loaded;
  loading.transfer(loaded);
  EXPECT_EQ(linearValue(loaded).matrix().det(), 6.5);
}

TEST(Xform2Archive, AnUnknownVersionNamesItsSource) {
  const std::string linear = "lc2XformLinear";
  struct Case {
    const char* source;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"xflinear", storedBytes([&](lcArchive& a) { put(a, uint8_t{1}, linear, 2u); })},
      {"xflinear", storedBytes([&](lcArchive& a) { put(a, uint8_t{1}, linear, 0u); })},
      {"vector", storedBytes([&](lcArchive& a) { put(a, uint8_t{1}, linear, 1u, 2u); })},
      {"matrix",
       storedBytes([&](lcArchive& a) { put(a, uint8_t{1}, linear, 1u, 1u, 0.0, 0.0, 9u); })},
      {"xfcomp",
       storedBytes([](lcArchive& a) { put(a, uint8_t{1}, std::string("lc2XformComposed"), 2u); })},
  };
  for (const Case& c : cases) {
    try {
      lcMemoryArchive archive(c.bytes);
      lc2XformHandle xform;
      archive.transfer(xform);
      ADD_FAILURE() << c.source << ": loaded";
    } catch (const lcArchive::UnknownVersion& e) {
      EXPECT_EQ(e.source(), c.source);
    }
  }
}

// Damaged archives either load or throw a core exception; nothing else may happen.
TEST(Xform2Archive, DamagedArchivesFailCleanly) {
  std::vector<lc2XformHandle> stored = sample();
  const std::vector<uint8_t> whole = storedBytes([&](lcArchive& a) { a.transfer(stored); });
  for (std::size_t size = 0; size < whole.size(); ++size)
    EXPECT_THROW(load({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)}),
                 lcArchive::Eof)
        << "size " << size;

  std::mt19937 random(12345);
  std::uniform_int_distribution<std::size_t> position(0, whole.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255), flips(1, 4);
  int loaded = 0;
  for (int variant = 0; variant < 4000; ++variant) {
    std::vector<uint8_t> damaged = whole;
    for (int n = flips(random); n > 0; --n)
      damaged[position(random)] = static_cast<uint8_t>(byte(random));
    try {
      for (const lc2XformHandle& xform : load(damaged))
        xform->mapPoint({1, 2});
      ++loaded;
    } catch (const lcException&) {
    }
  }
  EXPECT_GT(loaded, 0);  // damage to the doubles alone still loads
}

}  // namespace
