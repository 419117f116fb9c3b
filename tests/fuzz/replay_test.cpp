// Every fuzz target's seed corpus and every input that once crashed a loader
// (regressions/<target>/), run through the target's entry point in the normal suite, so
// that the sanitizer build checks them too.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

// The fuzz targets' entry points, renamed when built into this test.
extern "C" int fuzzCoreArchive(const uint8_t* data, std::size_t size);
extern "C" int fuzzPersistBinary(const uint8_t* data, std::size_t size);
extern "C" int fuzzPersistText(const uint8_t* data, std::size_t size);
extern "C" int fuzzImageFile(const uint8_t* data, std::size_t size);
extern "C" int fuzzDispatch(const uint8_t* data, std::size_t size);

namespace {

struct Target {
  const char* name;
  int (*run)(const uint8_t*, std::size_t);
};

class FuzzInputs : public ::testing::TestWithParam<Target> {};

TEST_P(FuzzInputs, EverySeedAndFormerCrashLoadsCleanly) {
  const std::filesystem::path root = LUMXIP_FUZZ_DIR;
  int inputs = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const auto folder = root / kind / GetParam().name;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
      std::ifstream in(file.path(), std::ios::binary);
      const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
      SCOPED_TRACE(file.path().string());
      EXPECT_EQ(GetParam().run(bytes.data(), bytes.size()), 0);
      ++inputs;
    }
  }
  EXPECT_GT(inputs, 0) << "no seed corpus for " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(EveryTarget, FuzzInputs,
                         ::testing::Values(Target{"core_archive", fuzzCoreArchive},
                                           Target{"persist_binary", fuzzPersistBinary},
                                           Target{"persist_text", fuzzPersistText},
                                           Target{"image_file", fuzzImageFile},
                                           Target{"dispatch", fuzzDispatch}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
