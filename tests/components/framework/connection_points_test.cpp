#include <gtest/gtest.h>

#include "support/event_recorder.h"
#include "support/test_widget.h"

namespace {

ComPtr<IConnectionPoint> changePoint(ITestWidget* widget) {
  ComPtr<IConnectionPointContainer> container;
  widget->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid());
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(DIID_ILumChangeEvent, point.put()), S_OK);
  return point;
}

TEST(ConnectionPoints, ArgumentsArriveFlagsValueStateIdInArrayOrder) {
  auto widget = makeTestWidget();
  auto sink = lum::makeComObject<EventRecorder>();
  adviseSink(widget.get(), sink.get());
  widget->put_Label(lum::Bstr(L"x").get());
  const auto events = sink->events();
  ASSERT_EQ(events.size(), 1u);
  const auto& e = events[0];
  // The recorder lists arguments in declaration order: state ID, value, flags; in the
  // DISPPARAMS array they stand reversed: flags, value, state ID.
  EXPECT_EQ(e.args.size(), 3u);
  EXPECT_EQ(e.args[0].get().lVal, testWidget_Label);
  EXPECT_EQ(e.args[1].type(), VT_BSTR);
  EXPECT_EQ(e.args[2].get().lVal, lumChangeSetByClient);
}

TEST(ConnectionPoints, CookiesAreOneBasedFirstFreeSlots) {
  auto widget = makeTestWidget();
  auto point = changePoint(widget.get());
  std::vector<ComPtr<EventRecorder>> sinks;
  std::vector<DWORD> cookies;
  for (int i = 0; i < 20; ++i) {  // past the first 16 entries: the list grows
    sinks.push_back(lum::makeComObject<EventRecorder>());
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sinks.back().get(), &cookie), S_OK);
    cookies.push_back(cookie);
  }
  EXPECT_EQ(cookies.front(), 1u);
  EXPECT_EQ(cookies.back(), 20u);
  ASSERT_EQ(point->Unadvise(3), S_OK);
  DWORD reused = 0;
  point->Advise(sinks[2].get(), &reused);
  EXPECT_EQ(reused, 3u) << "the first free entry is taken again";

  EXPECT_EQ(point->Unadvise(99), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(point->Unadvise(0), CONNECT_E_NOCONNECTION);
  ComPtr<IStream> notASink;
  lum::createMemoryStream(notASink.put());
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(notASink.get(), &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(point->Advise(nullptr, &cookie), E_POINTER);

  ComPtr<IEnumConnections> connections;
  ASSERT_EQ(point->EnumConnections(connections.put()), S_OK);
  CONNECTDATA data[32];
  ULONG fetched = 0;
  connections->Next(32, data, &fetched);
  EXPECT_EQ(fetched, 20u);
  for (ULONG i = 0; i < fetched; ++i)
    data[i].pUnk->Release();
}

TEST(ConnectionPoints, SinksMayUnadviseOrCallBackAndFailuresDoNotStopOthers) {
  auto widget = makeTestWidget();
  auto point = changePoint(widget.get());
  auto leaving = lum::makeComObject<EventRecorder>();
  auto failing = lum::makeComObject<EventRecorder>();
  auto reentrant = lum::makeComObject<EventRecorder>();
  auto last = lum::makeComObject<EventRecorder>();
  DWORD leavingCookie = 0, cookie = 0;
  point->Advise(leaving.get(), &leavingCookie);
  point->Advise(failing.get(), &cookie);
  point->Advise(reentrant.get(), &cookie);
  point->Advise(last.get(), &cookie);
  leaving->onEvent = [&](const auto&) { point->Unadvise(leavingCookie); };
  failing->result = E_FAIL;
  LONG seenInside = 0;
  reentrant->onEvent = [&](const auto&) { widget->get_Count(&seenInside); };  // no deadlock

  widget->put_Count(42);
  EXPECT_EQ(leaving->events().size(), 1u);
  EXPECT_EQ(failing->events().size(), 1u);
  EXPECT_EQ(reentrant->events().size(), 1u);
  EXPECT_EQ(last->events().size(), 1u) << "a failing sink does not stop the others";
  EXPECT_EQ(seenInside, 42) << "the sink sees the stored value";

  widget->put_Count(43);
  EXPECT_EQ(leaving->events().size(), 1u) << "it unadvised itself";
  EXPECT_EQ(last->events().size(), 2u);
}

TEST(ConnectionPoints, ContainerKnowsOnlyItsEventInterface) {
  auto widget = makeTestWidget();
  ComPtr<IConnectionPointContainer> container;
  widget->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid());
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(DIID_ILumToolEvents, point.put()),
            CONNECT_E_NOCONNECTION);
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(container->EnumConnectionPoints(points.put()), S_OK);
  ULONG fetched = 0;
  ASSERT_EQ(points->Next(1, point.put(), &fetched), S_OK);
  IID iid{};
  point->GetConnectionInterface(&iid);
  EXPECT_EQ(iid, DIID_ILumChangeEvent);
  ComPtr<IConnectionPointContainer> back;
  point->GetConnectionPointContainer(back.put());
  EXPECT_TRUE(lum::sameObject(back.get(), widget.get()));
}

}  // namespace
