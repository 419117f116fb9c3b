#include "components/framework/advise_sink.h"

#include <gtest/gtest.h>

#include "support/test_widget.h"

namespace {

struct RecordingOwner final : lcSinkOwner {
  void onContainedEvent(LONG sinkId, DISPID dispid,
                        const std::vector<lum::Variant>& args) override {
    calls.push_back({sinkId, dispid, args.size() > 0 ? args[0].get().lVal : 0});
  }
  struct Call {
    LONG sinkId;
    DISPID dispid;
    LONG stateId;
  };
  std::vector<Call> calls;
};

TEST(AdviseSink, PassesOnWellFormedEventsOnlyAndFollowsItsObject) {
  RecordingOwner owner;
  auto sink = lum::makeComObject<lcAdviseSink>(&owner, 5);
  auto first = makeTestWidget(), second = makeTestWidget();
  ASSERT_EQ(sink->connect(first.get()), S_OK);
  first->put_Count(1);
  ASSERT_EQ(owner.calls.size(), 1u);
  EXPECT_EQ(owner.calls[0].sinkId, 5);
  EXPECT_EQ(owner.calls[0].stateId, testWidget_Count);

  // Malformed events are not passed on: wrong ID, wrong count, a state ID that is text.
  VARIANT args[3];
  for (auto& a : args)
    VariantInit(&a), a.vt = VT_I4;
  DISPPARAMS three{args, nullptr, 3, 0}, two{args, nullptr, 2, 0};
  sink->Invoke(DISPID_LumToolRan, IID_NULL, 0, DISPATCH_METHOD, &three, nullptr, nullptr, nullptr);
  sink->Invoke(DISPID_LumChangeEvent, IID_NULL, 0, DISPATCH_METHOD, &two, nullptr, nullptr,
               nullptr);
  lum::Variant text(L"id");
  args[2] = *text.ptr();
  sink->Invoke(DISPID_LumChangeEvent, IID_NULL, 0, DISPATCH_METHOD, &three, nullptr, nullptr,
               nullptr);
  EXPECT_EQ(owner.calls.size(), 1u);

  // Connected again, it listens to the new object only; detached, to nothing.
  ASSERT_EQ(sink->connect(second.get()), S_OK);
  first->put_Count(2);
  second->put_Count(3);
  ASSERT_EQ(owner.calls.size(), 2u);
  sink->setId(9);
  sink->detachOwner();
  second->put_Count(4);
  EXPECT_EQ(owner.calls.size(), 2u);
  sink->disconnect();

  ComPtr<IStream> silent;
  lum::createMemoryStream(silent.put());
  EXPECT_EQ(sink->connect(silent.get()), S_FALSE) << "an object without events";
}

}  // namespace
