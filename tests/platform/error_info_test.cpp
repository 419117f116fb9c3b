#include <gtest/gtest.h>

#include <thread>

#include "lumxip/platform.h"

namespace {

ComPtr<IErrorInfo> makeError(const wchar_t* description) {
  ComPtr<ICreateErrorInfo> create;
  EXPECT_EQ(CreateErrorInfo(create.put()), S_OK);
  create->SetDescription(const_cast<LPOLESTR>(description));
  create->SetSource(const_cast<LPOLESTR>(L"Halvex.Test Run"));
  create->SetHelpContext(0x8004810A);
  return create.as<IErrorInfo>();
}

std::wstring takeDescription() {
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK) return L"<none>";
  lum::Bstr description;
  info->GetDescription(description.put());
  return description.str();
}

TEST(ErrorInfo, IsPerThreadAndClearedByReading) {
  SetErrorInfo(0, makeError(L"main").get());
  std::wstring seenByOther;
  std::thread other([&] {
    seenByOther = takeDescription();  // nothing set on this thread
    SetErrorInfo(0, makeError(L"other").get());
  });
  other.join();
  EXPECT_EQ(seenByOther, L"<none>");
  EXPECT_EQ(takeDescription(), L"main");
  EXPECT_EQ(takeDescription(), L"<none>") << "reading empties the slot";

  ComPtr<IErrorInfo> none;
  EXPECT_EQ(GetErrorInfo(0, none.put()), S_FALSE);
  EXPECT_FALSE(none);
}

TEST(ErrorInfo, KeepsEveryField) {
  ComPtr<IErrorInfo> info = makeError(L"bad value");
  SetErrorInfo(0, info.get());
  SetErrorInfo(0, nullptr);  // clearing is allowed
  ComPtr<IErrorInfo> taken;
  EXPECT_EQ(GetErrorInfo(0, taken.put()), S_FALSE);

  lum::Bstr source;
  DWORD context = 0;
  info->GetSource(source.put());
  info->GetHelpContext(&context);
  EXPECT_EQ(source.view(), L"Halvex.Test Run");
  EXPECT_EQ(context, 0x8004810Au);
}

}  // namespace
