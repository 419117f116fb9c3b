#include "platform/persistent_classes.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <unordered_map>

#include "platform/bstr.h"
#include "platform/error_info.h"
#include "platform/module_loader.h"
#include "platform/registry_file.h"

namespace lum::detail {
namespace {

using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);

// Factories of classes loaded from the registry file. Never destroyed: the modules stay
// loaded, and their factories with them.
struct LoadedClasses {
  // Recursive: a module's static initializers run inside the load and may create objects.
  std::recursive_mutex mutex;
  std::unordered_map<CLSID, ComPtr<IClassFactory>, GuidHash> factories;
};

LoadedClasses& loadedClasses() {
  static LoadedClasses* instance = new LoadedClasses;
  return *instance;
}

HRESULT loadFactory(REFCLSID clsid, ComPtr<IClassFactory>& factory) {
  RegistryContents contents;
  if (const HRESULT hr = readRegistryFile(&contents); FAILED(hr)) return hr;
  auto entry = std::find_if(contents.classes.begin(), contents.classes.end(),
                            [&](const RegistryClassEntry& c) { return c.clsid == clsid; });
  if (entry == contents.classes.end()) return REGDB_E_CLASSNOTREG;
  void* function = nullptr;
  if (const HRESULT hr = moduleEntryPoint(entry->module, "DllGetClassObject", &function);
      FAILED(hr))
    return hr;
  const HRESULT hr =
      reinterpret_cast<GetClassObject>(function)(clsid, iid_of<IClassFactory>, factory.putVoid());
  if (SUCCEEDED(hr) && factory) return S_OK;
  factory.reset();
  return reportPlatformError(REGDB_E_CLASSNOTREG, L"Registry",
                             L"The module " + fromUtf8(entry->module.string()) +
                                 L" does not provide the class " + toWString(clsid) + L".");
}

}  // namespace

HRESULT persistentClassFactory(REFCLSID clsid, ComPtr<IClassFactory>& factory) {
  factory.reset();
  try {
    LoadedClasses& loaded = loadedClasses();
    const std::lock_guard lock(loaded.mutex);
    if (auto it = loaded.factories.find(clsid); it != loaded.factories.end()) {
      factory = it->second;
      return S_OK;
    }
    const HRESULT hr = loadFactory(clsid, factory);
    if (SUCCEEDED(hr)) loaded.factories.emplace(clsid, factory);
    return hr;
  } catch (const std::bad_alloc&) {
    factory.reset();
    return E_OUTOFMEMORY;
  }
}

HRESULT persistentProgIdClass(std::wstring_view progId, CLSID& clsid) {
  RegistryContents contents;
  if (const HRESULT hr = readRegistryFile(&contents); FAILED(hr)) return hr;
  for (const RegistryProgIdEntry& p : contents.progIds)
    if (p.progId == progId) {
      clsid = p.clsid;
      return S_OK;
    }
  return CO_E_CLASSSTRING;
}

HRESULT persistentClassProgId(REFCLSID clsid, std::wstring& progId) {
  RegistryContents contents;
  if (const HRESULT hr = readRegistryFile(&contents); FAILED(hr)) return hr;
  for (const RegistryClassEntry& c : contents.classes)
    if (c.clsid == clsid) {
      progId = c.progId.empty() ? c.versionIndependentProgId : c.progId;
      return S_OK;
    }
  return REGDB_E_CLASSNOTREG;
}

}  // namespace lum::detail
