#include <gtest/gtest.h>
#include <pthread.h>

#include <cstring>
#include <vector>

#include "platform/class_factory.h"
#include "support/core_objects.h"
#include "support/error_info_probe.h"
#include "support/test_holder.h"

namespace {

ComPtr<ILumPersistenceService> service() {
  return lumtest::create<ILumPersistenceService>(CLSID_LumPersistenceService);
}

// An object that persists only to a stream, as foreign objects do: its bytes are the
// saved document of the object it holds, written and read through the persistence
// service, so loading it loads another object on the same thread.
class StreamedBox final : public lum::ComObject<IPersistStream> {
 public:
  static constexpr CLSID kClsid = lum::guid("{5D1E0B4A-0000-4000-8000-0000000051B0}");

  HRESULT GetClassID(CLSID* clsid) override {
    *clsid = kClsid;
    return S_OK;
  }
  HRESULT IsDirty() override { return S_FALSE; }
  HRESULT Load(IStream* stream) override {
    held_ = nullptr;
    return service()->Load(stream, lumPersistAllGroups, held_.put());
  }
  HRESULT Save(IStream* stream, BOOL) override {
    return service()->Save(held_.get(), stream, lumPersistAllGroups, lumPersistFormatBinary);
  }
  HRESULT GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

 private:
  ComPtr<IUnknown> held_;
};

void registerTestClasses() {
  testClassesModule();
  static const bool registered = [] {
    lum::RegistrationCookie cookie = 0;
    lum::registerClass({StreamedBox::kClsid,
                        L"",
                        L"",
                        {},
                        L"streamed box",
                        lum::makeComObject<lum::SimpleClassFactory<StreamedBox>>()},
                       &cookie);
    return true;
  }();
  (void)registered;
}

// How one level of a crafted stream holds the next.
enum class Holds {
  tagObject,         // a component whose Tag is the next object
  tagArray,          // a component whose Tag is an array of one VARIANT: the next object
  archiveItem,       // a property archive kept as a value, whose Item0 is the next object
  streamedDocument,  // a streamed record whose bytes are a whole document of the next object
};

// Levels each kind takes: an object record, and an array of VARIANTs, each take one.
int levelsOf(Holds kind) {
  return kind == Holds::tagArray ? 2 : 1;
}

// Writes a stream of nested records by hand, outermost first; the innermost object is a
// component without properties.
class NestedStream {
 public:
  NestedStream() { header(); }

  void add(Holds kind) {
    switch (kind) {
      case Holds::tagObject:
      case Holds::tagArray:
        record(1, CTestHolder::kClass.clsid);
        entry(L"Tag");
        if (kind == Holds::tagArray) {
          scalar<uint16_t>(VT_ARRAY | VT_VARIANT);
          scalar<int32_t>(0);
          scalar<uint32_t>(1);
        }
        scalar<uint16_t>(VT_UNKNOWN);
        break;
      case Holds::archiveItem:
        record(1, CLSID_NULL);
        entry(L"Item0");
        scalar<uint16_t>(VT_UNKNOWN);
        break;
      case Holds::streamedDocument:
        record(3, StreamedBox::kClsid);
        byteCounts_.push_back(bytes_.size());
        scalar<uint32_t>(0);  // filled in by finish()
        header();
        break;
    }
  }

  std::vector<std::byte> finish() {
    record(1, CTestHolder::kClass.clsid);
    scalar<uint32_t>(0);
    for (std::size_t at : byteCounts_) {
      const auto count = static_cast<uint32_t>(bytes_.size() - at - 4);
      std::memcpy(bytes_.data() + at, &count, 4);
    }
    return std::move(bytes_);
  }

 private:
  template <class T>
  void scalar(T value) {
    const auto* p = reinterpret_cast<const std::byte*>(&value);
    bytes_.insert(bytes_.end(), p, p + sizeof value);
  }
  void header() {
    for (char c : {'L', 'U', 'M', 'X', 'I', 'P', 'B', '\x1a'})
      scalar(c);
    scalar<uint32_t>(1);
    scalar<uint32_t>(0);
  }
  void record(uint8_t tag, const GUID& clsid) {
    scalar(tag);
    scalar(clsid.Data1), scalar(clsid.Data2), scalar(clsid.Data3);
    for (uint8_t b : clsid.Data4)
      scalar(b);
  }
  // An archive of one entry named `key`; its value follows.
  void entry(std::wstring_view key) {
    scalar<uint32_t>(1);
    scalar(static_cast<uint32_t>(key.size()));
    for (wchar_t c : key)
      scalar(static_cast<uint32_t>(c));
  }

  std::vector<std::byte> bytes_;
  std::vector<std::size_t> byteCounts_;
};

// A stream whose levels repeat `pattern` until `levels` levels are written.
std::vector<std::byte> nestedStream(const std::vector<Holds>& pattern, int levels) {
  NestedStream stream;
  int written = 1;  // the innermost object
  for (std::size_t i = 0; written + levelsOf(pattern[i % pattern.size()]) <= levels; ++i) {
    stream.add(pattern[i % pattern.size()]);
    written += levelsOf(pattern[i % pattern.size()]);
  }
  return stream.finish();
}

// Runs `work` on a thread whose stack is `bytes` long, as a host's worker thread may be.
template <class Work>
void runOnStackOf(std::size_t bytes, Work work) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, bytes);
  pthread_t thread;
  ASSERT_EQ(pthread_create(
                &thread, &attributes,
                [](void* w) -> void* {
                  (*static_cast<Work*>(w))();
                  return nullptr;
                },
                &work),
            0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

constexpr std::size_t kSmallStack = 256 * 1024;

struct Outcome {
  HRESULT result = S_OK;
  std::wstring description;
};

Outcome loadOnSmallStack(const std::vector<std::byte>& bytes) {
  Outcome outcome;
  runOnStackOf(kSmallStack, [&] {
    ComPtr<IStream> stream;
    lum::createMemoryStream(bytes.data(), bytes.size(), stream.put());
    ComPtr<IUnknown> loaded;
    outcome.result = service()->Load(stream.get(), lumPersistAllGroups, loaded.put());
    outcome.description = lumtest::takeErrorInfo().description;
    loaded = nullptr;
  });
  return outcome;
}

const std::vector<std::vector<Holds>> kPatterns = {
    {Holds::tagObject},
    {Holds::streamedDocument},
    {Holds::tagArray},
    {Holds::archiveItem},
    {Holds::streamedDocument, Holds::tagObject, Holds::tagArray, Holds::archiveItem},
};

TEST(NestingLimit, SixtyFourLevelsOfAnyKindLoadAndOneMoreIsRefused) {
  registerTestClasses();
  for (std::size_t p = 0; p < kPatterns.size(); ++p) {
    const Outcome deepest = loadOnSmallStack(nestedStream(kPatterns[p], 64));
    EXPECT_TRUE(SUCCEEDED(deepest.result)) << "pattern " << p << ": " << deepest.description;
    const Outcome tooDeep = loadOnSmallStack(nestedStream(kPatterns[p], 65));
    EXPECT_EQ(tooDeep.result, E_FAIL) << "pattern " << p;
    EXPECT_NE(tooDeep.description.find(L"nested more than 64 deep"), std::wstring::npos)
        << "pattern " << p << ": " << tooDeep.description;
  }
}

TEST(NestingLimit, AHundredThousandNestedRecordsAreRefusedOnASmallStack) {
  registerTestClasses();
  for (std::size_t p = 0; p < kPatterns.size(); ++p) {
    const Outcome outcome = loadOnSmallStack(nestedStream(kPatterns[p], 100000));
    EXPECT_EQ(outcome.result, E_FAIL) << "pattern " << p;
  }
}

TEST(NestingLimit, DeepCopiesAndSavesOfDeepChainsAreRefusedOnASmallStack) {
  registerTestClasses();
  std::vector<ComPtr<ITestHolder>> chain(1000);
  for (auto& holder : chain)
    holder = makeTestHolder();
  for (std::size_t i = 0; i + 1 < chain.size(); ++i)
    chain[i].as<ILumObject>()->put_Tag(
        *lum::Variant(static_cast<IUnknown*>(chain[i + 1].get())).ptr());
  HRESULT cloned = S_OK, saved = S_OK;
  runOnStackOf(kSmallStack, [&] {
    ComPtr<ILumObject> copy;
    cloned = chain[0].as<ILumObject>()->Clone(copy.put());
    ComPtr<IStream> stream;
    lum::createMemoryStream(stream.put());
    saved = service()->Save(chain[0].get(), stream.get(), lumPersistAllGroups, 0);
    lumtest::takeErrorInfo();
  });
  EXPECT_EQ(cloned, E_FAIL);
  EXPECT_EQ(saved, E_FAIL);
  for (auto& holder : chain)  // unlink first: releasing the chain whole would recurse
    holder.as<ILumObject>()->put_Tag(*lum::Variant().ptr());
}

}  // namespace
