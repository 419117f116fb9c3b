#include <gtest/gtest.h>

#include <set>
#include <string>

#include "lumxip/HalvexImageProcessing.h"

namespace {

TEST(Guid, ParsesBracedAndBareTextInAnyCase) {
  constexpr GUID expected = lum::guid("{FD1986F5-29AF-11D3-8550-0050041ADDAF}");
  EXPECT_EQ(expected.Data1, 0xFD1986F5u);
  EXPECT_EQ(expected.Data2, 0x29AF);
  EXPECT_EQ(expected.Data3, 0x11D3);
  EXPECT_EQ(expected.Data4[0], 0x85);
  EXPECT_EQ(expected.Data4[7], 0xAF);

  for (const wchar_t* text :
       {L"{fd1986f5-29af-11d3-8550-0050041addaf}", L"FD1986F5-29AF-11D3-8550-0050041ADDAF"}) {
    GUID parsed;
    ASSERT_TRUE(lum::parseGuid(std::wstring_view(text), parsed)) << text;
    EXPECT_EQ(parsed, expected);
  }
  EXPECT_EQ(lum::toWString(expected), L"{FD1986F5-29AF-11D3-8550-0050041ADDAF}");
}

TEST(Guid, RejectsMalformedText) {
  const wchar_t* bad[] = {
      L"",
      L"{}",
      L"{FD1986F5-29AF-11D3-8550-0050041ADDAF",       // missing brace
      L"FD1986F5-29AF-11D3-8550-0050041ADDAF}",       // missing brace
      L"{FD1986F5+29AF-11D3-8550-0050041ADDAF}",      // wrong separator
      L"{FD1986F5-29AF-11D3-8550-0050041ADDAG}",      // not hex
      L"{FD1986F5-29AF-11D3-8550-0050041ADDA}",       // short
      L"{FD1986F5-29AF-11D3-8550-0050041ADDAFF}",     // long
      L"{FD1986F5-29AF-11D3-8550-0050041ADD\x0130}",  // non-ASCII that truncates to a digit
  };
  for (const wchar_t* text : bad) {
    CLSID clsid = lum::guid("{00000000-0000-0000-0000-000000000001}");
    EXPECT_EQ(CLSIDFromString(text, &clsid), CO_E_CLASSSTRING) << text;
    EXPECT_EQ(clsid, CLSID_NULL) << "out-parameter cleared";
  }
}

TEST(Guid, StringFromGuid2NeedsRoomForTerminator) {
  wchar_t buffer[39];
  EXPECT_EQ(StringFromGUID2(LIBID_HalvexImageProcessing, buffer, 38), 0);
  EXPECT_EQ(StringFromGUID2(LIBID_HalvexImageProcessing, buffer, 39), 39);
  EXPECT_STREQ(buffer, L"{FD1986F5-29AF-11D3-8550-0050041ADDAF}");
}

TEST(Guid, IdentifierTableHoldsNoDuplicates) {
#define LUM_LIST_IDENTIFIER(kind, name, text) kind##_##name,
  const GUID all[] = {LUM_CORE_IDENTIFIERS(LUM_LIST_IDENTIFIER) LIBID_HalvexImageProcessing};
#undef LUM_LIST_IDENTIFIER
  std::set<std::string> seen;
  for (const GUID& g : all)
    EXPECT_TRUE(seen.insert(lum::toString(g)).second) << lum::toString(g);
}

}  // namespace
