#include <gtest/gtest.h>

#include "lumxip/platform.h"

namespace {

TEST(Bstr, CarriesLengthPrefixAndEmbeddedNulls) {
  const wchar_t text[] = {L'a', L'\0', L'b'};
  BSTR s = SysAllocStringLen(text, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(SysStringByteLen(s), 3 * sizeof(wchar_t));
  EXPECT_EQ(s[3], L'\0') << "terminated after the counted characters";
  EXPECT_EQ(lum::bstrView(s), std::wstring_view(text, 3));
  SysFreeString(s);

  EXPECT_EQ(SysStringLen(nullptr), 0u) << "null is the empty string";
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  SysFreeString(nullptr);
}

TEST(Bstr, WrapperOwnsCopiesAndHandsOver) {
  lum::Bstr a(L"grey");
  lum::Bstr b = a;
  EXPECT_NE(a.get(), b.get()) << "copy allocates";
  EXPECT_EQ(a, b);
  BSTR handedOut = b.detach();
  EXPECT_TRUE(b.empty());
  lum::Bstr back = lum::Bstr::attach(handedOut);
  EXPECT_EQ(back.view(), L"grey");
  EXPECT_EQ(lum::Bstr(L"").get(), nullptr) << "empty text is held as null";
}

TEST(Utf8, RoundTripsAndReplacesInvalidInput) {
  const std::wstring text = L"Gr\u00fc\u00dfe \u6771 \U0001F600";
  EXPECT_EQ(lum::fromUtf8(lum::toUtf8(text)), text);
  EXPECT_EQ(lum::toUtf8(L"\u00e9"), "\xc3\xa9");

  struct Case {
    std::string bytes;
    std::wstring expected;
  };
  const Case cases[] = {
      {"a\xff"
       "b",
       L"a\ufffdb"},                // byte that never starts a sequence
      {"\xc3", L"\ufffd"},          // truncated sequence
      {"\xc0\xaf", L"\ufffd"},      // overlong encoding of '/'
      {"\xed\xa0\x80", L"\ufffd"},  // a surrogate
      {"\xe2\x82"
       "x",
       L"\ufffdx"},  // continuation missing, next byte kept
  };
  for (const Case& c : cases)
    EXPECT_EQ(lum::fromUtf8(c.bytes), c.expected);
  EXPECT_EQ(lum::toUtf8(std::wstring(1, wchar_t(0xD800))), "\xef\xbf\xbd");
}

}  // namespace
