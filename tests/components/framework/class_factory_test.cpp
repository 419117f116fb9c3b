#include <gtest/gtest.h>

#include "components/framework/module_registration.h"
#include "module/module.h"
#include "support/error_info_probe.h"
#include "support/test_widget.h"

namespace {

// A component whose FinalConstruct fails, as one does when a contained object cannot be
// made.
class CBrokenWidget final : public lcStdPersistAndChangeImpl<CBrokenWidget, ITestWidget> {
 public:
  static constexpr lcClassDeclaration kClass{lum::guid("{5D1E0B4A-0000-4000-8000-0000000000BB}"),
                                             L"CBrokenWidget", L"Halvex.BrokenWidget"};
  static constexpr auto ownMembers() { return lum::members(); }
  HRESULT FinalConstruct() {
    return callBoundary(context(L"FinalConstruct"),
                        [] { throwInvalidArgument(0x80048109, lcMessageArgs(L"LumCollection")); });
  }
  HRESULT get_Count(LONG*) override { return E_NOTIMPL; }
  HRESULT put_Count(LONG) override { return E_NOTIMPL; }
  HRESULT get_Scale(double*) override { return E_NOTIMPL; }
  HRESULT put_Scale(double) override { return E_NOTIMPL; }
  HRESULT get_Enabled(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT put_Enabled(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT get_Label(BSTR*) override { return E_NOTIMPL; }
  HRESULT put_Label(BSTR) override { return E_NOTIMPL; }
  HRESULT get_Mode(TestWidgetModeConstants*) override { return E_NOTIMPL; }
  HRESULT put_Mode(TestWidgetModeConstants) override { return E_NOTIMPL; }
  HRESULT get_Source(IStream**) override { return E_NOTIMPL; }
  HRESULT putref_Source(IStream*) override { return E_NOTIMPL; }
  HRESULT GetWeight(LONG, double*) override { return E_NOTIMPL; }
  HRESULT SetWeight(LONG, double) override { return E_NOTIMPL; }
  HRESULT Combine(LONG, double, BSTR, LONG, BSTR*) override { return E_NOTIMPL; }
  HRESULT Split(LONG, LONG*, LONG*) override { return E_NOTIMPL; }
};

TEST(ClassFactory, RefusesAggregationAndReportsAFailedFinalConstruct) {
  std::atomic<long> locks{0};
  auto factory = lum::makeComObject<lcClassFactory<CTestWidget>>(locks);
  ComPtr<ITestWidget> widget;
  auto outer = makeTestWidget();
  EXPECT_EQ(factory->CreateInstance(outer.get(), iid_of<ITestWidget>, widget.putVoid()),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory->CreateInstance(nullptr, iid_of<ITestWidget>, widget.putVoid()), S_OK);
  LONG count = 0;
  widget->get_Count(&count);
  EXPECT_EQ(count, 7) << "FinalConstruct set the defaults";
  factory->LockServer(TRUE);
  EXPECT_EQ(locks, 1);
  factory->LockServer(FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(locks, 0) << "an unlock without a lock is ignored";
  factory->LockServer(TRUE);
  EXPECT_EQ(locks, 1) << "and swallows no later lock";
  factory->LockServer(FALSE);

  const long before = liveComponentCount();
  auto broken = lum::makeComObject<lcClassFactory<CBrokenWidget>>(locks);
  ComPtr<ITestWidget> none;
  lumtest::takeErrorInfo();
  EXPECT_EQ(broken->CreateInstance(nullptr, iid_of<ITestWidget>, none.putVoid()), E_INVALIDARG);
  EXPECT_FALSE(none);
  EXPECT_EQ(liveComponentCount(), before) << "the half-made object is freed";
  const auto info = lumtest::takeErrorInfo();
  EXPECT_EQ(info.source, L"Halvex.BrokenWidget FinalConstruct");
  EXPECT_EQ(info.description, L"The object LumCollection could not be created.");
}

TEST(Module, RegistersItsClassesAndReportsWhetherItCanUnload) {
  {
    const lcModule module({lcModuleClass::of<CTestWidget>()});
    ComPtr<ITestWidget> byProgId;
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(L"Halvex.TestWidget.1", &clsid), S_OK);
    EXPECT_EQ(clsid, CTestWidget::kClass.clsid);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(module.getClassObject(clsid, iid_of<IClassFactory>, factory.putVoid()), S_OK);
    const bool quietBefore = module.canUnloadNow() == S_OK;
    ASSERT_EQ(factory->CreateInstance(nullptr, iid_of<ITestWidget>, byProgId.putVoid()), S_OK);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE) << "a live object";
    byProgId.reset();
    factory->LockServer(TRUE);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE) << "a server lock";
    factory->LockServer(FALSE);
    EXPECT_EQ(module.canUnloadNow() == S_OK, quietBefore);
    EXPECT_EQ(module.getClassObject(CLSID_NULL, iid_of<IClassFactory>, factory.putVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
  }
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(L"Halvex.TestWidget", &clsid), CO_E_CLASSSTRING)
      << "revoked when the module goes";
}

TEST(Module, TheLibraryExportsItsEntryPoints) {
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(DllGetClassObject(CLSID_NULL, iid_of<IClassFactory>, factory.putVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  const HRESULT canUnload = DllCanUnloadNow();
  EXPECT_TRUE(canUnload == S_OK || canUnload == S_FALSE);
}

}  // namespace
