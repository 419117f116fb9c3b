#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "persist/internal/archive_class.h"
#include "support/core_objects.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"
#include "support/test_holder.h"

namespace {

ComPtr<ILumPersistenceService> service() {
  return lumtest::create<ILumPersistenceService>(CLSID_LumPersistenceService);
}

std::vector<std::byte> save(IUnknown* object) {
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  EXPECT_EQ(service()->Save(object, stream.get(), lumPersistAllGroups, lumPersistFormatBinary),
            S_OK);
  std::vector<std::byte> bytes;
  lum::readWholeStream(stream.get(), &bytes);
  return bytes;
}

HRESULT load(const std::vector<std::byte>& bytes, ComPtr<IUnknown>& object) {
  ComPtr<IStream> stream;
  lum::createMemoryStream(bytes.data(), bytes.size(), stream.put());
  return service()->Load(stream.get(), lumPersistAllGroups, object.put());
}

// A holder whose two slots hold the same widget, and a Tag.
struct Fixture : ::testing::Test {
  Fixture() { testClassesModule(); }
  ComPtr<ITestHolder> holder = makeTestHolder();
  ComPtr<ITestWidget> shared = makeTestWidget();
  void fill() {
    shared->put_Count(42);
    shared->put_Label(lum::Bstr(L"shared \u00fc\U0001F600").get());
    shared->put_Scale(0.1);
    holder->putref_First(shared.get());
    holder->putref_Second(shared.get());
    holder->put_Name(lum::Bstr(L"holder").get());
    holder.as<ILumObject>()->put_Tag(*lum::Variant(L"tagged").ptr());
  }
  static void expectSameContent(ITestHolder* copy, ITestWidget* original) {
    ComPtr<ITestWidget> first, second;
    copy->get_First(first.put());
    copy->get_Second(second.put());
    ASSERT_TRUE(first);
    EXPECT_EQ(first.get(), second.get()) << "shared once, restored shared";
    EXPECT_FALSE(lum::sameObject(first.get(), original)) << "a copy, not the original";
    LONG count = 0;
    double scale = 0;
    lum::Bstr label;
    first->get_Count(&count);
    first->get_Scale(&scale);
    first->get_Label(label.put());
    EXPECT_EQ(count, 42);
    EXPECT_EQ(scale, 0.1);
    EXPECT_EQ(label.view(), L"shared \u00fc\U0001F600") << "wide strings exact";
    VARIANT_BOOL changed = VARIANT_FALSE;
    ComPtr<ITestWidget>(first).as<ILumPersistArchive>()->get_HasChanged(&changed);
    EXPECT_EQ(changed, VARIANT_TRUE);
  }
};

TEST_F(Fixture, SaveAndLoadKeepContentSharingAndDeliverOneEvent) {
  fill();
  const auto bytes = save(holder.get());
  ComPtr<IUnknown> loaded;
  ASSERT_EQ(load(bytes, loaded), S_OK);
  auto copy = loaded.as<ITestHolder>();
  ASSERT_TRUE(copy);
  expectSameContent(copy.get(), shared.get());
  lum::Variant tag;
  copy.as<ILumObject>()->get_Tag(tag.put());
  EXPECT_EQ(lum::bstrView(tag.get().bstrVal), L"tagged");

  // Loading into an existing object: one "everything changed" event, none from nested.
  auto target = makeTestHolder();
  auto sink = lum::makeComObject<EventRecorder>();
  adviseSink(target.get(), sink.get());
  ComPtr<IStream> stream;
  lum::createMemoryStream(bytes.data(), bytes.size(), stream.put());
  ASSERT_EQ(service()->LoadInto(target.get(), stream.get(), lumPersistAllGroups), S_OK);
  const auto events = sink->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].stateId(), lumStateSeveralChanged);
  EXPECT_EQ(static_cast<uint32_t>(events[0].flags()), 0xFFFFFFFFu);
  expectSameContent(target.get(), shared.get());
  LONG suspended = -1;
  target.as<ILumChangeEventConfiguration>()->get_EventDeliverySuspended(&suspended);
  EXPECT_EQ(suspended, 0);

  ComPtr<IStream> again;
  lum::createMemoryStream(bytes.data(), bytes.size(), again.put());
  EXPECT_EQ(service()->LoadInto(shared.get(), again.get(), lumPersistAllGroups), E_INVALIDARG)
      << "the stream holds another class";
  lumtest::takeErrorInfo();
}

TEST_F(Fixture, CloneCopiesDeeplyWithSharingAndSelfReference) {
  fill();
  holder.as<ILumObject>()->put_Tag(*lum::Variant(static_cast<IUnknown*>(holder.get())).ptr());
  ComPtr<ILumObject> cloned;
  ASSERT_EQ(holder.as<ILumObject>()->Clone(cloned.put()), S_OK);
  auto copy = cloned.as<ITestHolder>();
  expectSameContent(copy.get(), shared.get());
  lum::Variant tag;
  cloned->get_Tag(tag.put());
  EXPECT_TRUE(lum::sameObject(tag.get().punkVal, cloned.get())) << "the copy holds itself";
  cloned->put_Tag(*lum::Variant().ptr());  // break the cycle so both can be freed
  holder.as<ILumObject>()->put_Tag(*lum::Variant().ptr());

  // A stream cannot hold an object that holds itself: saving says so.
  holder.as<ILumObject>()->put_Tag(*lum::Variant(static_cast<IUnknown*>(holder.get())).ptr());
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  EXPECT_EQ(service()->Save(holder.get(), stream.get(), lumPersistAllGroups, 0), E_FAIL);
  holder.as<ILumObject>()->put_Tag(*lum::Variant().ptr());
  lumtest::takeErrorInfo();
}

TEST_F(Fixture, RefusedValuesMissingNamesAndUnreadEntriesAreReported) {
  // A widget's archive, edited by hand: Scale -4 (refused by its check), Count missing,
  // a misspelled "Labl".
  auto archive = CLumArchive::create(lumPersistWriting);
  double scale = -4;
  archive->PersistR8(lum::Bstr(L"Scale").get(), &scale);
  BSTR label = SysAllocString(L"typo");
  archive->PersistString(lum::Bstr(L"Labl").get(), &label);
  SysFreeString(label);
  archive->put_Mode(0);
  auto widget = makeTestWidget();
  widget->put_Scale(2.0);
  ASSERT_EQ(widget.as<ILumPersistArchive>()->Persist(archive.get(), lumPersistAllGroups), S_OK);
  double kept = 0;
  widget->get_Scale(&kept);
  EXPECT_EQ(kept, 2.0) << "a refused value keeps the old one";
  lum::Bstr problems, unread;
  archive->get_Problems(problems.put());
  archive->get_UnreadKeys(unread.put());
  EXPECT_NE(problems.view().find(L"Scale<value refused>"), std::wstring_view::npos);
  EXPECT_NE(problems.view().find(L"Count"), std::wstring_view::npos);
  EXPECT_EQ(unread.view(), L"Labl");
}

TEST_F(Fixture, ALoadWithProblemsSucceedsWithSFalseAndSaysWhy) {
  fill();
  auto bytes = save(holder.get());
  // Put -4 where the saved Scale (0.1) stands: the widget's check refuses it.
  const double saved = 0.1, refused = -4;
  auto it = std::search(bytes.begin(), bytes.end(), reinterpret_cast<const std::byte*>(&saved),
                        reinterpret_cast<const std::byte*>(&saved) + sizeof saved);
  ASSERT_NE(it, bytes.end());
  std::memcpy(&*it, &refused, sizeof refused);
  ComPtr<IUnknown> loaded;
  EXPECT_EQ(load(bytes, loaded), S_FALSE);
  EXPECT_NE(lumtest::takeErrorInfo().description.find(L"Scale<value refused>"), std::wstring::npos);
  ComPtr<ITestWidget> first;
  loaded.as<ITestHolder>()->get_First(first.put());
  double scale = 0;
  first->get_Scale(&scale);
  EXPECT_EQ(scale, 1.0) << "the widget keeps what it had: its default";
}

TEST_F(Fixture, TagAbsentFromTheArchiveIsRemovedUnlessKept) {
  auto widget = makeTestWidget();
  widget.as<ILumObject>()->put_Tag(*lum::Variant(3).ptr());
  for (LONG mode :
       {LONG(lumPersistAllGroups), LONG(lumPersistAllGroups | lumPersistKeepAbsentTag)}) {
    widget.as<ILumObject>()->put_Tag(*lum::Variant(3).ptr());
    auto empty = CLumArchive::create(0);
    widget.as<ILumPersistArchive>()->Persist(empty.get(), mode);
    lum::Variant tag;
    widget.as<ILumObject>()->get_Tag(tag.put());
    EXPECT_EQ(tag.type(), (mode & lumPersistKeepAbsentTag) ? VT_I4 : VT_EMPTY);
  }
}

TEST_F(Fixture, PersistStreamSavesLoadsAndMeasures) {
  fill();
  auto persist = holder.as<IPersistStream>();
  EXPECT_EQ(persist->IsDirty(), S_OK);
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
  EXPECT_EQ(persist->IsDirty(), S_FALSE);
  ULARGE_INTEGER size{};
  ASSERT_EQ(persist->GetSizeMax(&size), S_OK);
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  EXPECT_EQ(size.QuadPart, stat.cbSize.QuadPart);
  stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
  auto target = makeTestHolder();
  ASSERT_EQ(target.as<IPersistStream>()->Load(stream.get()), S_OK);
  expectSameContent(target.get(), shared.get());
}

TEST_F(Fixture, NewerFormatsAndUnregisteredClassesAreRefused) {
  fill();
  auto bytes = save(holder.get());
  auto newer = bytes;
  newer[8] = std::byte{2};  // the format version follows the 8-byte magic
  ComPtr<IUnknown> loaded;
  EXPECT_EQ(load(newer, loaded), E_FAIL);
  EXPECT_NE(lumtest::takeErrorInfo().description.find(L"newer version"), std::wstring::npos);

  auto unknownClass = bytes;
  unknownClass[17] = std::byte{0x77};  // inside the top object's class identifier
  EXPECT_EQ(load(unknownClass, loaded), REGDB_E_CLASSNOTREG);
  EXPECT_NE(lumtest::takeErrorInfo().description.find(L"not registered"), std::wstring::npos);
}

TEST_F(Fixture, DamagedStreamsFailCleanly) {
  fill();
  const auto bytes = save(holder.get());
  ComPtr<IUnknown> loaded;
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    const std::vector<std::byte> truncated(bytes.begin(), bytes.begin() + length);
    EXPECT_TRUE(FAILED(load(truncated, loaded))) << "truncated at " << length;
  }
  std::mt19937 random(20261206);
  int loadedCount = 0;
  for (int variant = 0; variant < 3000; ++variant) {
    auto damaged = bytes;
    const int flips = 1 + variant % 4;
    for (int f = 0; f < flips; ++f)
      damaged[random() % damaged.size()] ^= std::byte(1u << (random() % 8));
    const HRESULT hr = load(damaged, loaded);
    loadedCount += SUCCEEDED(hr);
    lumtest::takeErrorInfo();
  }
  EXPECT_GT(loadedCount, 0) << "some flips only change values";
}

}  // namespace
