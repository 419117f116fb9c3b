// The registry file: what registering the libraries writes, what unregistering takes
// away, creation from another process, and damaged files. Each test has a file of its own
// (ctest runs test cases as parallel processes).

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "lumxip/HalvexImageProcessing.h"
#include "platform/module_loader.h"
#include "platform/registry_file.h"
#include "support/error_info_probe.h"

namespace {

namespace fs = std::filesystem;

const fs::path kLumxip = fs::canonical(LUMXIP_MODULE_FILE);
const fs::path kLumxstd = fs::canonical(LUMXSTD_MODULE_FILE);
constexpr CLSID kMissingClass = lum::guid("{0B5E55ED-0000-4000-8000-00000000D00D}");

class RegistryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    file_ = fs::path(::testing::TempDir()) /
            ("lumxip-registry-" + std::to_string(::getpid()) + "-" + test->name() + ".json");
    ::setenv("LUMXIP_REGISTRY", file_.c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("LUMXIP_REGISTRY");
    fs::remove(file_);
    fs::remove(file_.string() + ".lock");
  }

  static lum::RegistryContents contents() {
    lum::RegistryContents result;
    EXPECT_EQ(lum::readRegistryFile(&result), S_OK);
    return result;
  }

  static void registerBoth() {
    ASSERT_EQ(lum::registerModuleFile(kLumxstd), S_OK);
    ASSERT_EQ(lum::registerModuleFile(kLumxip), S_OK);
  }

  fs::path file_;
};

const lum::RegistryProgIdEntry* findProgId(const lum::RegistryContents& c, std::wstring_view id) {
  auto it = std::find_if(c.progIds.begin(), c.progIds.end(),
                         [&](const auto& p) { return p.progId == id; });
  return it == c.progIds.end() ? nullptr : &*it;
}

template <class Entries>
long countOf(const Entries& entries, const fs::path& module) {
  return std::count_if(entries.begin(), entries.end(),
                       [&](const auto& e) { return e.module == module; });
}

// Runs the client with `progIds`; its output lines, and whether it succeeded.
std::vector<std::string> runClient(const std::string& progIds, bool& succeeded) {
  std::vector<std::string> lines;
  FILE* pipe = ::popen(("'" REGISTRY_CLIENT_FILE "' " + progIds).c_str(), "r");
  succeeded = false;
  if (pipe == nullptr) return lines;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    lines.emplace_back(buffer);
    lines.back().erase(lines.back().find_last_not_of('\n') + 1);
  }
  succeeded = ::pclose(pipe) == 0;
  return lines;
}

TEST_F(RegistryFile, AnotherProcessCreatesRegisteredClassesByCurrentAndOldProgIds) {
  registerBoth();
  bool succeeded = false;
  const auto lines = runClient(
      "Halvex.LumIPOneImageTool Halvex.LumIPOneImageAddSubtractConst "
      "Halvex.LumIPOneImageAddSubtractConstant Halvex.LumIPOneImageAddSubtractConstant.1",
      succeeded);
  ASSERT_TRUE(succeeded) << (lines.empty() ? "no output" : lines.back());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0],
            "Halvex.LumIPOneImageTool " + lum::toString(CLSID_LumIPOneImageTool) + " tool");
  const std::string addSubtract = lum::toString(CLSID_LumIPOneImageAddSubtractConstant) + " object";
  for (const auto* progId :
       {"Halvex.LumIPOneImageAddSubtractConst", "Halvex.LumIPOneImageAddSubtractConstant",
        "Halvex.LumIPOneImageAddSubtractConstant.1"})
    EXPECT_NE(std::find(lines.begin(), lines.end(), std::string(progId) + " " + addSubtract),
              lines.end())
        << progId;
}

TEST_F(RegistryFile, HoldsClassProgIdAndToolEntriesOfTheModule) {
  registerBoth();
  const auto c = contents();
  auto tool = std::find_if(c.classes.begin(), c.classes.end(),
                           [](const auto& e) { return e.clsid == CLSID_LumIPOneImageTool; });
  ASSERT_NE(tool, c.classes.end());
  EXPECT_EQ(tool->module, kLumxip);
  EXPECT_EQ(tool->threadingModel, L"Both");
  EXPECT_EQ(tool->description, L"Runs a chain of one-image operators");
  EXPECT_EQ(tool->progId, L"Halvex.LumIPOneImageTool.1");
  EXPECT_EQ(tool->versionIndependentProgId, L"Halvex.LumIPOneImageTool");
  EXPECT_EQ(tool->typeLibrary, LIBID_HalvexImageProcessing);

  const auto* current = findProgId(c, L"Halvex.LumIPOneImageAddSubtractConst");
  const auto* old = findProgId(c, L"Halvex.LumIPOneImageAddSubtractConstant");
  const auto* oldVersioned = findProgId(c, L"Halvex.LumIPOneImageAddSubtractConstant.1");
  ASSERT_TRUE(current && old && oldVersioned);
  EXPECT_EQ(current->currentVersion, L"Halvex.LumIPOneImageAddSubtractConst.1");
  EXPECT_EQ(old->clsid, current->clsid);
  EXPECT_EQ(oldVersioned->clsid, current->clsid);
  EXPECT_EQ(old->description, current->description + L" (old ProgID for backward-compatibility)");
  EXPECT_EQ(oldVersioned->description, old->description);

  // Every class listed as a tool is a registered class under its version-independent
  // ProgID; the tool is there and an operator is not.
  std::map<std::wstring, std::wstring> tools;
  for (const auto& v : c.values)
    if (v.key == L"Software\\Halvex\\Optiline\\Tools") tools[v.name] = v.value;
  for (const auto& [clsid, progId] : tools) {
    const auto* entry = findProgId(c, progId);
    ASSERT_NE(entry, nullptr) << progId;
    EXPECT_EQ(lum::toWString(entry->clsid), clsid);
  }
  EXPECT_EQ(tools[lum::toWString(CLSID_LumIPOneImageTool)], L"Halvex.LumIPOneImageTool");
  EXPECT_FALSE(tools.contains(lum::toWString(CLSID_LumIPOneImageAddSubtractConstant)));
  EXPECT_GT(countOf(c.classes, kLumxstd), 0) << "the stand-in registers its classes too";
}

TEST_F(RegistryFile, UnregisteringRemovesOnlyTheModulesOwnEntries) {
  registerBoth();
  const auto before = contents();
  ASSERT_EQ(lum::registerModuleFile(kLumxip), S_OK) << "registering again replaces";
  EXPECT_EQ(contents().progIds.size(), before.progIds.size());

  ASSERT_EQ(lum::unregisterModuleFile(kLumxip), S_OK);
  const auto after = contents();
  EXPECT_EQ(countOf(after.classes, kLumxip) + countOf(after.progIds, kLumxip) +
                countOf(after.values, kLumxip),
            0);
  EXPECT_EQ(countOf(after.classes, kLumxstd), countOf(before.classes, kLumxstd));
  EXPECT_EQ(countOf(after.progIds, kLumxstd), countOf(before.progIds, kLumxstd));
  EXPECT_EQ(after.classes.size(), static_cast<size_t>(countOf(before.classes, kLumxstd)));
  EXPECT_EQ(lum::unregisterModuleFile(kLumxip), S_OK) << "nothing left to remove";
}

TEST_F(RegistryFile, ConcurrentWritersLoseNoEntries) {
  constexpr int kWriters = 8;
  std::vector<std::thread> writers;
  for (int i = 0; i < kWriters; ++i)
    writers.emplace_back([i] {
      lum::RegistryContents entries;
      CLSID clsid = kMissingClass;
      clsid.Data1 = static_cast<uint32_t>(i);
      entries.progIds.push_back({L"Halvex.Writer" + std::to_wstring(i), clsid, L"", L"", {}});
      EXPECT_EQ(
          lum::writeModuleRegistration("/nowhere/module" + std::to_string(i) + ".so", entries),
          S_OK);
    });
  for (auto& t : writers)
    t.join();
  EXPECT_EQ(contents().progIds.size(), static_cast<size_t>(kWriters));
}

TEST_F(RegistryFile, AModuleThatCannotBeLoadedOrLacksTheEntryPointIsReported) {
  const fs::path missing = "/nonexistent/libnothing.so";
  const fs::path platform = lum::modulePathOf(reinterpret_cast<const void*>(&CoCreateInstance));
  lum::RegistryContents entries;
  entries.classes.push_back({kMissingClass, {}, L"Both", L"", L"Halvex.Nothing.1", L"", {}});
  entries.progIds.push_back({L"Halvex.Nothing", kMissingClass, L"", L"", {}});
  ASSERT_EQ(lum::writeModuleRegistration(missing, entries), S_OK);

  CLSID clsid{};
  ASSERT_EQ(CLSIDFromProgID(L"Halvex.Nothing", &clsid), S_OK);
  EXPECT_EQ(clsid, kMissingClass);
  ComPtr<IUnknown> object;
  lumtest::takeErrorInfo();
  EXPECT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<IUnknown>, object.putVoid()),
      CO_E_DLLNOTFOUND);
  EXPECT_NE(lumtest::takeErrorInfo().description.find(missing.wstring()), std::wstring::npos);

  ASSERT_EQ(lum::removeModuleRegistration(missing), S_OK);
  ASSERT_EQ(lum::writeModuleRegistration(platform, entries), S_OK);
  EXPECT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<IUnknown>, object.putVoid()),
      CO_E_ERRORINDLL)
      << "the platform library has no DllGetClassObject";
}

TEST_F(RegistryFile, ADamagedFileIsReportedAndLeftAlone) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  const std::string header = R"("format": "lumxip registry", "version": 1, )";
  for (const std::string& text : {
           std::string(""),
           std::string("{\"format\": \"lumxip registry\", "),
           std::string("[]"),
           deep,
           std::string(R"({"format": "lumxip registry", "version": 2, "classes": {},
                           "progIds": {}, "keys": {}})"),
           "{" + header + R"("classes": [], "progIds": {}, "keys": {}})",
           "{" + header + R"("classes": {"not a guid": {}}, "progIds": {}, "keys": {}})",
           "{" + header + R"("classes": {}, "progIds": {"Halvex.X": {"clsid": 5}}, "keys": {}})",
           "{" + header + R"("classes": {}, "progIds": {}, "keys": {"K": {"V": "text"}}})",
       }) {
    SCOPED_TRACE(text.substr(0, 80));
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << text;
    lum::RegistryContents c;
    lumtest::takeErrorInfo();
    EXPECT_EQ(lum::readRegistryFile(&c), REGDB_E_READREGDB);
    EXPECT_NE(lumtest::takeErrorInfo().description.find(file_.wstring()), std::wstring::npos);
    ComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(kMissingClass, nullptr, CLSCTX_INPROC_SERVER, iid_of<IUnknown>,
                               object.putVoid()),
              REGDB_E_READREGDB);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(L"Halvex.Nothing", &clsid), REGDB_E_READREGDB);
    EXPECT_EQ(lum::writeModuleRegistration(kLumxip, {}), REGDB_E_READREGDB);
    std::stringstream kept;
    kept << std::ifstream(file_, std::ios::binary).rdbuf();
    EXPECT_EQ(kept.str(), text) << "a damaged file is not overwritten";
  }
}

}  // namespace
