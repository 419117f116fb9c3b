#include <gtest/gtest.h>

#include <functional>

#include "support/dispatch_call.h"
#include "support/error_info_probe.h"
#include "support/test_widget.h"

namespace {

using lumtest::call;
using lumtest::idOf;

TEST(Dispatch, PropertiesByNameGoThroughTheSetter) {
  auto widget = makeTestWidget();
  IDispatch* d = widget.get();
  EXPECT_EQ(idOf(d, L"count"), testWidget_Count) << "names are not case-sensitive";
  ASSERT_EQ(call(d, L"Count", DISPATCH_PROPERTYPUT, {lum::Variant(L"12")}), S_OK);
  LONG count = 0;
  widget->get_Count(&count);
  EXPECT_EQ(count, 12) << "text converts to the property's type";

  lum::Variant value;
  ASSERT_EQ(call(d, L"Scale", DISPATCH_PROPERTYGET, {}, &value), S_OK);
  EXPECT_EQ(value.type(), VT_R8);
  EXPECT_EQ(call(d, L"Scale", DISPATCH_PROPERTYPUT, {lum::Variant(-3.0)}), E_INVALIDARG);
  EXPECT_FALSE(lumtest::takeErrorInfo().description.empty()) << "the setter's error passes through";
  EXPECT_EQ(call(d, L"Count", DISPATCH_PROPERTYPUT, {lum::Variant(L"twelve")}),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(call(d, L"Count", DISPATCH_PROPERTYPUT, {lum::Variant(3e10)}), DISP_E_OVERFLOW);

  // Inherited members: Tag, HasChanged, EventDeliverySuspended.
  ASSERT_EQ(call(d, L"Tag", DISPATCH_PROPERTYPUT, {lum::Variant(5)}), S_OK);
  ASSERT_EQ(call(d, L"HasChanged", DISPATCH_PROPERTYGET, {}, &value), S_OK);
  EXPECT_EQ(value.get().boolVal, VARIANT_TRUE);
  ASSERT_EQ(call(d, L"SuspendEventDelivery", DISPATCH_METHOD, {}), S_OK);
  ASSERT_EQ(call(d, L"EventDeliverySuspended", DISPATCH_PROPERTYGET, {}, &value), S_OK);
  EXPECT_EQ(value.get().lVal, 1);

  // An object property by reference.
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  ASSERT_EQ(call(d, L"Source", DISPATCH_PROPERTYPUTREF,
                 {lum::Variant(static_cast<IUnknown*>(stream.get()))}),
            S_OK);
  ComPtr<IStream> held;
  widget->get_Source(held.put());
  EXPECT_EQ(held.get(), stream.get());
  EXPECT_EQ(call(d, L"Source", DISPATCH_PROPERTYPUTREF, {lum::Variant(1)}), DISP_E_TYPEMISMATCH);
}

TEST(Dispatch, IndexedPropertiesAndMethods) {
  auto widget = makeTestWidget();
  IDispatch* d = widget.get();
  ASSERT_EQ(call(d, L"Weight", DISPATCH_PROPERTYPUT, {lum::Variant(2), lum::Variant(0.75)}), S_OK);
  lum::Variant value;
  ASSERT_EQ(call(d, L"Weight", DISPATCH_PROPERTYGET, {lum::Variant(2)}, &value), S_OK);
  EXPECT_EQ(value.get().dblVal, 0.75);
  EXPECT_EQ(call(d, L"Weight", DISPATCH_PROPERTYGET, {lum::Variant(3)}, &value), E_INVALIDARG);
  lumtest::takeErrorInfo();

  // Three arguments and an omitted optional one; then all four.
  ASSERT_EQ(call(d, L"Combine", DISPATCH_METHOD,
                 {lum::Variant(1), lum::Variant(L"2.5"), lum::Variant(L"c")}, &value),
            S_OK);
  EXPECT_EQ(lum::bstrView(value.get().bstrVal), L"1|2.500000|c|0");
  ASSERT_EQ(call(d, L"Combine", DISPATCH_METHOD,
                 {lum::Variant(1), lum::Variant(2.0), lum::Variant(L"c"), lum::Variant(9)}, &value),
            S_OK);
  EXPECT_EQ(lum::bstrView(value.get().bstrVal), L"1|2.000000|c|9");

  // An out argument by reference, and the result.
  LONG high = 0;
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_BYREF | VT_I4;
  byRef.plVal = &high;
  lum::Variant ref(byRef);
  ASSERT_EQ(call(d, L"Split", DISPATCH_METHOD, {lum::Variant(1234), ref}, &value), S_OK);
  EXPECT_EQ(high, 12);
  EXPECT_EQ(value.get().lVal, 34);
}

TEST(Dispatch, RefusesUnknownNamesWrongCountsAndMissingArguments) {
  auto widget = makeTestWidget();
  IDispatch* d = widget.get();
  EXPECT_EQ(idOf(d, L"NoSuchThing"), DISPID_UNKNOWN);
  lum::Variant value;
  EXPECT_EQ(call(d, L"Combine", DISPATCH_METHOD, {lum::Variant(1)}, &value), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(
      call(d, L"Combine", DISPATCH_METHOD,
           {lum::Variant(1), lum::Variant(2), lum::Variant(L"c"), lum::Variant(4), lum::Variant(5)},
           &value),
      DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(d, L"Combine", DISPATCH_METHOD,
                 {lum::Variant(1), lum::Variant::error(DISP_E_PARAMNOTFOUND), lum::Variant(L"c")},
                 &value),
            DISP_E_PARAMNOTOPTIONAL);
  EXPECT_EQ(call(d, L"Combine", DISPATCH_METHOD,
                 {lum::Variant(L"one"), lum::Variant(2), lum::Variant(L"c")}, &value),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(d->Invoke(0x7777, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(call(d, L"Count", DISPATCH_PROPERTYGET, {lum::Variant(1)}, &value),
            DISP_E_BADPARAMCOUNT);
}

TEST(Dispatch, ExceptionInfoReceivesTheSettersError) {
  auto widget = makeTestWidget();
  IDispatch* d = widget.get();
  VARIANT negative;
  VariantInit(&negative);
  negative.vt = VT_R8;
  negative.dblVal = -1;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{&negative, &put, 1, 1};
  EXCEPINFO exception{};
  EXPECT_EQ(d->Invoke(testWidget_Scale, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr,
                      &exception, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, E_INVALIDARG);
  EXPECT_EQ(lum::bstrView(exception.bstrSource), L"Halvex.TestWidget put_Scale");
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  lumtest::takeErrorInfo();
}

TEST(Dispatch, OnlyFailuresTheMemberReportsBecomeExceptions) {
  auto widget = makeTestWidget();
  IDispatch* d = widget.get();
  struct Case {
    const char* name;
    DISPID id;
    WORD flags;
    std::vector<lum::Variant> args;  // declaration order
    HRESULT expected, scode;
    UINT argError;
  };
  const Case cases[] = {
      {"a put that does not convert",
       testWidget_Count,
       DISPATCH_PROPERTYPUT,
       {lum::Variant(1e20)},
       DISP_E_OVERFLOW,
       0,
       0},
      {"an argument that does not convert",
       testWidget_Combine,
       DISPATCH_METHOD,
       {lum::Variant(1), lum::Variant(2.0), lum::Variant(L"c"), lum::Variant(1e20)},
       DISP_E_OVERFLOW,
       0,
       0},
      {"a member that fails without reporting",
       DISPID_LumObject_CreateObject,
       DISPATCH_METHOD,
       {lum::Variant(L"{not a class}")},
       CO_E_CLASSSTRING,
       0,
       99},
      {"a member that reports",
       testWidget_Scale,
       DISPATCH_PROPERTYPUT,
       {lum::Variant(-1.0)},
       DISP_E_EXCEPTION,
       E_INVALIDARG,
       99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    lumtest::setPendingError(L"left by an earlier call");
    std::vector<VARIANT> reversed;
    for (auto it = c.args.rbegin(); it != c.args.rend(); ++it)
      reversed.push_back(*it->ptr());
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = c.flags & DISPATCH_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), isPut ? &put : nullptr, UINT(reversed.size()),
                      isPut ? 1u : 0u};
    EXCEPINFO exception{};
    UINT argError = 99;
    lum::Variant result;
    EXPECT_EQ(d->Invoke(c.id, IID_NULL, 0, c.flags, &params, result.put(), &exception, &argError),
              c.expected);
    EXPECT_EQ(exception.scode, c.scode);
    EXPECT_EQ(argError, c.argError);
    const std::wstring_view description = lum::bstrView(exception.bstrDescription);
    EXPECT_EQ(description.find(L"earlier"), std::wstring_view::npos);
    const auto left = lumtest::takeErrorInfo();
    EXPECT_EQ(left.description == L"left by an earlier call", c.expected != DISP_E_EXCEPTION)
        << "earlier information stays unless the member reports its own";
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
  }
}

TEST(Dispatch, AVariantPropertyKeepsTheValueNotTheCallersReference) {
  auto widget = makeTestWidget();
  auto object = widget.as<ILumObject>();
  LONG callers = 5;
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_BYREF | VT_I4;
  byRef.plVal = &callers;
  const std::function<HRESULT()> ways[] = {
      [&] { return object->put_Tag(byRef); },
      [&] { return object->putref_Tag(byRef); },
      [&] {
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params{&byRef, &put, 1, 1};
        return widget->Invoke(DISPID_LumObject_Tag, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params,
                              nullptr, nullptr, nullptr);
      },
  };
  for (std::size_t way = 0; way < std::size(ways); ++way) {
    callers = 5;
    ASSERT_EQ(ways[way](), S_OK) << way;
    callers = 6;
    lum::Variant tag;
    object->get_Tag(tag.put());
    EXPECT_EQ(tag.type(), VT_I4) << way;
    EXPECT_EQ(tag.get().lVal, 5) << way;
  }
}

}  // namespace
