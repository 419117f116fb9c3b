#include <gtest/gtest.h>

#include <thread>

#include "support/error_info_probe.h"
#include "support/event_recorder.h"
#include "support/test_widget.h"

namespace {

struct Listened {
  ComPtr<ITestWidget> widget = makeTestWidget();
  ComPtr<EventRecorder> sink = lum::makeComObject<EventRecorder>();
  Listened() { adviseSink(widget.get(), sink.get()); }
  ComPtr<ILumChangeEventConfiguration> config() const {
    return widget.as<ILumChangeEventConfiguration>();
  }
  bool hasChanged() const {
    VARIANT_BOOL changed = VARIANT_FALSE;
    widget.as<ILumPersistArchive>()->get_HasChanged(&changed);
    return changed != VARIANT_FALSE;
  }
};

// Putting the declared defaults back raises nothing: so they were set at construction.
TEST(ChangeEvents, SetterComparesStoresAndNotifies) {
  Listened w;
  EXPECT_FALSE(w.hasChanged());
  ASSERT_EQ(w.widget->put_Count(7), S_OK);    // the value it holds
  ASSERT_EQ(w.widget->put_Enabled(5), S_OK);  // true as true
  ASSERT_EQ(w.widget->put_Label(lum::Bstr(L"unnamed").get()), S_OK);
  EXPECT_TRUE(w.sink->events().empty()) << "unchanged values raise nothing";
  EXPECT_FALSE(w.hasChanged());

  EXPECT_EQ(w.widget->put_Scale(-0.5), E_INVALIDARG);
  EXPECT_EQ(w.widget->put_Mode(static_cast<TestWidgetModeConstants>(2)), E_INVALIDARG);
  EXPECT_EQ(lumtest::takeErrorInfo().helpContext, 0x8004810Au);
  double scale = 0;
  w.widget->get_Scale(&scale);
  EXPECT_EQ(scale, 1.0) << "a refused value leaves the old one";
  EXPECT_TRUE(w.sink->events().empty());
  EXPECT_FALSE(w.hasChanged());

  ASSERT_EQ(w.widget->put_Count(8), S_OK);
  const auto events = w.sink->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].dispid, DISPID_LumChangeEvent);
  EXPECT_EQ(events[0].stateId(), testWidget_Count);
  EXPECT_EQ(events[0].value().get().vt, VT_I4);
  EXPECT_EQ(events[0].value().get().lVal, 8);
  EXPECT_EQ(events[0].flags(), lumChangeSetByClient);
  EXPECT_TRUE(w.hasChanged());
}

TEST(ChangeEvents, SuspensionAccumulatesIntoOneEvent) {
  Listened w;
  auto config = w.config();
  // Two changes of one property: its ID and the last value.
  config->SuspendEventDelivery();
  w.widget->put_Count(1);
  w.widget->put_Count(2);
  EXPECT_TRUE(w.sink->events().empty());
  config->ResumeAndFireEvent();
  auto events = w.sink->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].stateId(), testWidget_Count);
  EXPECT_EQ(events[0].value().get().lVal, 2);

  // Two properties: "several" with an empty value and the OR of the flags.
  w.sink->clear();
  config->SuspendEventDelivery();
  w.widget->put_Count(3);
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  w.widget->putref_Source(stream.get());  // flags 3
  config->ResumeAndFireEvent();
  events = w.sink->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].stateId(), lumStateSeveralChanged);
  EXPECT_EQ(events[0].value().type(), VT_EMPTY);
  EXPECT_EQ(events[0].flags(), 3);

  // Suspended twice, resumed once: nothing yet; the second resume delivers.
  w.sink->clear();
  config->SuspendEventDelivery();
  config->SuspendEventDelivery();
  w.widget->put_Count(4);
  config->ResumeAndFireEvent();
  EXPECT_TRUE(w.sink->events().empty());
  LONG suspended = 0;
  config->get_EventDeliverySuspended(&suspended);
  EXPECT_EQ(suspended, 1);
  config->ResumeAndFireEvent();
  EXPECT_EQ(w.sink->events().size(), 1u);

  // Resuming at 0 does nothing.
  w.sink->clear();
  EXPECT_EQ(config->ResumeAndFireEvent(), S_OK);
  EXPECT_TRUE(w.sink->events().empty());
}

TEST(ChangeEvents, TagNotifiesEveryPutWithAnEmptyValue) {
  Listened w;
  auto object = w.widget.as<ILumObject>();
  lum::Variant tag(L"station 4");
  ASSERT_EQ(object->put_Tag(*tag.ptr()), S_OK);
  ASSERT_EQ(object->putref_Tag(*tag.ptr()), S_OK);  // same value: still notifies
  const auto events = w.sink->events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].stateId(), lumStateTag);
  EXPECT_EQ(events[0].value().type(), VT_EMPTY);
  EXPECT_EQ(events[0].flags(), lumChangeSetByClient);
  lum::Variant read;
  object->get_Tag(read.put());
  EXPECT_EQ(lum::bstrView(read.get().bstrVal), L"station 4");
}

TEST(ChangeEvents, TwoThreadsSettingTheirOwnPropertiesLoseNoEvent) {
  Listened w;
  constexpr int kSteps = 2000;
  std::thread counts([&] {
    for (int i = 1; i <= kSteps; ++i)
      w.widget->put_Count(1000 + i);
  });
  std::thread scales([&] {
    for (int i = 1; i <= kSteps; ++i)
      w.widget->put_Scale(1 + i);  // 1 is the default
  });
  counts.join();
  scales.join();
  const auto events = w.sink->events();
  ASSERT_EQ(events.size(), 2u * kSteps);
  LONG lastCount = 0;
  double lastScale = 0;
  for (const auto& e : events) {
    if (e.stateId() == testWidget_Count) {
      EXPECT_GT(e.value().get().lVal, lastCount);
      lastCount = e.value().get().lVal;
    } else {
      ASSERT_EQ(e.stateId(), testWidget_Scale);
      EXPECT_GT(e.value().get().dblVal, lastScale);
      lastScale = e.value().get().dblVal;
    }
  }
  EXPECT_EQ(lastCount, 1000 + kSteps);
  EXPECT_EQ(lastScale, 1 + kSteps);
}

TEST(ChangeEvents, PreparedStateHookRunsOncePerStoredChange) {
  ComPtr<CTestWidget> widget = lum::makeComObject<CTestWidget>();
  ASSERT_EQ(widget->FinalConstruct(), S_OK);
  const int before = widget->storedCount;
  widget->put_Count(100);
  widget->put_Count(100);
  widget->put_Scale(-1);
  EXPECT_EQ(widget->storedCount, before + 1);
  lumtest::takeErrorInfo();
}

}  // namespace
