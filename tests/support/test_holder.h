#pragma once
// A component that holds two widgets, for persistence and copy tests.

#include "components/framework/module_registration.h"
#include "support/test_widget.h"

enum TestHolderStateIDs : LONG {
  testHolder_First = 0x1240001,
  testHolder_Second = 0x1240002,
  testHolder_Name = 0x1240003,
};

LUM_INTERFACE_ID(ITestHolder, IDispatch, lum::guid("{5D1E0B4A-0000-4000-8000-0000000040AD}"));
struct LUM_VISIBLE ITestHolder : IDispatch {
  virtual HRESULT get_First(ITestWidget** value) = 0;
  virtual HRESULT putref_First(ITestWidget* value) = 0;
  virtual HRESULT get_Second(ITestWidget** value) = 0;
  virtual HRESULT putref_Second(ITestWidget* value) = 0;
  virtual HRESULT get_Name(BSTR* value) = 0;
  virtual HRESULT put_Name(BSTR value) = 0;
};

class CTestHolder final : public lcStdPersistAndChangeImpl<CTestHolder, ITestHolder> {
 public:
  static constexpr lcClassDeclaration kClass{lum::guid("{5D1E0B4A-0000-4000-8000-00000000C40D}"),
                                             L"CTestHolder", L"Halvex.TestHolder"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::first_>(L"First", testHolder_First).byReference().flags(3),
                        prop<&Self::second_>(L"Second", testHolder_Second).byReference().flags(3),
                        prop<&Self::name_>(L"Name", testHolder_Name));
  }
  LUM_PROPERTY_REF(First, ITestWidget, first_)
  LUM_PROPERTY_REF(Second, ITestWidget, second_)
  LUM_PROPERTY(Name, BSTR, name_)

 private:
  ComPtr<ITestWidget> first_, second_;
  lum::Bstr name_;
};

inline ComPtr<ITestHolder> makeTestHolder() {
  ComPtr<ITestHolder> holder;
  CTestHolder::createInstance(nullptr, iid_of<ITestHolder>, holder.putVoid());
  return holder;
}

// Registers the test classes so that loading can make them by class identifier.
inline const lcModule& testClassesModule() {
  static const lcModule module(
      {lcModuleClass::of<CTestWidget>(), lcModuleClass::of<CTestHolder>()});
  return module;
}
