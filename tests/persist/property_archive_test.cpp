#include "persist/internal/archive_class.h"

#include <gtest/gtest.h>

#include "support/error_info_probe.h"

namespace {

ComPtr<CLumArchive> writingArchive() {
  return CLumArchive::create(lumPersistWriting);
}

lum::Bstr name(const wchar_t* text) {
  return lum::Bstr(text);
}

TEST(PropertyArchive, ReadsBackInAnyOrder) {
  auto archive = writingArchive();
  LONG a = 1, b = 2, c = 3;
  archive->PersistI4(name(L"A").get(), &a);
  archive->PersistI4(name(L"B").get(), &b);
  archive->PersistI4(name(L"C").get(), &c);
  archive->put_Mode(0);
  LONG readC = 0, readA = 0, readB = 0;
  EXPECT_EQ(archive->PersistI4(name(L"C").get(), &readC), S_OK);
  EXPECT_EQ(archive->PersistI4(name(L"A").get(), &readA), S_OK);
  EXPECT_EQ(archive->PersistI4(name(L"B").get(), &readB), S_OK);
  EXPECT_EQ(readA * 100 + readB * 10 + readC, 123);
  lum::Bstr unread;
  archive->get_UnreadKeys(unread.put());
  EXPECT_TRUE(unread.empty());
}

TEST(PropertyArchive, NameRules) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"Count", true},          {L"9Lives", true},  {L"_x", true},
      {L":scope", true},         {L"a.b-c:d", true}, {L"", false},
      {L"-lead", false},         {L".lead", false},  {L"sp ace", false},
      {L"\u00e9t\u00e9", false},
  };
  for (const auto& [text, valid] : cases) {
    EXPECT_EQ(lcIsValidPropertyName(text), valid) << lum::toUtf8(text);
    auto archive = writingArchive();
    LONG value = 0;
    BSTR allocated = SysAllocString(text);  // "" too: an empty name, not a null one
    EXPECT_EQ(archive->PersistI4(allocated, &value), valid ? S_OK : E_INVALIDARG);
    SysFreeString(allocated);
    if (!valid) {
      EXPECT_EQ(lumtest::takeErrorInfo().helpContext, 0x80048202u);
    }
  }
}

TEST(PropertyArchive, TheDirectionComesBeforeTheName) {
  // Reading: a malformed name is a problem, so that the component's load goes on.
  auto reading = CLumArchive::create(0);
  LONG value = 4;
  ComPtr<IUnknown> object;
  lum::Variant variant(1);
  EXPECT_EQ(reading->PersistI4(name(L"-bad").get(), &value), S_FALSE);
  EXPECT_EQ(reading->LoadObject(name(L".bad").get(), object.put()), S_FALSE);
  EXPECT_EQ(reading->PersistVariant(nullptr, variant.ptr()), S_FALSE);
  EXPECT_EQ(value, 4);
  LONG problems = 0;
  reading->get_ProblemCount(&problems);
  EXPECT_EQ(problems, 3);
  EXPECT_EQ(reading->SaveObject(name(L".bad").get(), nullptr), E_FAIL) << "the wrong direction";

  // Writing: a null name is a null pointer, as WriteProperty says.
  auto writing = writingArchive();
  EXPECT_EQ(writing->PersistI4(nullptr, &value), E_POINTER);
  EXPECT_EQ(writing->PersistVariant(nullptr, variant.ptr()), E_POINTER);
  EXPECT_EQ(writing->SaveObject(nullptr, nullptr), E_POINTER);
  EXPECT_EQ(writing->LoadObject(name(L".bad").get(), object.put()), E_FAIL);
  lumtest::takeErrorInfo();
}

TEST(PropertyArchive, MissingOrInvalidValuesLeaveTheCallersValueAndAreListed) {
  auto archive = writingArchive();
  BSTR text = SysAllocString(L"twelve");
  archive->PersistString(name(L"Width").get(), &text);
  SysFreeString(text);
  archive->put_Mode(0);
  LONG height = 7, width = 9;
  EXPECT_EQ(archive->PersistI4(name(L"Height").get(), &height), S_FALSE);
  EXPECT_EQ(height, 7);
  EXPECT_EQ(archive->PersistI4(name(L"Width").get(), &width), S_FALSE);
  EXPECT_EQ(width, 9);
  lum::Bstr problems;
  archive->get_Problems(problems.put());
  EXPECT_EQ(problems.view(), L"Height, Width<invalid long value>");
  LONG count = 0;
  archive->get_ProblemCount(&count);
  EXPECT_EQ(count, 2);
}

TEST(PropertyArchive, FloatingTextReadsUnderAnyDecimalSeparator) {
  auto archive = writingArchive();
  BSTR text = SysAllocString(L"1.5");
  archive->PersistString(name(L"Scale").get(), &text);
  SysFreeString(text);
  archive->put_Mode(0);
  lum::ScopedDecimalSeparator comma(L',');
  double scale = 0;
  EXPECT_EQ(archive->PersistR8(name(L"Scale").get(), &scale), S_OK);
  EXPECT_EQ(scale, 1.5);
}

TEST(PropertyArchive, WrongModeDefaultsAndPropertyBag) {
  auto archive = writingArchive();
  ComPtr<IUnknown> object;
  EXPECT_EQ(archive->LoadObject(name(L"X").get(), object.put()), E_FAIL);
  lum::Variant value(5), sameAsDefault(5.0);
  ASSERT_EQ(archive->WriteProperty(name(L"Five").get(), *value.ptr(), *sameAsDefault.ptr()), S_OK);
  LONG count = -1;
  archive->get_Count(&count);
  EXPECT_EQ(count, 0) << "a value equal to its default is not written";
  lum::Variant bagValue(L"v");
  ASSERT_EQ(archive->Write(L"Bag", bagValue.ptr()), S_OK);
  archive->put_Mode(0);
  EXPECT_EQ(archive->SaveObject(name(L"X").get(), nullptr), E_FAIL);
  lum::Variant read;
  ASSERT_EQ(archive->Read(L"Bag", read.put(), nullptr), S_OK);
  EXPECT_EQ(lum::bstrView(read.get().bstrVal), L"v");
  EXPECT_EQ(archive->Read(L"Absent", read.put(), nullptr), E_INVALIDARG);
  lumtest::takeErrorInfo();
}

TEST(PropertyArchive, PersistsItselfAsNumberedItemsAndKeys) {
  auto inner = writingArchive();
  inner->collection().add(lum::Variant(1).get(), L"one");
  inner->collection().add(lum::Variant(2).get(), L"");
  inner->collection().add(lum::Variant(3).get(), L"three");
  auto outer = writingArchive();
  ASSERT_EQ(inner->Persist(outer.get(), lumPersistWriting), S_OK);
  std::vector<std::wstring> names;
  for (LONG i = 0; i < outer->collection().count(); ++i)
    names.push_back(outer->collection().key(i).str());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Item0", L"Key0", L"Item1", L"Item2", L"Key2"}));

  outer->put_Mode(0);
  auto copy = CLumArchive::create(0);
  ASSERT_EQ(copy->Persist(outer.get(), 0), S_OK);
  ASSERT_EQ(copy->collection().count(), 3);
  EXPECT_EQ(copy->collection().key(2).view(), L"three");
  EXPECT_TRUE(copy->collection().key(1).empty());
  LONG problems = -1;
  outer->get_ProblemCount(&problems);
  EXPECT_EQ(problems, 0) << "looking names up first records no false problems";
}

}  // namespace
