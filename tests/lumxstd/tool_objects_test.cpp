// The objects a tool hands a host besides records: run status, string collection,
// stopwatch.

#include <gtest/gtest.h>

#include <thread>

#include "support/core_objects.h"
#include "support/dispatch_call.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"

namespace {

using lumtest::create;

struct Status {
  LONG result;
  std::wstring message;
  double processing, total;
  std::wstring source;
  bool operator==(const Status&) const = default;
};

Status statusOf(ILumRunStatus* status) {
  Status s{};
  lum::Bstr message, source;
  status->get_ResultCode(&s.result), status->get_Message(message.put());
  status->get_ProcessingTime(&s.processing), status->get_TotalTime(&s.total);
  status->get_ErrorSource(source.put());
  s.message = message.str(), s.source = source.str();
  return s;
}

TEST(ToolObjects, AreMadeByClassIdOrProgIdAndStartEmpty) {
  struct Class {
    const CLSID& clsid;
    const wchar_t* progId;
  };
  for (const Class& c : {Class{CLSID_LumRunStatus, L"Halvex.LumRunStatus"},
                         Class{CLSID_LumRecord, L"Halvex.LumRecord"},
                         Class{CLSID_LumStringCollection, L"Halvex.LumStringCollection"},
                         Class{CLSID_LumStopwatch, L"Halvex.LumStopwatch.1"}}) {
    CLSID found{};
    EXPECT_EQ(CLSIDFromProgID(c.progId, &found), S_OK);
    EXPECT_EQ(found, c.clsid) << lum::Bstr(c.progId).str();
    EXPECT_TRUE(create<ILumObject>(c.clsid));
  }
  EXPECT_EQ(statusOf(create<ILumRunStatus>(CLSID_LumRunStatus).get()), (Status{0, L"", 0, 0, L""}));
  double elapsed = -1;
  create<ILumStopwatch>(CLSID_LumStopwatch)->get_ElapsedTime(&elapsed);
  EXPECT_EQ(elapsed, 0);
}

TEST(RunStatus, SetsItsFiveValuesInOrderAndKeepsThemWhenCopied) {
  auto status = create<ILumRunStatus>(CLSID_LumRunStatus);
  auto recorder = lum::makeComObject<EventRecorder>();
  DWORD cookie = 0;
  ComPtr<IConnectionPoint> point;
  status.as<IConnectionPointContainer>()->FindConnectionPoint(DIID_ILumChangeEvent, point.put());
  point->Advise(recorder.get(), &cookie);

  // Distinct values in every slot, so that two swapped arguments show.
  const Status set{LONG(0x8004E400), L"no input", 1.25, 2.5, L"Halvex.LumIPOneImageTool"};
  for (int twice = 0; twice < 2; ++twice)
    ASSERT_EQ(status.as<ILumRunStatusSetting>()->SetStatus(set.result, lum::Bstr(set.message).get(),
                                                           set.processing, set.total,
                                                           lum::Bstr(set.source).get()),
              S_OK);
  EXPECT_EQ(statusOf(status.get()), set);
  EXPECT_EQ(recorder->events().size(), 1u) << "one event per change, none for the same values";
  point->Unadvise(cookie);
  EXPECT_EQ(statusOf(lumtest::saveAndLoad(status.get()).get()), set);
  EXPECT_EQ(statusOf(lumtest::cloneOf(status.get()).get()), set);

  // A script sets and reads it by name; the values are read-only properties.
  IDispatch* d = status.get();
  ASSERT_EQ(lumtest::call(d, L"SetStatus", DISPATCH_METHOD,
                          {lum::Variant(5), lum::Variant(L"m"), lum::Variant(3.0),
                           lum::Variant(4.0), lum::Variant(L"s")}),
            S_OK);
  EXPECT_EQ(statusOf(status.get()), (Status{5, L"m", 3, 4, L"s"}));
  EXPECT_NE(lumtest::call(d, L"ResultCode", DISPATCH_PROPERTYPUT, {lum::Variant(1)}), S_OK);
}

std::vector<std::wstring> itemsOf(ILumStringCollection* strings) {
  std::vector<std::wstring> items;
  ComPtr<IUnknown> unknown;
  strings->get__NewEnum(unknown.put());
  auto walk = unknown.as<IEnumVARIANT>();
  lum::Variant item;
  while (walk->Next(1, item.put(), nullptr) == S_OK)
    items.push_back(item.get().bstrVal);
  return items;
}

TEST(StringCollection, KeepsItemsInOrderFoundByIndexOrKey) {
  auto strings = create<ILumStringCollection>(CLSID_LumStringCollection);
  const wchar_t* input = L"name{InputImage} path{InputImage} type{ILumImage}";
  ASSERT_EQ(strings->Add(lum::Bstr(input).get(), lum::Bstr(L"InputImage").get()), S_OK);
  strings->Add(lum::Bstr(L"unkeyed").get(), nullptr);
  strings->Add(lum::Bstr(L"name{Result.Mean} path{Result.Mean} type{Double}").get(),
               lum::Bstr(L"Result.Mean").get());

  lum::Bstr item;
  ASSERT_EQ(strings->get_Item(lum::Variant(L"InputImage").get(), item.put()), S_OK);
  EXPECT_EQ(item.view(), input);
  LONG index = 0;
  strings->FindKey(lum::Bstr(L"").get(), &index);
  EXPECT_EQ(index, -1) << "an empty key is no key";
  EXPECT_EQ(strings->get_Item(lum::Variant(L"Missing").get(), item.put()), hresultFrom(0x8004C180));
  EXPECT_EQ(strings->get_Item(lum::Variant(3).get(), item.put()), hresultFrom(0x8004C180));
  lumtest::takeErrorInfo();

  for (auto copy : {lumtest::saveAndLoad(strings.get()), lumtest::cloneOf(strings.get())}) {
    ASSERT_TRUE(copy);
    EXPECT_EQ(itemsOf(copy.get()), itemsOf(strings.get()));
    lum::Bstr key;
    copy->get_Key(2, key.put());
    EXPECT_EQ(key.view(), L"Result.Mean");
    copy->get_Key(1, key.put());
    EXPECT_TRUE(key.empty());
  }

  ASSERT_EQ(strings->Remove(lum::Variant(L"InputImage").get()), S_OK);
  strings->FindKey(lum::Bstr(L"Result.Mean").get(), &index);
  EXPECT_EQ(index, 1) << "later entries move up";
  strings->Clear();
  EXPECT_TRUE(itemsOf(strings.get()).empty());
}

TEST(Stopwatch, RunsMonotonicallyAndIsReadableWhileRunning) {
  auto watch = create<ILumStopwatch>(CLSID_LumStopwatch);
  auto read = [&] {
    double ms = -1;
    return watch->get_ElapsedTime(&ms), ms;
  };
  watch->Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(3));
  const double first = read();
  EXPECT_GE(first, 3.0) << "milliseconds, read while running";
  EXPECT_LT(first, 3000.0);
  EXPECT_GE(read(), first);

  watch->Stop();
  const double stopped = read();
  std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(read(), stopped) << "a stopped watch keeps its reading";
  watch->Start();
  EXPECT_GE(read(), stopped) << "and runs on from it";

  watch->Reset();
  EXPECT_EQ(read(), 0);
  VARIANT_BOOL running = VARIANT_TRUE;
  watch->get_Running(&running);
  EXPECT_EQ(running, VARIANT_FALSE);
}

}  // namespace
