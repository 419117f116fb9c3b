#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "lumxip/platform.h"

namespace {

using lum::Variant;

TEST(VarCmp, OrdersMixedTypes) {
  struct Case {
    const char* name;
    Variant left, right;
    HRESULT expected;
  };
  const Case cases[] = {
      {"I4 vs R8 equal", Variant(2), Variant(2.0), VARCMP_EQ},
      {"UI1 vs I2", Variant(uint8_t(200)), Variant(int16_t(-5)), VARCMP_GT},
      {"BOOL true is -1", Variant(true), Variant(-1), VARCMP_EQ},
      {"EMPTY is 0", Variant(), Variant(0.0), VARCMP_EQ},
      {"EMPTY is empty text", Variant(), Variant(L""), VARCMP_EQ},
      {"EMPTY below text", Variant(), Variant(L"a"), VARCMP_LT},
      {"number below text", Variant(1e9), Variant(L"1"), VARCMP_LT},
      {"text above number", Variant(L"0"), Variant(5), VARCMP_GT},
      {"texts", Variant(L"abc"), Variant(L"abd"), VARCMP_LT},
      {"prefix", Variant(L"ab"), Variant(L"abc"), VARCMP_LT},
      {"NULL", Variant::null(), Variant(1), VARCMP_NULL},
      {"R4 vs R8 of the same float", Variant(0.5f), Variant(0.5), VARCMP_EQ},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VarCmp(c.left.ptr(), c.right.ptr(), LOCALE_USER_DEFAULT, 0), c.expected) << c.name;

  Variant upper(L"GREY"), lower(L"grey");
  EXPECT_EQ(VarCmp(upper.ptr(), lower.ptr(), LOCALE_USER_DEFAULT, NORM_IGNORECASE), VARCMP_EQ);
  EXPECT_EQ(VarCmp(upper.ptr(), lower.ptr(), LOCALE_USER_DEFAULT, 0), VARCMP_LT);
}

Variant i8(int64_t value) {
  Variant v;
  v.ptr()->vt = VT_I8;
  v.ptr()->llVal = value;
  return v;
}

Variant ui8(uint64_t value) {
  Variant v;
  v.ptr()->vt = VT_UI8;
  v.ptr()->ullVal = value;
  return v;
}

TEST(VarCmp, ComparesLargeIntegersExactly) {
  constexpr int64_t k2To53 = int64_t{1} << 53;
  const double two53 = 0x1p53, two63 = 0x1p63, two64 = 0x1p64;
  struct Case {
    const char* name;
    Variant left, right;
    HRESULT expected;
  };
  const Case cases[] = {
      {"I8 neighbours that share a double", i8(k2To53 + 1), i8(k2To53 + 2), VARCMP_LT},
      {"UI8 max against I8", ui8(UINT64_MAX), i8(k2To53 + 1), VARCMP_GT},
      {"I8 one above a double", i8(k2To53 + 1), Variant(two53), VARCMP_GT},
      {"double one below an I8", Variant(two53), i8(k2To53 + 1), VARCMP_LT},
      {"negative I8 one below a double", i8(-k2To53 - 1), Variant(-two53), VARCMP_LT},
      {"I8 max below 2^63", i8(INT64_MAX), Variant(two63), VARCMP_LT},
      {"I8 min is -2^63", i8(INT64_MIN), Variant(-two63), VARCMP_EQ},
      {"UI8 max below 2^64", ui8(UINT64_MAX), Variant(two64), VARCMP_LT},
      {"integer below a fraction above it", Variant(2), Variant(2.5), VARCMP_LT},
      {"negative integer above a fraction below it", Variant(-2), Variant(-2.5), VARCMP_GT},
      {"integer below infinity", i8(INT64_MAX), Variant(HUGE_VAL), VARCMP_LT},
      {"integer above NaN", Variant(0), Variant(std::nan("")), VARCMP_GT},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VarCmp(c.left.ptr(), c.right.ptr(), LOCALE_USER_DEFAULT, 0), c.expected) << c.name;
}

TEST(VarCmp, ObjectsAreNotOrdered) {
  ComPtr<IStream> stream;
  ASSERT_EQ(lum::createMemoryStream(stream.put()), S_OK);
  Variant object(static_cast<IUnknown*>(stream.get()));
  EXPECT_EQ(VarCmp(object.ptr(), object.ptr(), LOCALE_USER_DEFAULT, 0), DISP_E_TYPEMISMATCH);
}

TEST(Variant, CopyIsDeepAndClearReleases) {
  ComPtr<IStream> stream;
  ASSERT_EQ(lum::createMemoryStream(stream.put()), S_OK);
  IUnknown* raw = stream.get();
  {
    Variant a(raw);
    Variant b = a;  // AddRef
    EXPECT_EQ(raw->AddRef(), 4u) << "ours, two variants, this call";
    raw->Release();
    Variant s(L"text"), t = s;
    EXPECT_NE(s.get().bstrVal, t.get().bstrVal);
  }
  EXPECT_EQ(raw->AddRef(), 2u) << "both variants released their references";
  raw->Release();
}

TEST(Variant, CopyIndFollowsReferencesAndRejectsUnknownTypes) {
  BSTR inner = SysAllocString(L"inside");
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_BYREF | VT_BSTR;
  ref.pbstrVal = &inner;
  Variant copy;
  ASSERT_EQ(VariantCopyInd(copy.ptr(), &ref), S_OK);
  EXPECT_EQ(copy.type(), VT_BSTR);
  EXPECT_NE(copy.get().bstrVal, inner) << "the string is duplicated";
  SysFreeString(inner);

  VARIANT odd;
  VariantInit(&odd);
  odd.vt = VT_DECIMAL;
  Variant target(5);
  EXPECT_EQ(VariantCopy(target.ptr(), &odd), DISP_E_BADVARTYPE);
  EXPECT_EQ(target.type(), VT_I4) << "destination untouched";
}

TEST(SafeArray, VectorOfVariantsWithLowerBound) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, -1, 3);
  ASSERT_NE(array, nullptr);
  LONG lower = 0, upper = 0;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  EXPECT_EQ(lower, -1);
  EXPECT_EQ(upper, 1);

  LONG index = 0;
  Variant text(L"middle");
  ASSERT_EQ(SafeArrayPutElement(array, &index, text.ptr()), S_OK);
  index = 2;
  EXPECT_EQ(SafeArrayPutElement(array, &index, text.ptr()), DISP_E_BADINDEX);
  index = -2;
  Variant out;
  EXPECT_EQ(SafeArrayGetElement(array, &index, out.ptr()), DISP_E_BADINDEX);

  // A VARIANT holding the array copies it deeply.
  Variant holder;
  holder.ptr()->vt = VT_ARRAY | VT_VARIANT;
  holder.ptr()->parray = array;
  Variant copy = holder;
  ASSERT_NE(copy.get().parray, array);
  index = 0;
  ASSERT_EQ(SafeArrayGetElement(copy.get().parray, &index, out.ptr()), S_OK);
  EXPECT_EQ(lum::bstrView(out.get().bstrVal), L"middle");
  VARTYPE vt = VT_EMPTY;
  SafeArrayGetVartype(copy.get().parray, &vt);
  EXPECT_EQ(vt, VT_VARIANT);
}

TEST(SafeArray, LockedArrayIsNotDestroyed) {
  SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, 4);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(bytes, &data), S_OK);
  static_cast<BYTE*>(data)[3] = 9;
  EXPECT_EQ(SafeArrayDestroy(bytes), DISP_E_ARRAYISLOCKED);
  SafeArrayUnaccessData(bytes);
  LONG index = 3;
  BYTE value = 0;
  SafeArrayGetElement(bytes, &index, &value);
  EXPECT_EQ(value, 9);
  EXPECT_EQ(SafeArrayDestroy(bytes), S_OK);
  SAFEARRAYBOUND twoDims[2] = {{2, 0}, {2, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 2, twoDims), nullptr) << "one dimension only";
}

}  // namespace
