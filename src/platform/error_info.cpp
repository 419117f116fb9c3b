#include "platform/error_info.h"

#include <new>

#include "platform/bstr.h"
#include "platform/com_object.h"

namespace {

class ErrorInfo final : public lum::ComObject<IErrorInfo, ICreateErrorInfo> {
 public:
  HRESULT GetGUID(GUID* iid) override {
    if (iid == nullptr) return E_INVALIDARG;
    *iid = iid_;
    return S_OK;
  }
  HRESULT GetSource(BSTR* source) override { return lum::allocBstr(source_.view(), source); }
  HRESULT GetDescription(BSTR* description) override {
    return lum::allocBstr(description_.view(), description);
  }
  HRESULT GetHelpFile(BSTR* helpFile) override {
    return lum::allocBstr(helpFile_.view(), helpFile);
  }
  HRESULT GetHelpContext(DWORD* helpContext) override {
    if (helpContext == nullptr) return E_INVALIDARG;
    *helpContext = helpContext_;
    return S_OK;
  }

  HRESULT SetGUID(REFGUID iid) override {
    iid_ = iid;
    return S_OK;
  }
  HRESULT SetSource(LPOLESTR source) override { return assign(source_, source); }
  HRESULT SetDescription(LPOLESTR description) override {
    return assign(description_, description);
  }
  HRESULT SetHelpFile(LPOLESTR helpFile) override { return assign(helpFile_, helpFile); }
  HRESULT SetHelpContext(DWORD helpContext) override {
    helpContext_ = helpContext;
    return S_OK;
  }

 private:
  static HRESULT assign(lum::Bstr& field, LPOLESTR text) {
    try {
      field = lum::Bstr(text);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  GUID iid_{};
  lum::Bstr source_, description_, helpFile_;
  DWORD helpContext_ = 0;
};

// One slot per thread; released when the thread ends.
thread_local ComPtr<IErrorInfo> tCurrentError;

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
  if (info == nullptr) return E_INVALIDARG;
  *info = nullptr;
  try {
    *info = lum::makeComObject<ErrorInfo>().detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT SetErrorInfo(ULONG, IErrorInfo* info) {
  tCurrentError = info;
  return S_OK;
}

HRESULT GetErrorInfo(ULONG, IErrorInfo** info) {
  if (info == nullptr) return E_INVALIDARG;
  *info = tCurrentError.detach();
  return *info ? S_OK : S_FALSE;
}

HRESULT lum::reportPlatformError(HRESULT code, std::wstring_view source,
                                 std::wstring_view description) noexcept {
  try {
    ComPtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return code;
    create->SetSource(const_cast<LPOLESTR>(std::wstring(source).c_str()));
    create->SetDescription(const_cast<LPOLESTR>(std::wstring(description).c_str()));
    SetErrorInfo(0, create.as<IErrorInfo>().get());
  } catch (const std::bad_alloc&) {
  }
  return code;
}
