#include <gtest/gtest.h>

#include <memory>

#include "std/archive/archive.h"
#include "std/math/math_errors.h"
#include "std/pelbuf/pel_errors.h"

namespace {

TEST(Exception, NamesItsClassAsDescriptionsSpellIt) {
  const lcPel::BadWindow badWindow;
  EXPECT_STREQ(badWindow.className(), L"class lcPel::BadWindow");
  EXPECT_STREQ(lcArchive::Eof().className(), L"class lcArchive::Eof");
  EXPECT_STREQ(lcBadPointer().className(), L"class lcBadPointer");
}

TEST(Exception, RaiseThrowsTheMostDerivedTypeThroughABaseReference) {
  std::unique_ptr<lcException> held = std::make_unique<lcPel::BadCoord>(L"(5, 7)");
  try {
    held->raise();
    FAIL() << "raise returned";
  } catch (const lcPel::BadCoord& e) {
    EXPECT_EQ(e.messageText(), L"(5, 7)");
  }
  // A whole module is caught by its group.
  EXPECT_THROW(lcPel::NonlinearXform().raise(), lcPel::Errors);
  EXPECT_THROW(lcArchive::UnknownVersion("xflinear", 42).raise(), lcArchive::Errors);
}

TEST(Exception, MessagesFallBackToTheDefaultText) {
  EXPECT_EQ(lcPel::UnboundWindow().messageText(), L"no further information provided");
  EXPECT_EQ(lcPel::UnboundWindow(L"").messageText(), L"no further information provided");
  EXPECT_EQ(lcPel::UnboundWindow(static_cast<const wchar_t*>(nullptr)).messageText(),
            L"no further information provided");
  const lcArchive::UnknownVersion unknown("xflinear", 42);
  EXPECT_EQ(unknown.source(), "xflinear");
  EXPECT_NE(unknown.messageText().find(L"xflinear"), std::wstring::npos);
}

TEST(Exception, UnknownErrorWritesItsValueInUpperCaseHex) {
  EXPECT_EQ(lcUnknownError(0x2a).messageText(), L"Internal error code: 0x0000002A");
  EXPECT_EQ(lcUnknownError(0x8004E104).messageText(), L"Internal error code: 0x8004E104");
  EXPECT_TRUE(lcUnknownError(0).text().empty());
}

}  // namespace
