#include "std/except/string_resources.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "lumxip/platform.h"

namespace {

namespace fs = std::filesystem;

// Sets environment variables for one test and restores them after.
class ScopedEnvironment {
 public:
  void set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
      it->second ? setenv(it->first, it->second->c_str(), 1) : unsetenv(it->first);
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

class RecordingSink final : public lum::EventLogSink {
 public:
  void write(lum::EventType, std::wstring_view source, std::wstring_view message) override {
    entries.push_back(std::wstring(source) + L"|" + std::wstring(message));
  }
  std::vector<std::wstring> entries;
};

class StringResources : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumxip-resources-" + std::to_string(getpid()));
    fs::create_directories(dir_);
    env_.set("LUMXIP_RESOURCE_DIR", dir_.c_str());
    env_.set("LC_ALL", nullptr);
    env_.set("LC_MESSAGES", nullptr);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  ScopedEnvironment env_;
};

TEST_F(StringResources, LanguageCodeComesFromTheEnvironment) {
  const std::pair<const char*, const char*> cases[] = {
      {"de_DE.UTF-8", "DEU"}, {"fr_CA", "FRA"}, {"en_GB.UTF-8", "ENU"},
      {"C", "ENU"},           {"", "ENU"},      {"xx_YY", "ENU"},
  };
  for (const auto& [lang, code] : cases) {
    env_.set("LANG", lang);
    EXPECT_EQ(userLanguageCode(), code) << lang;
  }
}

TEST_F(StringResources, UserLanguageFileFirstThenEnglish) {
  env_.set("LANG", "de_DE.UTF-8");
  std::ofstream(dir_ / "lumxcoreDEU.res") << "# German\n1\tkeine weiteren Angaben\n0x2\tInterner "
                                             "Fehlercode: \xc3\xbc\nbad line\n";
  const auto german = lcStringResources::load(kCoreResourceBase);
  EXPECT_EQ(german.languageCode(), "DEU");
  EXPECT_EQ(german.text(lcTextNoFurtherInformation), L"keine weiteren Angaben");
  EXPECT_EQ(german.text(lcTextInternalErrorCode), L"Interner Fehlercode: \u00fc");
  EXPECT_EQ(german.text(99), L"");

  fs::remove(dir_ / "lumxcoreDEU.res");
  const auto english = lcStringResources::load(kCoreResourceBase);  // compiled-in
  EXPECT_EQ(english.languageCode(), "ENU");
  EXPECT_EQ(english.text(lcTextNoFurtherInformation), L"no further information provided");
}

TEST_F(StringResources, NoResourceWritesOneEventAndThrows) {
  env_.set("LANG", "it_IT.UTF-8");
  auto sink = std::make_shared<RecordingSink>();
  auto previous = lum::setEventLogSink(sink);
  try {
    lcStringResources::load("lumxextra");
    ADD_FAILURE() << "loading should fail";
  } catch (const lcStringLiteral::BadParams& e) {
    EXPECT_EQ(e.messageText(),
              L"Unable to load resource dll for current language (lumxextraITA.dll)");
  }
  lum::setEventLogSink(previous);
  ASSERT_EQ(sink->entries.size(), 1u);
  EXPECT_EQ(sink->entries[0],
            L"Halvex|Can't load string resources: " + (dir_ / "lumxextraENU.res").wstring());
}

}  // namespace
