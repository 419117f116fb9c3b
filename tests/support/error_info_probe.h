#pragma once
// Test helpers around the thread's error information and the class registry.

#include <string>

#include "lumxip/platform.h"

namespace lumtest {

// The thread's error information, taken (the slot is empty afterwards).
struct ErrorInfoSnapshot {
  bool present = false;
  std::wstring source, description, helpFile;
  DWORD helpContext = 0;
  GUID iid{};
};

inline ErrorInfoSnapshot takeErrorInfo() {
  ErrorInfoSnapshot snapshot;
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return snapshot;
  snapshot.present = true;
  lum::Bstr source, description, helpFile;
  info->GetSource(source.put());
  info->GetDescription(description.put());
  info->GetHelpFile(helpFile.put());
  info->GetHelpContext(&snapshot.helpContext);
  info->GetGUID(&snapshot.iid);
  snapshot.source = source.str();
  snapshot.description = description.str();
  snapshot.helpFile = helpFile.str();
  return snapshot;
}

// Sets the thread's error information to a description (and optionally a help file).
inline void setPendingError(const wchar_t* description, const wchar_t* helpFile = nullptr,
                            DWORD helpContext = 0) {
  ComPtr<ICreateErrorInfo> create;
  CreateErrorInfo(create.put());
  create->SetDescription(const_cast<LPOLESTR>(description));
  if (helpFile) create->SetHelpFile(const_cast<LPOLESTR>(helpFile));
  create->SetHelpContext(helpContext);
  SetErrorInfo(0, create.as<IErrorInfo>().get());
}

// Makes a class uncreatable while it lives: a factory that refuses stands in front of
// the real registration.
class ScopedUnavailableClass {
 public:
  explicit ScopedUnavailableClass(const CLSID& clsid) {
    lum::ClassRegistration registration{
        clsid, {}, {}, {}, L"unavailable", lum::makeComObject<Refusing>()};
    lum::registerClass(registration, &cookie_);
  }
  ~ScopedUnavailableClass() { lum::revokeClass(cookie_); }
  ScopedUnavailableClass(const ScopedUnavailableClass&) = delete;
  ScopedUnavailableClass& operator=(const ScopedUnavailableClass&) = delete;

 private:
  class Refusing final : public lum::ComObject<IClassFactory> {
   public:
    HRESULT CreateInstance(IUnknown*, REFIID, void** object) override {
      if (object) *object = nullptr;
      return REGDB_E_CLASSNOTREG;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
  };
  lum::RegistrationCookie cookie_ = 0;
};

}  // namespace lumtest
