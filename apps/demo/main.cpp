// A tour of what the library offers so far; `make run` runs it. It becomes the
// command-line program once that lands.

#include <cstdio>
#include <string>

#include "lumxip/HalvexImageProcessing.h"

namespace {

void say(const std::wstring& text) {
  std::printf("%s\n", lum::toUtf8(text).c_str());
}

std::wstring asText(const lum::Variant& value) {
  lum::Variant copy = value;
  if (FAILED(copy.changeType(VT_BSTR))) return L"<no text form>";
  return std::wstring(lum::bstrView(copy.get().bstrVal));
}

void showConversions() {
  say(L"Conversions between VARIANT types, in the user's locale:");
  lum::ScopedDecimalSeparator comma(L',');
  const struct {
    lum::Variant value;
    VARTYPE target;
    const wchar_t* what;
  } rows[] = {
      {lum::Variant(L"1,5"), VT_R8, L"text \"1,5\" to R8 (decimal comma)"},
      {lum::Variant(2.5), VT_I4, L"2.5 to I4 (half to even)"},
      {lum::Variant(3.5), VT_I4, L"3.5 to I4 (half to even)"},
      {lum::Variant(70000), VT_I2, L"70000 to I2"},
  };
  for (const auto& row : rows) {
    lum::Variant converted = row.value;
    const HRESULT hr = converted.changeType(row.target);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    say(L"  " + std::wstring(row.what) + L": " +
        (SUCCEEDED(hr) ? asText(converted) : L"fails with " + lum::fromUtf8(code)));
  }
}

void showErrorInformation() {
  say(L"Error information travels per thread:");
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.put()))) return;
  create->SetSource(const_cast<LPOLESTR>(L"Halvex.LumDemo Run"));
  create->SetDescription(const_cast<LPOLESTR>(L"nothing went wrong, this is a demo"));
  SetErrorInfo(0, create.as<IErrorInfo>().get());
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK) return;
  lum::Bstr source, description;
  info->GetSource(source.put());
  info->GetDescription(description.put());
  say(L"  " + source.str() + L": " + description.str());
}

}  // namespace

int main() {
  say(L"lumxip " + lum::fromUtf8(LUMXIP_VERSION) + L" on " + lum::localComputerName());
  say(L"Type library " + lum::toWString(LIBID_HalvexImageProcessing));
  showConversions();
  showErrorInformation();
  return 0;
}
