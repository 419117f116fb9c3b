#pragma once
// A small component on the component machinery, with one member of each kind, for the
// framework's tests.

#include "components/framework/component.h"

enum TestWidgetModeConstants : LONG {
  testWidgetModeFast = 0,
  testWidgetModeExact = 1,
};

enum TestWidgetStateIDs : LONG {
  testWidget_Count = 0x1230001,
  testWidget_Scale = 0x1230002,
  testWidget_Enabled = 0x1230003,
  testWidget_Label = 0x1230004,
  testWidget_Mode = 0x1230005,
  testWidget_Source = 0x1230006,
  testWidget_Weight = 0x1230007,
  testWidget_Combine = 0x1230010,
  testWidget_Split = 0x1230011,
};

LUM_INTERFACE_ID(ITestWidget, IDispatch, lum::guid("{5D1E0B4A-0000-4000-8000-00000000BEEF}"));
struct LUM_VISIBLE ITestWidget : IDispatch {
  virtual HRESULT get_Count(LONG* value) = 0;
  virtual HRESULT put_Count(LONG value) = 0;
  virtual HRESULT get_Scale(double* value) = 0;
  virtual HRESULT put_Scale(double value) = 0;
  virtual HRESULT get_Enabled(VARIANT_BOOL* value) = 0;
  virtual HRESULT put_Enabled(VARIANT_BOOL value) = 0;
  virtual HRESULT get_Label(BSTR* value) = 0;
  virtual HRESULT put_Label(BSTR value) = 0;
  virtual HRESULT get_Mode(TestWidgetModeConstants* value) = 0;
  virtual HRESULT put_Mode(TestWidgetModeConstants value) = 0;
  virtual HRESULT get_Source(IStream** value) = 0;
  virtual HRESULT putref_Source(IStream* value) = 0;
  virtual HRESULT GetWeight(LONG position, double* weight) = 0;
  virtual HRESULT SetWeight(LONG position, double weight) = 0;
  // "<a>|<b>|<c>|<d>"; d is optional (default 0).
  virtual HRESULT Combine(LONG a, double b, BSTR c, LONG d, BSTR* result) = 0;
  // high = value / 100 (by reference), low = value % 100 (the result).
  virtual HRESULT Split(LONG value, LONG* high, LONG* low) = 0;
};

inline constexpr const wchar_t* kTestWidgetModeNames[] = {L"testWidgetModeFast",
                                                          L"testWidgetModeExact"};

class CTestWidget final : public lcStdPersistAndChangeImpl<CTestWidget, ITestWidget> {
 public:
  static constexpr lcClassDeclaration kClass{lum::guid("{5D1E0B4A-0000-4000-8000-00000000C1A5}"),
                                             L"CTestWidget", L"Halvex.TestWidget"};

  static constexpr auto ownMembers() {
    return lum::members(
        prop<&Self::count_>(L"Count", testWidget_Count).byDefault(7),
        prop<&Self::scale_>(L"Scale", testWidget_Scale).byDefault(1.0).checkedBy(atLeast(0.0)),
        prop<&Self::enabled_>(L"Enabled", testWidget_Enabled).byDefault(true),
        prop<&Self::label_>(L"Label", testWidget_Label).byDefault(L"unnamed"),
        prop<&Self::mode_>(L"Mode", testWidget_Mode)
            .checkedBy(enumRange(testWidgetModeFast, testWidgetModeExact, kTestWidgetModeNames)),
        prop<&Self::source_>(L"Source", testWidget_Source).byReference().flags(3).notPersisted(),
        indexedProp<&Self::GetWeight, &Self::SetWeight>(L"Weight", testWidget_Weight),
        method<&Self::Combine>(L"Combine", testWidget_Combine).optionalFrom(3),
        method<&Self::Split>(L"Split", testWidget_Split));
  }

  LUM_PROPERTY(Count, LONG, count_)
  LUM_PROPERTY(Scale, double, scale_)
  LUM_PROPERTY(Enabled, VARIANT_BOOL, enabled_)
  LUM_PROPERTY(Label, BSTR, label_)
  LUM_PROPERTY(Mode, TestWidgetModeConstants, mode_)
  LUM_PROPERTY_REF(Source, IStream, source_)

  HRESULT GetWeight(LONG position, double* weight) override {
    if (weight == nullptr) return E_POINTER;
    return callBoundary(context(L"GetWeight"), [&] {
      checkPosition(position);
      lcLockGuard guard(core().lock());
      *weight = weights_[position];
    });
  }
  HRESULT SetWeight(LONG position, double weight) override {
    return callBoundary(context(L"SetWeight"), [&] {
      checkPosition(position);
      {
        lcLockGuard guard(core().lock());
        if (weights_[position] == weight) return;
        weights_[position] = weight;
      }
      core().fireChange(testWidget_Weight, lum::Variant(weight).get(), lumChangeSetByClient);
    });
  }
  HRESULT Combine(LONG a, double b, BSTR c, LONG d, BSTR* result) override {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    const std::wstring text = std::to_wstring(a) + L"|" + std::to_wstring(b) + L"|" +
                              std::wstring(lum::bstrView(c)) + L"|" + std::to_wstring(d);
    return lum::allocBstr(text, result);
  }
  HRESULT Split(LONG value, LONG* high, LONG* low) override {
    if (high == nullptr || low == nullptr) return E_POINTER;
    *high = value / 100;
    *low = value % 100;
    return S_OK;
  }

  // Counts the stores of prepared state that a real component would rebuild.
  int storedCount = 0;
  void afterPropertyStored(DISPID) { ++storedCount; }

 private:
  void checkPosition(LONG position) const {
    if (position < 0 || position >= 3) throwInvalidArgument(0x8004810F, lcMessageArgs(L"Weight"));
  }

  LONG count_;
  double scale_;
  lcBool enabled_;
  lum::Bstr label_;
  TestWidgetModeConstants mode_;
  ComPtr<IStream> source_;
  double weights_[3] = {};
};

// Makes a widget the way a class factory does.
inline ComPtr<ITestWidget> makeTestWidget() {
  ComPtr<ITestWidget> widget;
  CTestWidget::createInstance(nullptr, iid_of<ITestWidget>, widget.putVoid());
  return widget;
}
