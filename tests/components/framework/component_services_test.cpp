#include <gtest/gtest.h>

#include "components/framework/managed_bridge.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"
#include "support/test_widget.h"

namespace {

TEST(ComponentServices, NullOutPointersGiveEPointerWithoutErrorInformation) {
  auto widget = makeTestWidget();
  lumtest::takeErrorInfo();
  EXPECT_EQ(widget->get_Count(nullptr), E_POINTER);
  EXPECT_EQ(widget->get_Label(nullptr), E_POINTER);
  EXPECT_EQ(widget.as<ILumObject>()->get_Tag(nullptr), E_POINTER);
  EXPECT_FALSE(lumtest::takeErrorInfo().present);
}

TEST(ComponentServices, ErrorAndClassInformation) {
  auto widget = makeTestWidget();
  EXPECT_EQ(widget.as<ISupportErrorInfo>()->InterfaceSupportsErrorInfo(iid_of<IStream>), S_OK);
  auto classInfo = widget.as<IProvideClassInfo2>();
  GUID source{};
  ASSERT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_EQ(source, DIID_ILumChangeEvent);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(classInfo->GetClassInfo(info.put()), S_OK);
  lum::Bstr name;
  info->GetName(name.put());
  EXPECT_EQ(name.view(), L"TestWidget");
  GUID clsid{};
  info->GetGuid(&clsid);
  EXPECT_EQ(clsid, CTestWidget::kClass.clsid);
}

TEST(ComponentServices, CreateObjectByProgIdOrClassId) {
  auto object = makeTestWidget().as<ILumObject>();
  ComPtr<IUnknown> created;
  EXPECT_EQ(object->CreateObject(lum::Bstr(L"{not-a-class}").get(), created.put()),
            CO_E_CLASSSTRING);
  EXPECT_EQ(object->CreateObject(lum::Bstr(L"Halvex.NoSuchClass").get(), created.put()),
            CO_E_CLASSSTRING);
  EXPECT_EQ(object->CreateObject(nullptr, created.put()), E_INVALIDARG);
  lum::Bstr name;
  ASSERT_EQ(object->GetLocalComputerName(name.put()), S_OK);
  EXPECT_EQ(name.view(), lum::localComputerName());
}

// A managed layer that makes counterparts which record the events handed to them.
class FakeManagedFactory final : public lum::ComObject<ILumManagedFactory> {
 public:
  HRESULT CreateCounterpart(BSTR assembly, BSTR typeName, IUnknown*, REFIID,
                            IUnknown** out) override {
    lastAssembly = lum::bstrView(assembly);
    lastTypeName = lum::bstrView(typeName);
    counterpart = lum::makeComObject<EventRecorder>();
    return counterpart.copyTo(reinterpret_cast<EventRecorder**>(out));
  }
  std::wstring lastAssembly, lastTypeName;
  ComPtr<EventRecorder> counterpart;
};

TEST(ComponentServices, ManagedCounterpartIsMadeOnceAndHearsEventsFirst) {
  auto widget = makeTestWidget();
  auto bridge = widget.as<ILumComInternal>();
  ComPtr<IUnknown> counterpart;
  EXPECT_EQ(bridge->GetImpl(counterpart.put()), E_FAIL) << "no managed factory installed";
  lumtest::takeErrorInfo();

  auto factory = lum::makeComObject<FakeManagedFactory>();
  lum::setManagedCounterpartFactory(factory.get());
  ASSERT_EQ(bridge->GetImpl(counterpart.put()), S_OK);
  EXPECT_EQ(factory->lastTypeName, L"Halvex.Optiline.ImageProcessing.TestWidget");
  EXPECT_EQ(factory->lastAssembly, L"Halvex.Optiline.ImageProcessing");
  ComPtr<IUnknown> again;
  bridge->GetImpl(again.put());
  EXPECT_EQ(again.get(), counterpart.get()) << "made on first use only";

  widget->put_Count(99);
  ASSERT_EQ(factory->counterpart->events().size(), 1u);
  EXPECT_EQ(factory->counterpart->events()[0].stateId(), testWidget_Count);

  lcDotNetShutdown::notifyShutdown();
  widget->put_Count(100);
  EXPECT_EQ(factory->counterpart->events().size(), 1u) << "nothing reaches a shut-down layer";
  auto other = makeTestWidget().as<ILumComInternal>();
  EXPECT_EQ(other->GetImpl(counterpart.put()), E_FAIL);
  lumtest::takeErrorInfo();
  lcDotNetShutdown::reset();
  lum::setManagedCounterpartFactory(nullptr);
  bridge->SetImpl(nullptr);  // the counterpart holds nothing of ours, but be tidy
}

}  // namespace
