#include "components/framework/call_boundary.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "components/framework/com_error.h"
#include "components/framework/message_service_client.h"
#include "lumxip/HalvexImageProcessing.h"
#include "std/math/math_errors.h"
#include "std/pelbuf/pel_errors.h"
#include "support/error_info_probe.h"

namespace {

using lumtest::takeErrorInfo;

const CLSID kOperatorClass = lum::guid("{0420D8DA-866B-493A-9973-8B2537DB2574}");
const IID kOperatorInterface = lum::guid("{143B86F0-5412-470E-B7C4-BE56F6F25727}");

lcErrorContext context(const wchar_t* method, lcExceptionResultMap map = {}) {
  return {kOperatorClass, kOperatorInterface, method, L"Halvex.LumIPOneImageAddSubtractConst.1",
          map};
}

std::wstring textOf(uint32_t messageId) {
  return lum::messageText(messageId).value_or(L"?");
}

class CallBoundary : public ::testing::Test {
 protected:
  void SetUp() override { takeErrorInfo(); }
};

TEST_F(CallBoundary, CoreExceptionsFollowTheDefaultMap) {
  const HRESULT hr = callBoundary(context(L"Execute"), [] { throw lcPel::BadCoord(L"(3, 4)"); });
  EXPECT_EQ(hr, hresultFrom(0x8004E104));
  const auto info = takeErrorInfo();
  EXPECT_EQ(info.description, textOf(0x8004E104) + L"\r\nclass lcPel::BadCoord: (3, 4)");
  EXPECT_EQ(info.source, L"Halvex.LumIPOneImageAddSubtractConst Execute");
  EXPECT_EQ(info.iid, kOperatorInterface);
  EXPECT_EQ(info.helpContext, 0x8004E104u);
  EXPECT_FALSE(info.helpFile.empty());

  // Action 0x2 alone: the result's text only.
  EXPECT_EQ(callBoundary(context(L"Execute"), [] { throw lcPel::BadWindow(L"ignored"); }),
            hresultFrom(0x8004E103));
  EXPECT_EQ(takeErrorInfo().description, textOf(0x8004E103));

  // A code that no map knows: E_FAIL with class name and message.
  EXPECT_EQ(callBoundary(context(L"Execute"), [] { throw lcMathError::Singular(L"det 0"); }),
            E_FAIL);
  EXPECT_EQ(takeErrorInfo().description, L"class lcMathError::Singular: det 0");
}

constexpr lcExceptionResultMapEntry kLinkedMap[] = {
    mapEntry(lcMathError::Singular::kCode, hresultFrom(0x80044109), 0x4),
};
lcExceptionResultMap linkedMap() {
  return kLinkedMap;
}

constexpr lcExceptionResultMapEntry kComponentMap[] = {
    mapEntry(lcPel::BadCoord::kCode, E_INVALIDARG, 0x4),  // overrides the default entry
    mapLink(&linkedMap),
    mapEntry(lcPel::Unknown::kCode, E_FAIL, ids_LumIP_OperatorError_2),  // a message ID
};

TEST_F(CallBoundary, ComponentMapAndItsLinksComeBeforeTheDefault) {
  auto ctx = context(L"Execute", kComponentMap);
  EXPECT_EQ(callBoundary(ctx, [] { throw lcPel::BadCoord(L"xy"); }), E_INVALIDARG);
  EXPECT_EQ(takeErrorInfo().description, L"xy") << "action 0x4 appends without class name";

  EXPECT_EQ(callBoundary(ctx, [] { throw lcMathError::Singular(); }), hresultFrom(0x80044109));
  EXPECT_EQ(takeErrorInfo().description, L"no further information provided");

  EXPECT_EQ(callBoundary(ctx, [] { throw lcPel::Unknown(L"lost"); }), E_FAIL);
  const auto info = takeErrorInfo();
  EXPECT_EQ(info.description, L"Operator \"class lcPel::Unknown: lost\" at position %2 failed.")
      << "the exception's description is the message's single argument";
  EXPECT_EQ(info.helpContext, static_cast<DWORD>(ids_LumIP_OperatorError_2));
}

TEST_F(CallBoundary, ParameterCheckCarriesMessageAndHelpContext) {
  const HRESULT hr = callBoundary(context(L"put_OverflowMode"), [] {
    throwInvalidArgument(0x8004810A, lcMessageArgs(L"OverflowMode"));
  });
  EXPECT_EQ(hr, E_INVALIDARG);
  const auto info = takeErrorInfo();
  EXPECT_EQ(info.description, L"The value of OverflowMode is not a member of its enumeration.");
  EXPECT_EQ(info.helpContext, 0x8004810Au);
  EXPECT_FALSE(info.helpFile.empty());
  EXPECT_EQ(info.source, L"Halvex.LumIPOneImageAddSubtractConst put_OverflowMode")
      << "the class's own short ProgID, cut before its version";
}

TEST_F(CallBoundary, MergeModesAndPendingErrorInformation) {
  struct Case {
    int mergeMode;
    bool pending;
    std::wstring expected;
  };
  const std::wstring own = L"The object LumCollection could not be created.";
  const std::vector<Case> cases = {
      {0, false, own},
      {0, true, own},  // mode 0 ignores what is pending
      {1, false, own},
      {1, true, own + L"\r\ncallee failed"},
      {2, true, own + L"\r\ncallee failed"},
  };
  for (const Case& c : cases) {
    if (c.pending) lumtest::setPendingError(L"callee failed", L"callee.html", 77);
    const lcMessageArgs args(L"LumCollection");
    callBoundary(context(L"Run"),
                 [&] { throw lcCOMError(E_FAIL, c.mergeMode, 0x80048109, &args); });
    const auto info = takeErrorInfo();
    EXPECT_EQ(info.description, c.expected)
        << "merge mode " << c.mergeMode << " pending " << c.pending;
    if (c.pending && c.mergeMode != 0) {
      EXPECT_EQ(info.helpFile, L"callee.html") << "the callee's help is taken over";
      EXPECT_EQ(info.helpContext, 77u);
    }
  }

  // throwIfFailed passes the callee's error information on unchanged.
  lumtest::setPendingError(L"deep failure");
  EXPECT_EQ(callBoundary(context(L"Run"), [] { throwIfFailed(hresultFrom(0x8004E400)); }),
            hresultFrom(0x8004E400));
  EXPECT_EQ(takeErrorInfo().description, L"deep failure");
  // Without pending information the result code's own message describes it.
  EXPECT_EQ(callBoundary(context(L"Run"), [] { throwIfFailed(E_NOINTERFACE); }), E_NOINTERFACE);
  EXPECT_EQ(takeErrorInfo().description, textOf(0x80048085));
}

TEST_F(CallBoundary, DescriptionsAreCutOnlyWhereTheyAreMade) {
  // A core exception's description is cut at 1024 characters.
  EXPECT_EQ(callBoundary(context(L"Execute"),
                         [] { throw lcMathError::Singular(std::wstring(3000, L'x')); }),
            E_FAIL);
  EXPECT_EQ(takeErrorInfo().description.size(), 1024u);

  // A merged description is passed on whole.
  const std::wstring callee(2000, L'y');
  lumtest::setPendingError(callee.c_str());
  callBoundary(context(L"Run"), [] { throw lcCOMError(E_FAIL, 1, 0x80048109); });
  EXPECT_EQ(takeErrorInfo().description.size(), textOf(0x80048109).size() + 2 + callee.size());

  // A message with arguments is substituted into at most 1023 characters.
  callBoundary(context(L"Execute", kComponentMap),
               [] { throw lcPel::Unknown(std::wstring(3000, L'z')); });
  EXPECT_EQ(takeErrorInfo().description.size(), 1023u);
}

TEST_F(CallBoundary, FallbackDescriptionWhenTheMessageServiceIsGone) {
  lumtest::ScopedUnavailableClass gone(CLSID_LumMessageService);
  EXPECT_EQ(
      callBoundary(context(L"put_ConstantValue"),
                   [] { throwInvalidArgument(0x80048105, lcMessageArgs(L"ConstantValue", 0)); }),
      E_INVALIDARG);
  auto info = takeErrorInfo();
  EXPECT_EQ(info.description, L" - Unable to load error message 0x80048105");
  EXPECT_TRUE(info.helpFile.empty());

  callBoundary(context(L"Run"), [] { throw lcCOMError(E_POINTER, 0); });
  EXPECT_EQ(takeErrorInfo().description,
            L"Halvex.LumIPOneImageAddSubtractConst Run - Unable to load error message 0x80048084");
}

TEST_F(CallBoundary, NothingEscapesAndSuccessLeavesErrorInformationAlone) {
  EXPECT_EQ(callBoundary(context(L"Execute"), [] { throw std::bad_alloc(); }), E_OUTOFMEMORY);
  EXPECT_EQ(takeErrorInfo().description, textOf(0x80048082));

  EXPECT_EQ(callBoundary(context(L"Execute"),
                         [] { std::vector<int>().reserve(std::size_t(-1)); }),  // length_error
            E_UNEXPECTED);
  const auto info = takeErrorInfo();
  EXPECT_TRUE(info.present);
  EXPECT_NE(info.description.find(L"Unexpected C++ exception"), std::wstring::npos);
  EXPECT_EQ(callBoundary(context(L"Execute"), [] { throw 42; }), E_UNEXPECTED);
  takeErrorInfo();

  lumtest::setPendingError(L"earlier");
  EXPECT_EQ(callBoundary(context(L"get_Count"), [] {}), S_OK);
  EXPECT_EQ(callBoundary(context(L"Next"), [] { return S_FALSE; }), S_FALSE);
  EXPECT_EQ(takeErrorInfo().description, L"earlier");
}

TEST_F(CallBoundary, RunFormSaysWhatItCaught) {
  auto ctx = context(L"Run");
  EXPECT_EQ(runInBoundary(ctx, [] { throw lcPel::UnboundWindow(); }).caught,
            lcCaught::coreException);
  EXPECT_EQ(runInBoundary(ctx, [] { throw lcCOMError(E_FAIL, 0); }).caught, lcCaught::comError);
  EXPECT_EQ(runInBoundary(ctx, [] { throw std::bad_alloc(); }).caught, lcCaught::outOfMemory);
  EXPECT_EQ(runInBoundary(ctx, [] { throw std::runtime_error("x"); }).caught, lcCaught::foreign);
  EXPECT_EQ(runInBoundary(ctx, [] {}).caught, lcCaught::nothing);
  takeErrorInfo();
}

}  // namespace
