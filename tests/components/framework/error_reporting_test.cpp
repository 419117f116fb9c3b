#include "components/framework/error_reporting.h"

#include <gtest/gtest.h>

#include "support/error_info_probe.h"

namespace {

TEST(MessageArgs, HoldsTextsAndDecimalIntegersInOrder) {
  const lcMessageArgs args(L"KernelValue", -255, 9'000'000'000);
  EXPECT_EQ(args.count(), 3);
  EXPECT_STREQ(args.arg(0), L"KernelValue");
  EXPECT_STREQ(args.arg(1), L"-255");
  EXPECT_STREQ(args.arg(2), L"9000000000");
  EXPECT_EQ(args.arg(3), nullptr);
  EXPECT_EQ(args.arg(-1), nullptr);

  lcMessageArgs copy = args;  // integers live in the copy's own slots
  EXPECT_NE(copy.arg(1), args.arg(1));
  EXPECT_STREQ(copy.arg(1), L"-255");

  lcMessageArgs full = lcMessageArgs::texts({L"a", L"b", L"c", L"d"});
  full.add(L"e");  // a fifth is ignored
  EXPECT_EQ(full.count(), 4);
}

TEST(SubstituteArguments, ReplacesMarkersOneToNine) {
  const lcMessageArgs args = lcMessageArgs::texts({L"X", L"", L"Z"});
  struct Case {
    const wchar_t* text;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"%1 and %3", L"X and Z"},
      {L"%2 stays when empty", L"%2 stays when empty"},
      {L"%4 stays when absent, %0 and %a too", L"%4 stays when absent, %0 and %a too"},
      {L"100%", L"100%"},
      {L"%%1", L"%X"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(substituteArguments(c.text, &args, 1023), c.expected);
  EXPECT_EQ(substituteArguments(L"%1", nullptr, 1023), L"%1");
  EXPECT_EQ(substituteArguments(std::wstring(2000, L'a'), &args, 1023).size(), 1023u);
}

TEST(ErrorSource, ProgIdCutAtItsSecondDotOrTheClassId) {
  const CLSID clsid = lum::guid("{0420D8DA-866B-493A-9973-8B2537DB2574}");
  EXPECT_EQ(errorSource({clsid, IID_NULL, L"Run", L"Halvex.LumIPOneImageTool.1"}),
            L"Halvex.LumIPOneImageTool Run");
  EXPECT_EQ(errorSource({clsid, IID_NULL, L"Run", L"Halvex.LumIPOneImageTool"}),
            L"Halvex.LumIPOneImageTool Run");
  EXPECT_EQ(errorSource({clsid, IID_NULL, L"Run", nullptr}),
            L"{0420D8DA-866B-493A-9973-8B2537DB2574} Run");
  EXPECT_EQ(errorSource({CLSID_NULL, IID_NULL, L"Run", nullptr}), L"");
}

TEST(MessageIdForResult, MapsStandardCodesAndFacilityFour) {
  EXPECT_EQ(messageIdForResult(hresultFrom(0x8004E400), 0), 0x8004E400u);
  EXPECT_EQ(messageIdForResult(hresultFrom(0x8004E400), 2), 0u);
  EXPECT_EQ(messageIdForResult(E_INVALIDARG, 2), 0x80048083u);
  EXPECT_EQ(messageIdForResult(CO_E_BAD_PATH, 0), 0x8004808Du);
  EXPECT_EQ(messageIdForResult(S_OK, 0), 0x80048400u);
  EXPECT_EQ(messageIdForResult(E_NOTIMPL, 0), 0u);
}

TEST(ReportError, MergeModeTwoWithoutMessageKeepsOnlyThePendingText) {
  lumtest::takeErrorInfo();
  const lcErrorContext context{CLSID_NULL, IID_NULL, L"Run", L"Halvex.LumHistogramTool.1"};
  lumtest::setPendingError(L"from below");
  EXPECT_EQ(reportError(context, hresultFrom(0x8004E105), 2), hresultFrom(0x8004E105));
  const auto info = lumtest::takeErrorInfo();
  EXPECT_EQ(info.description, L"from below");
  EXPECT_EQ(info.source, L"Halvex.LumHistogramTool Run");
}

}  // namespace
