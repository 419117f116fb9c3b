#include <gtest/gtest.h>

#include <functional>

#include "components/framework/collection_impl.h"
#include "components/framework/module_registration.h"
#include "support/collections.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"
#include "support/test_holder.h"

namespace {

// A typed collection that accepts only widgets and allows them twice, without events:
// the archive's policy.
class CWidgetBag final : public lcVariantCollectionImpl<CWidgetBag> {
 public:
  static constexpr lcClassDeclaration kClass{lum::guid("{5D1E0B4A-0000-4000-8000-00000000BA60}"),
                                             L"CWidgetBag", L"Halvex.TestWidgetBag"};
  static constexpr lcCollectionPolicy kCollectionPolicy{&iid_of<ITestWidget>, false, false, true};
  static constexpr auto ownMembers() { return lum::members(); }
};

std::wstring keyAt(ILumCollection* c, LONG index) {
  lum::Bstr key;
  c->get_Key(index, key.put());
  return key.str();
}

TEST(Collection, AddsAtAnIndexAndRefusesDuplicatesUnderTheRefusingPolicy) {
  auto collection = makeCollection();
  auto a = makeTestWidget(), b = makeTestWidget();
  ASSERT_EQ(collection->Add(*asItem(a.get()).ptr(), nullptr, -1), S_OK);
  EXPECT_EQ(collection->Add(*asItem(a.get()).ptr(), nullptr, -1), hresultFrom(0x8004C184));
  EXPECT_FALSE(lumtest::takeErrorInfo().description.empty());
  EXPECT_EQ(collection->Add(*asItem(b.get()).ptr(), nullptr, 2), hresultFrom(0x8004C180))
      << "Count + 1 is beyond the end";
  ASSERT_EQ(collection->Add(*asItem(b.get()).ptr(), nullptr, 1), S_OK) << "Count appends";
  ASSERT_EQ(collection->Add(*lum::Variant(L"text").ptr(), lum::Bstr(L"k").get(), 0), S_OK);
  EXPECT_EQ(countOf(collection.get()), 3);
  LONG index = -2;
  collection->FindItem(*asItem(b.get()).ptr(), &index);
  EXPECT_EQ(index, 2);
  collection->FindKey(lum::Bstr(L"k").get(), &index);
  EXPECT_EQ(index, 0);
  collection->FindKey(lum::Bstr(L"absent").get(), &index);
  EXPECT_EQ(index, -1);
  lum::Variant item;
  EXPECT_EQ(collection->get_Item(3, item.put()), hresultFrom(0x8004C180));
  lumtest::takeErrorInfo();

  auto bag = lum::makeComObject<CWidgetBag>();
  ASSERT_EQ(bag->FinalConstruct(), S_OK);
  EXPECT_EQ(bag->Add(*asItem(a.get()).ptr(), nullptr, -1), S_OK);
  EXPECT_EQ(bag->Add(*asItem(a.get()).ptr(), nullptr, -1), S_OK)
      << "the archive's policy allows it";
  EXPECT_EQ(bag->Add(*lum::Variant(3).ptr(), nullptr, -1), E_INVALIDARG) << "widgets only";
  lumtest::takeErrorInfo();
}

TEST(Collection, EventsFollowEachChangeWithTheirArguments) {
  auto collection = makeCollection();
  auto recorder = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
  adviseSink(collection.get(), recorder.get(), DIID_ILumCollectionEvents);
  LONG countSeen = -1;
  recorder->onEvent = [&](const EventRecorder::Event&) { countSeen = countOf(collection.get()); };

  std::vector<ComPtr<ITestWidget>> widgets;
  for (int i = 0; i < 3; ++i) {
    widgets.push_back(makeTestWidget());
    collection->Add(*asItem(widgets.back().get()).ptr(), nullptr, -1);
  }
  EXPECT_EQ(countSeen, 3) << "delivered after the change";
  ASSERT_EQ(collection->Move(0, 2), S_OK);
  ASSERT_EQ(collection->Remove(*lum::Variant(1).ptr()), S_OK);
  auto replacement = makeTestWidget();
  ASSERT_EQ(collection->putref_Item(0, *asItem(replacement.get()).ptr()), S_OK);
  ASSERT_EQ(collection->Clear(), S_OK);

  struct Expected {
    DISPID dispid;
    std::vector<LONG> integers;  // the integer arguments in declaration order
  };
  const std::vector<Expected> expected = {{1152, {0}}, {1152, {1}}, {1152, {2}}, {1153, {0, 2}},
                                          {1157, {1}}, {1156, {0}}, {1154, {}}};
  const auto events = recorder->events();
  ASSERT_EQ(events.size(), expected.size());
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].dispid, expected[i].dispid) << i;
    for (std::size_t a = 0; a < expected[i].integers.size(); ++a)
      EXPECT_EQ(events[i].args.at(a).get().lVal, expected[i].integers[a]) << i;
  }
  EXPECT_EQ(events[4].args.size(), 2u) << "removed carries the item";
  EXPECT_TRUE(lum::sameObject(events[4].args[1].get().punkVal, widgets[2].get()));
  EXPECT_TRUE(lum::sameObject(events[5].args[1].get().punkVal, widgets[1].get()))
      << "replaced carries the old item";
}

TEST(Collection, ItemChangesArriveAsStateMinusTwoWithTheCurrentIndex) {
  auto collection = makeCollection();
  auto changes = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
  adviseSink(collection.get(), changes.get(), DIID_ILumCollectionEvents);
  auto first = makeTestWidget(), second = makeTestWidget();
  collection->Add(*asItem(first.get()).ptr(), nullptr, -1);
  collection->Add(*asItem(second.get()).ptr(), nullptr, -1);
  collection->Move(0, 1);  // first is now at 1
  changes->clear();

  first->put_Count(55);
  auto events = changes->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].dispid, DISPID_LumChangeEvent);
  EXPECT_EQ(events[0].stateId(), lumStateItemChanged);
  EXPECT_EQ(events[0].flags(), lumChangeSetByClient);
  IDispatch* info = events[0].value().get().pdispVal;
  ComPtr<ILumEventInfo> eventInfo;
  ASSERT_EQ(info->QueryInterface(iid_of<ILumEventInfo>, eventInfo.putVoid()), S_OK);
  LONG index = -1, count = 0, dispid = 0;
  eventInfo->get_SenderIndex(&index);
  eventInfo->get_ArgumentCount(&count);
  eventInfo->get_EventDispID(&dispid);
  EXPECT_EQ(index, 1) << "reported with its new index";
  EXPECT_EQ(count, 3);
  EXPECT_EQ(dispid, DISPID_LumChangeEvent);
  lum::Variant argument;
  ASSERT_EQ(eventInfo->GetArgument(0, argument.put()), S_OK);
  EXPECT_EQ(argument.get().lVal, testWidget_Count) << "arguments in declaration order";
  eventInfo->GetArgument(1, argument.put());
  EXPECT_EQ(argument.get().lVal, 55);
  EXPECT_EQ(eventInfo->GetArgument(3, argument.put()), E_INVALIDARG);
  ComPtr<IUnknown> sender;
  eventInfo->get_Sender(sender.put());
  EXPECT_TRUE(lum::sameObject(sender.get(), first.get()));

  // While suspended, a second item change turns the pending state into "several".
  auto config = collection.as<ILumChangeEventConfiguration>();
  changes->clear();
  config->SuspendEventDelivery();
  first->put_Count(56);
  second->put_Count(57);
  config->ResumeAndFireEvent();
  events = changes->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].stateId(), lumStateSeveralChanged);

  // A removed item is no longer listened to.
  collection->Remove(*lum::Variant(0).ptr());
  changes->clear();
  second->put_Count(58);
  EXPECT_TRUE(changes->events().empty());
}

TEST(Collection, CollectionsAndItemsAreFreedWhenReleased) {
  const long before = liveComponentCount();
  {
    auto collection = makeCollection();
    auto inner = makeCollection();  // a container holding a container
    for (int i = 0; i < 3; ++i)
      inner->Add(*asItem(makeTestWidget().get()).ptr(), nullptr, -1);
    collection->Add(*asItem(inner.get()).ptr(), nullptr, -1);
    EXPECT_EQ(liveComponentCount(), before + 5);
  }
  EXPECT_EQ(liveComponentCount(), before) << "no reference cycle through the sinks";
}

TEST(Collection, EnumeratesAndAnswersByName) {
  auto collection = makeCollection();
  collection->Add(*lum::Variant(1).ptr(), nullptr, -1);
  collection->Add(*lum::Variant(2).ptr(), nullptr, -1);
  ComPtr<IUnknown> unknown;
  ASSERT_EQ(collection->get__NewEnum(unknown.put()), S_OK);
  auto enumerator = unknown.as<IEnumVARIANT>();
  VARIANT items[3];
  ULONG fetched = 0;
  EXPECT_EQ(enumerator->Next(3, items, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(items[1].lVal, 2);
  VariantClear(&items[0]);
  VariantClear(&items[1]);

  // Item is the default member: a script's collection(0).
  DISPPARAMS params{};
  VARIANT index;
  VariantInit(&index);
  index.vt = VT_I4;
  index.lVal = 0;
  params.rgvarg = &index;
  params.cArgs = 1;
  lum::Variant result;
  ASSERT_EQ(collection->Invoke(DISPID_VALUE, IID_NULL, 0, DISPATCH_PROPERTYGET, &params,
                               result.put(), nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.get().lVal, 1);
}

TEST(Collection, NullObjectsAreValuesAndRemoveWantsAnArgument) {
  auto collection = makeCollection();
  const lum::Variant none(static_cast<IUnknown*>(nullptr));
  ASSERT_EQ(collection->Add(*none.ptr(), nullptr, -1), S_OK);
  EXPECT_EQ(collection->Add(*none.ptr(), nullptr, -1), S_OK) << "a null object is no duplicate";
  LONG index = -1;
  collection->FindItem(*none.ptr(), &index);
  EXPECT_EQ(index, 0);

  EXPECT_EQ(collection->Remove(*lum::Variant().ptr()), E_INVALIDARG);
  EXPECT_EQ(countOf(collection.get()), 2) << "no argument removes nothing";

  auto bag = lum::makeComObject<CWidgetBag>();
  ASSERT_EQ(bag->FinalConstruct(), S_OK);
  EXPECT_EQ(bag->Add(*none.ptr(), nullptr, -1), E_INVALIDARG) << "a typed collection holds objects";
  lumtest::takeErrorInfo();
}

// An object with events whose connection point refuses every sink.
class RefusingSource final : public lum::ComObject<IConnectionPointContainer, IConnectionPoint> {
 public:
  HRESULT EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT FindConnectionPoint(REFIID, IConnectionPoint** point) override {
    *point = this;
    AddRef();
    return S_OK;
  }
  HRESULT GetConnectionInterface(IID*) override { return E_NOTIMPL; }
  HRESULT GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
  HRESULT Advise(IUnknown*, DWORD*) override { return CONNECT_E_ADVISELIMIT; }
  HRESULT Unadvise(DWORD) override { return CONNECT_E_NOCONNECTION; }
  HRESULT EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }
};

TEST(Collection, AnItemThatRefusesItsSinkIsNotAdded) {
  auto collection = makeCollection();
  auto source = lum::makeComObject<RefusingSource>();
  EXPECT_EQ(
      collection->Add(*asItem(static_cast<IConnectionPoint*>(source.get())).ptr(), nullptr, -1),
      CONNECT_E_ADVISELIMIT);
  EXPECT_EQ(countOf(collection.get()), 0);
  lumtest::takeErrorInfo();
}

// A collection raises the change event through its collection event interface.
TEST(Collection, ANestedCollectionsItemChangeReachesTheOuterSinkWithItsIndex) {
  auto outer = makeCollection(), inner = makeCollection();
  auto widget = makeTestWidget();
  inner->Add(*lum::Variant(1).ptr(), nullptr, -1);
  inner->Add(*asItem(widget.get()).ptr(), nullptr, -1);
  outer->Add(*lum::Variant(L"first").ptr(), nullptr, -1);
  outer->Add(*lum::Variant(L"second").ptr(), nullptr, -1);
  outer->Add(*asItem(inner.get()).ptr(), nullptr, -1);
  auto changes = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
  adviseSink(outer.get(), changes.get(), DIID_ILumCollectionEvents);

  widget->put_Count(5);
  const auto events = changes->events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].stateId(), lumStateItemChanged);
  auto outerInfo = infoOf(events[0].value());
  ASSERT_TRUE(outerInfo);
  EXPECT_EQ(senderIndexOf(outerInfo.get()), 2) << "the inner collection's place in the outer";
  ComPtr<IUnknown> sender;
  outerInfo->get_Sender(sender.put());
  EXPECT_TRUE(lum::sameObject(sender.get(), inner.get()));
  lum::Variant innerChange;
  outerInfo->GetArgument(1, innerChange.put());
  auto innerInfo = infoOf(innerChange);
  ASSERT_TRUE(innerInfo) << "the inner collection's own -2 change, passed on";
  EXPECT_EQ(senderIndexOf(innerInfo.get()), 1) << "the widget's place in the inner";
}

// Four keyed items: a widget, a number, a collection holding the same widget again, and
// a text. Cloning and a stream round trip both keep items, keys, order and sharing, and
// the copy listens to its own items.
TEST(Collection, ItemsKeysOrderAndSharingSurviveCloneAndStream) {
  testClassesModule();
  auto outer = makeCollection(), inner = makeCollection();
  auto widget = makeTestWidget();
  widget->put_Count(42);
  inner->Add(*lum::Variant(L"inside").ptr(), nullptr, -1);
  inner->Add(*asItem(widget.get()).ptr(), lum::Bstr(L"again").get(), -1);
  const std::pair<const wchar_t*, lum::Variant> items[] = {{L"widget", asItem(widget.get())},
                                                           {L"number", lum::Variant(7)},
                                                           {L"inner", asItem(inner.get())},
                                                           {L"text", lum::Variant(L"hello")}};
  for (const auto& [key, item] : items)
    ASSERT_EQ(outer->Add(*item.ptr(), lum::Bstr(key).get(), -1), S_OK);

  const std::pair<const char*, std::function<ComPtr<ILumCollection>()>> routes[] = {
      {"clone",
       [&] {
         ComPtr<ILumObject> copy;
         EXPECT_EQ(outer.as<ILumObject>()->Clone(copy.put()), S_OK);
         return copy.as<ILumCollection>();
       }},
      {"stream", [&] {
         ComPtr<IStream> stream;
         lum::createMemoryStream(stream.put());
         EXPECT_EQ(outer.as<IPersistStream>()->Save(stream.get(), FALSE), S_OK);
         stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
         auto copy = makeCollection();
         EXPECT_EQ(copy.as<IPersistStream>()->Load(stream.get()), S_OK);
         return copy;
       }}};
  for (const auto& [route, copyOf] : routes) {
    SCOPED_TRACE(route);
    auto copy = copyOf();
    ASSERT_EQ(countOf(copy.get()), 4);
    for (LONG i = 0; i < 4; ++i)
      EXPECT_EQ(keyAt(copy.get(), i), items[i].first);
    EXPECT_EQ(itemAt(copy.get(), 1).get().lVal, 7);
    EXPECT_EQ(lum::bstrView(itemAt(copy.get(), 3).get().bstrVal), L"hello");

    auto widgetCopy = ComPtr<IUnknown>(itemAt(copy.get(), 0).get().punkVal).as<ITestWidget>();
    ASSERT_TRUE(widgetCopy);
    EXPECT_FALSE(lum::sameObject(widgetCopy.get(), widget.get()));
    LONG count = 0;
    widgetCopy->get_Count(&count);
    EXPECT_EQ(count, 42);
    auto innerCopy = ComPtr<IUnknown>(itemAt(copy.get(), 2).get().punkVal).as<ILumCollection>();
    ASSERT_TRUE(innerCopy);
    EXPECT_FALSE(lum::sameObject(innerCopy.get(), inner.get()));
    ASSERT_EQ(countOf(innerCopy.get()), 2);
    EXPECT_EQ(lum::bstrView(itemAt(innerCopy.get(), 0).get().bstrVal), L"inside");
    EXPECT_EQ(keyAt(innerCopy.get(), 1), L"again");
    EXPECT_TRUE(lum::sameObject(itemAt(innerCopy.get(), 1).get().punkVal, widgetCopy.get()))
        << "held twice, copied once";

    auto changes = lum::makeComObject<EventRecorder>(DIID_ILumCollectionEvents);
    adviseSink(copy.get(), changes.get(), DIID_ILumCollectionEvents);
    widgetCopy->put_Count(43);
    EXPECT_EQ(changes->events().size(), 2u) << "directly, and through the inner copy";
  }
}

}  // namespace
