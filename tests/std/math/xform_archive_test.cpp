#include <gtest/gtest.h>

#include <random>

#include "std/math/xform_composed.h"
#include "std/math/xform_linear_object.h"
#include "test_util.h"
#include "wave_xform.h"

namespace {

using ByteOrder = lcArchive::ByteOrder;
using Bytes = std::vector<uint8_t>;
using List = std::vector<lc2XformHandle>;

const lc2XformLinear kA(lc2Matrix(2, 0.5, -1, 3), {5, -7});
const std::string kLinear = "lc2XformLinear", kChain = "lc2XformComposed";
constexpr uint8_t kNew = 1, kReference = 2;

// A chain that reaches one linear transform twice, and a lone linear transform.
List sample() {
  const lc2XformHandle shared = lcMakeXform(kA);
  return {lcMakeHandle<lc2XformComposed>(List{shared, lcMakeHandle<WaveXform>(0.5), shared}),
          lcMakeXform(kA.inverse())};
}

template <class T>
T load(const Bytes& bytes, ByteOrder order = ByteOrder::LeastSignificantFirst) {
  lcMemoryArchive archive(bytes, order);
  T loaded;
  archive.transfer(loaded);
  return loaded;
}

const lc2XformLinear& valueOf(const lc2XformHandle& xform) {
  return dynamic_cast<const lc2XformLinearObject&>(*xform).value();
}

TEST(Xform2Archive, TransformsSurviveArchivingInBothByteOrdersAndStayShared) {
  for (ByteOrder order : {ByteOrder::LeastSignificantFirst, ByteOrder::MostSignificantFirst}) {
    const List loaded = load<List>(bytesOf(order, sample()), order);
    ASSERT_EQ(loaded.size(), 2u);
    const List& chain = dynamic_cast<const lc2XformComposed&>(*loaded[0]).list();
    ASSERT_EQ(chain.size(), 3u);
    EXPECT_EQ(chain[0], chain[2]);
    EXPECT_EQ(valueOf(chain[0]), kA);
    EXPECT_EQ(dynamic_cast<const WaveXform&>(*chain[1]).amplitude(), 0.5);
    EXPECT_EQ(valueOf(loaded[1]), kA.inverse());
  }
}

TEST(Xform2Archive, ALinearTransformIsTranslationThenMatrixWithTheDeterminantRecomputed) {
  const auto layout = [](double det) {
    return bytesOf(uint32_t{1}, kNew, kLinear, 1u, 1u, 5.0, -7.0, 1u, 2.0, 0.5, -1.0, 3.0, det);
  };
  EXPECT_EQ(bytesOf(List{lcMakeXform(kA)}), layout(6.5));
  const lc2XformLinear loaded = valueOf(load<List>(layout(6.5000001)).at(0));
  EXPECT_EQ(loaded, kA);
  EXPECT_EQ(loaded.matrix().det(), 6.5);
}

TEST(Xform2Archive, RefusesUnknownVersionsNamingTheirSourceAndMalformedObjects) {
  Bytes tooDeep;
  for (int depth = 0; depth <= lcArchive::kMaxObjectDepth; ++depth) {
    const Bytes level = bytesOf(kNew, kChain, 1u, 1u);
    tooDeep.insert(tooDeep.end(), level.begin(), level.end());
  }
  constexpr uint32_t kBadContent = lcArchive::BadContent::kCode;
  struct Case {
    Bytes bytes;
    std::string source;  // of an UnknownVersion; empty for the other errors
    uint32_t code = lcArchive::UnknownVersion::kCode;
  };
  for (const Case& c :
       {Case{bytesOf(kNew, kLinear, 2u), "xflinear"}, Case{bytesOf(kNew, kLinear, 0u), "xflinear"},
        Case{bytesOf(kNew, kLinear, 1u, 2u), "vector"},
        Case{bytesOf(kNew, kLinear, 1u, 1u, 0.0, 0.0, 9u), "matrix"},
        Case{bytesOf(kNew, kChain, 2u), "xfcomp"},
        Case{bytesOf(kNew, std::string("no.such")), "", lcArchive::UnknownType::kCode},
        Case{bytesOf(uint8_t{3}), "", kBadContent},
        Case{bytesOf(kReference, 0u), "", kBadContent},                        // nothing read yet
        Case{bytesOf(kNew, kChain, 1u, 1u, kReference, 0u), "", kBadContent},  // itself
        Case{bytesOf(kNew, kChain, 1u, 1u, uint8_t{0}), "", kBadContent},      // empty handle
        Case{tooDeep, "", kBadContent},
        Case{bytesOf(kNew, kLinear, 1u, 1u, 0.0, 0.0, 1u, 1.0, 0.0, 0.0, 1.0, 1.0), "",
             lcArchive::BadType::kCode}}) {  // read below as a WaveXform
    try {
      load<lcPtrHandle<WaveXform>>(c.bytes);
      ADD_FAILURE() << "loaded: " << c.source << " " << c.code;
    } catch (const lcArchive::UnknownVersion& e) {
      EXPECT_EQ(e.source(), c.source);
    } catch (const lcException& e) {
      EXPECT_EQ(e.errorCode(), c.code) << c.source;
    }
  }
}

// Damaged archives either load or throw a core exception; nothing else may happen.
TEST(Xform2Archive, DamagedArchivesFailCleanly) {
  const Bytes whole = bytesOf(sample());
  for (std::size_t size = 0; size < whole.size(); ++size)
    EXPECT_THROW(load<List>(Bytes(whole.begin(), whole.begin() + static_cast<long>(size))),
                 lcArchive::Eof);

  std::mt19937 random(12345);
  std::uniform_int_distribution<std::size_t> position(0, whole.size() - 1);
  std::uniform_int_distribution<int> byte(0, 255), flips(1, 4);
  for (int variant = 0; variant < 4000; ++variant) {
    Bytes damaged = whole;
    for (int n = flips(random); n > 0; --n)
      damaged[position(random)] = static_cast<uint8_t>(byte(random));
    try {
      for (const lc2XformHandle& xform : load<List>(damaged))
        xform->mapPoint({1, 2});
    } catch (const lcException&) {
    }
  }
}

// Chains nested inside chains, each reaching the one below twice: a few bytes that would
// apply 2^levels transforms to every point. The longest allowed chain still loads.
TEST(Xform2Archive, RefusesChainsLongerThanTheLimitHoweverTheyAreShared) {
  auto nested = [](int levels) {
    lc2XformHandle xform = lcMakeXform(kA);
    for (int level = 0; level < levels; ++level)
      xform = lcMakeHandle<lc2XformComposed>(List{xform, xform});
    return xform;
  };
  static_assert(lc2XformComposed::kMaxLength == 4096);
  const auto longest = load<lc2XformHandle>(bytesOf(nested(12)));
  EXPECT_EQ(dynamic_cast<const lc2XformComposed&>(*longest).length(), 4096u);
  EXPECT_THROW(load<lc2XformHandle>(bytesOf(nested(13))), lcArchive::BadContent);
  EXPECT_THROW(load<lc2XformHandle>(bytesOf(nested(60))), lcArchive::BadContent);
}

}  // namespace
