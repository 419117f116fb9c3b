#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "lumxip/platform.h"

namespace {

using lum::Variant;

// One conversion: source value, target type, separator in force, and the expected
// result code and value (as the text VariantChangeType gives back under ".").
struct Conversion {
  const char* name;
  Variant source;
  VARTYPE target;
  wchar_t separator;
  HRESULT expected;
  Variant value;  // checked when expected succeeds
};

Variant text(const wchar_t* s) {
  return Variant(s);
}

bool sameValue(const VARIANT& a, const VARIANT& b) {
  if (a.vt != b.vt) return false;
  switch (a.vt) {
    case VT_R8:
      return a.dblVal == b.dblVal || (std::isnan(a.dblVal) && std::isnan(b.dblVal));
    case VT_R4:
      return a.fltVal == b.fltVal;
    default:
      return VarCmp(&a, &b, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
  }
}

std::string describe(const VARIANT& v) {
  Variant copy(v);
  lum::ScopedDecimalSeparator dot(L'.');
  if (FAILED(copy.changeType(VT_BSTR))) return "vt=" + std::to_string(v.vt);
  return "vt=" + std::to_string(v.vt) + " '" + lum::toUtf8(lum::bstrView(copy.get().bstrVal)) + "'";
}

TEST(VariantChangeType, ConversionTable) {
  const Conversion table[] = {
      // text to number honours the user's decimal separator, and only it
      {"comma decimal", text(L"1,5"), VT_R8, L',', S_OK, Variant(1.5)},
      {"dot under comma", text(L"1.5"), VT_R8, L',', DISP_E_TYPEMISMATCH, {}},
      {"dot decimal", text(L" -2.25e1 "), VT_R8, L'.', S_OK, Variant(-22.5)},
      {"plus sign", text(L"+7"), VT_I4, L'.', S_OK, Variant(7)},
      {"not a number", text(L"abc"), VT_I4, L'.', DISP_E_TYPEMISMATCH, {}},
      {"empty text", text(L""), VT_I4, L'.', DISP_E_TYPEMISMATCH, {}},
      {"hex is not read", text(L"0x10"), VT_I4, L'.', DISP_E_TYPEMISMATCH, {}},
      {"text rounds", text(L"2.5"), VT_I4, L'.', S_OK, Variant(2)},
      {"text overflow", text(L"70000"), VT_I2, L'.', DISP_E_OVERFLOW, {}},
      {"huge exponent", text(L"1e400"), VT_R8, L'.', DISP_E_OVERFLOW, {}},
      // ranges
      {"I4 to I2 overflow", Variant(70000), VT_I2, L'.', DISP_E_OVERFLOW, {}},
      {"I4 to I2 fits", Variant(-32768), VT_I2, L'.', S_OK, Variant(int16_t(-32768))},
      {"negative to UI1", Variant(-1), VT_UI1, L'.', DISP_E_OVERFLOW, {}},
      {"R8 to R4 overflow", Variant(1e300), VT_R4, L'.', DISP_E_OVERFLOW, {}},
      {"NaN to I4", Variant(std::nan("")), VT_I4, L'.', DISP_E_OVERFLOW, {}},
      {"2^31 to I4", Variant(2147483648.0), VT_I4, L'.', DISP_E_OVERFLOW, {}},
      // floating to integer rounds half to even
      {"2.5 to I4", Variant(2.5), VT_I4, L'.', S_OK, Variant(2)},
      {"3.5 to I4", Variant(3.5), VT_I4, L'.', S_OK, Variant(4)},
      {"-2.5 to I4", Variant(-2.5), VT_I4, L'.', S_OK, Variant(-2)},
      {"2.500001 to I4", Variant(2.500001), VT_I4, L'.', S_OK, Variant(3)},
      {"254.5 to UI1", Variant(254.5), VT_UI1, L'.', S_OK, Variant(uint8_t(254))},
      {"255.5 to UI1", Variant(255.5), VT_UI1, L'.', DISP_E_OVERFLOW, {}},
      // booleans
      {"true is -1", Variant(true), VT_I4, L'.', S_OK, Variant(-1)},
      {"non-zero is true", Variant(0.25), VT_BOOL, L'.', S_OK, Variant(true)},
      {"bool to text", Variant(true), VT_BSTR, L'.', S_OK, text(L"-1")},
      {"text True", text(L"tRuE"), VT_BOOL, L'.', S_OK, Variant(true)},
      {"text 0", text(L"0"), VT_BOOL, L'.', S_OK, Variant(false)},
      // numbers to text use the separator and read back exactly
      {"R8 to text", Variant(0.1), VT_BSTR, L',', S_OK, text(L"0,1")},
      {"R4 to text", Variant(0.1f), VT_BSTR, L'.', S_OK, text(L"0.1")},
      {"I4 to text", Variant(-42), VT_BSTR, L'.', S_OK, text(L"-42")},
      // EMPTY and NULL
      {"empty to I4", Variant(), VT_I4, L'.', S_OK, Variant(0)},
      {"empty to text", Variant(), VT_BSTR, L'.', S_OK, text(L"")},
      {"null to I4", Variant::null(), VT_I4, L'.', DISP_E_TYPEMISMATCH, {}},
      {"error to I4", Variant::error(E_FAIL), VT_I4, L'.', DISP_E_TYPEMISMATCH, {}},
  };
  for (const Conversion& c : table) {
    lum::ScopedDecimalSeparator separator(c.separator);
    Variant result(7);
    const HRESULT hr = VariantChangeType(result.ptr(), c.source.ptr(), 0, c.target);
    EXPECT_EQ(hr, c.expected) << c.name;
    if (SUCCEEDED(c.expected)) {
      EXPECT_TRUE(sameValue(result.get(), c.value.get()))
          << c.name << ": got " << describe(result.get()) << ", want " << describe(c.value.get());
    } else {
      EXPECT_EQ(result.type(), VT_I4) << c.name << ": destination untouched on failure";
    }
  }
}

TEST(VariantChangeType, IntegerTargetsTakeTheirEndsAndRefuseWhatLiesBeyond) {
  // Each target's ends and the values just beyond them, as text and as doubles (the
  // highest double at or below the top end, and the lowest one above it).
  struct Bounds {
    VARTYPE target;
    const wchar_t *lowest, *highest, *belowLowest, *aboveHighest;
    double low, high, belowLow, aboveHigh;
  };
  const Bounds table[] = {
      {VT_I1, L"-128", L"127", L"-129", L"128", -128, 127, -129, 128},
      {VT_UI1, L"0", L"255", L"-1", L"256", 0, 255, -1, 256},
      {VT_I2, L"-32768", L"32767", L"-32769", L"32768", -32768, 32767, -32769, 32768},
      {VT_UI2, L"0", L"65535", L"-1", L"65536", 0, 65535, -1, 65536},
      {VT_I4, L"-2147483648", L"2147483647", L"-2147483649", L"2147483648", -0x1p31, 0x1p31 - 1,
       -0x1p31 - 1, 0x1p31},
      {VT_UI4, L"0", L"4294967295", L"-1", L"4294967296", 0, 0x1p32 - 1, -1, 0x1p32},
      {VT_I8, L"-9223372036854775808", L"9223372036854775807", L"-9223372036854775809",
       L"9223372036854775808", -0x1p63, 0x1p63 - 1024, -0x1p63 - 2048, 0x1p63},
      {VT_UI8, L"0", L"18446744073709551615", L"-1", L"18446744073709551616", 0, 0x1p64 - 2048, -1,
       0x1p64},
  };
  lum::ScopedDecimalSeparator dot(L'.');
  for (const Bounds& b : table) {
    SCOPED_TRACE(b.target);
    for (const wchar_t* end : {b.lowest, b.highest}) {
      Variant value;
      ASSERT_EQ(VariantChangeType(value.ptr(), text(end).ptr(), 0, b.target), S_OK) << end;
      ASSERT_EQ(value.changeType(VT_BSTR), S_OK);
      EXPECT_EQ(lum::bstrView(value.get().bstrVal), end);
    }
    for (double end : {b.low, b.high}) {
      Variant value;
      ASSERT_EQ(VariantChangeType(value.ptr(), Variant(end).ptr(), 0, b.target), S_OK) << end;
      ASSERT_EQ(value.changeType(VT_R8), S_OK);
      EXPECT_EQ(value.get().dblVal, end);
    }
    Variant value;
    for (const wchar_t* beyond : {b.belowLowest, b.aboveHighest})
      EXPECT_EQ(VariantChangeType(value.ptr(), text(beyond).ptr(), 0, b.target), DISP_E_OVERFLOW)
          << beyond;
    for (double beyond : {b.belowLow, b.aboveHigh})
      EXPECT_EQ(VariantChangeType(value.ptr(), Variant(beyond).ptr(), 0, b.target), DISP_E_OVERFLOW)
          << beyond;
  }
}

TEST(VariantChangeType, AlphaBoolAndInvariantLocale) {
  lum::ScopedDecimalSeparator comma(L',');
  Variant b(false);
  ASSERT_EQ(b.changeType(VT_BSTR, VARIANT_ALPHABOOL), S_OK);
  EXPECT_EQ(lum::bstrView(b.get().bstrVal), L"False");

  Variant half(0.5), out;
  ASSERT_EQ(VariantChangeTypeEx(out.ptr(), half.ptr(), LOCALE_INVARIANT, 0, VT_BSTR), S_OK);
  EXPECT_EQ(lum::bstrView(out.get().bstrVal), L"0.5");
}

TEST(VariantChangeType, ShortestTextReadsBackExactly) {
  lum::ScopedDecimalSeparator comma(L',');
  for (double d : {0.1, 1.0 / 3, 1e-310, 123456789.125, -0.0, std::numeric_limits<double>::max()}) {
    Variant v(d);
    ASSERT_EQ(v.changeType(VT_BSTR), S_OK);
    ASSERT_EQ(v.changeType(VT_R8), S_OK);
    EXPECT_EQ(v.get().dblVal, d);
  }
}

TEST(VariantChangeType, InPlaceByReferenceAndObjects) {
  // In place: the old string is freed, the new value replaces it.
  Variant v(L"12");
  ASSERT_EQ(VariantChangeType(v.ptr(), v.ptr(), 0, VT_I4), S_OK);
  EXPECT_EQ(v.get().lVal, 12);

  // A by-reference source converts the value it refers to.
  double target = 3.5;
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_BYREF | VT_R8;
  ref.pdblVal = &target;
  Variant converted;
  ASSERT_EQ(VariantChangeType(converted.ptr(), &ref, 0, VT_I2), S_OK);
  EXPECT_EQ(converted.get().iVal, 4);

  // Objects convert to objects only.
  ComPtr<IStream> stream;
  ASSERT_EQ(lum::createMemoryStream(stream.put()), S_OK);
  Variant object(static_cast<IUnknown*>(stream.get()));
  Variant asDispatch;
  EXPECT_EQ(VariantChangeType(asDispatch.ptr(), object.ptr(), 0, VT_DISPATCH), DISP_E_TYPEMISMATCH)
      << "a stream has no IDispatch";
  EXPECT_EQ(VariantChangeType(asDispatch.ptr(), object.ptr(), 0, VT_I4), DISP_E_TYPEMISMATCH);
}

}  // namespace
