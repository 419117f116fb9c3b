#include "platform/class_registry.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

#include "platform/bstr.h"
#include "platform/persistent_classes.h"

namespace lum {
namespace {

struct Entry {
  RegistrationCookie cookie;
  ClassRegistration registration;
};

class Registry {
 public:
  HRESULT add(const ClassRegistration& registration, RegistrationCookie* cookie) {
    std::lock_guard lock(mutex_);
    entries_.push_back({nextCookie_, registration});
    *cookie = nextCookie_++;
    return S_OK;
  }

  HRESULT remove(RegistrationCookie cookie) {
    std::lock_guard lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.cookie == cookie; });
    if (it == entries_.end()) return E_INVALIDARG;
    entries_.erase(it);
    return S_OK;
  }

  // The newest registration of `clsid`.
  ComPtr<IClassFactory> factoryFor(REFCLSID clsid) const {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
      if (it->registration.clsid == clsid) return it->registration.factory;
    return nullptr;
  }

  bool findProgId(std::wstring_view progId, CLSID& clsid) const {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
      const ClassRegistration& r = it->registration;
      if (r.versionedProgId == progId || r.versionIndependentProgId == progId ||
          std::find(r.otherProgIds.begin(), r.otherProgIds.end(), progId) != r.otherProgIds.end()) {
        clsid = r.clsid;
        return true;
      }
    }
    return false;
  }

  bool progIdOf(REFCLSID clsid, std::wstring& progId) const {
    std::lock_guard lock(mutex_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
      const ClassRegistration& r = it->registration;
      if (r.clsid != clsid) continue;
      progId = !r.versionedProgId.empty()            ? r.versionedProgId
               : !r.versionIndependentProgId.empty() ? r.versionIndependentProgId
               : r.otherProgIds.empty()              ? std::wstring()
                                                     : r.otherProgIds.front();
      return true;
    }
    return false;
  }

  std::vector<ClassRegistration> current() const {
    std::lock_guard lock(mutex_);
    std::vector<ClassRegistration> result;
    for (const Entry& e : entries_) {
      auto same = [&](const ClassRegistration& r) { return r.clsid == e.registration.clsid; };
      auto it = std::find_if(result.begin(), result.end(), same);
      if (it == result.end())
        result.push_back(e.registration);
      else
        *it = e.registration;  // a newer registration replaces an older one in place
    }
    return result;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Entry> entries_;
  RegistrationCookie nextCookie_ = 1;
};

Registry& registry() {
  static Registry* instance = new Registry;  // never destroyed: libraries revoke at exit
  return *instance;
}

}  // namespace

HRESULT registerClass(const ClassRegistration& registration, RegistrationCookie* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (!registration.factory) return E_INVALIDARG;
  try {
    return registry().add(registration, cookie);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT revokeClass(RegistrationCookie cookie) {
  return registry().remove(cookie);
}

std::vector<ClassRegistration> registeredClasses() {
  return registry().current();
}

}  // namespace lum

namespace {

// The in-process registration of `clsid`, else the one in the registry file.
HRESULT classFactory(REFCLSID clsid, ComPtr<IClassFactory>& factory) {
  factory = lum::registry().factoryFor(clsid);
  return factory ? S_OK : lum::detail::persistentClassFactory(clsid, factory);
}

}  // namespace

HRESULT CoGetClassObject(REFCLSID clsid, DWORD, void*, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  ComPtr<IClassFactory> factory;
  if (const HRESULT hr = classFactory(clsid, factory); FAILED(hr)) return hr;
  return factory->QueryInterface(iid, object);
}

// The factory is called without any lock of the registry held: creating an object may
// create others.
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  ComPtr<IClassFactory> factory;
  if (const HRESULT hr = classFactory(clsid, factory); FAILED(hr)) return hr;
  return factory->CreateInstance(outer, iid, object);
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
  if (progId == nullptr || clsid == nullptr) return E_INVALIDARG;
  *clsid = CLSID_NULL;
  try {
    if (lum::registry().findProgId(progId, *clsid)) return S_OK;
    return lum::detail::persistentProgIdClass(progId, *clsid);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId) {
  if (progId == nullptr) return E_INVALIDARG;
  *progId = nullptr;
  std::wstring text;
  try {
    if (!lum::registry().progIdOf(clsid, text)) {
      if (const HRESULT hr = lum::detail::persistentClassProgId(clsid, text); FAILED(hr)) return hr;
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(OLECHAR)));
  if (copy == nullptr) return E_OUTOFMEMORY;
  std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(OLECHAR));
  *progId = copy;
  return S_OK;
}
