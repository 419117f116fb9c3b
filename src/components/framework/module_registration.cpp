#include "components/framework/module_registration.h"

#include <new>

#include "components/framework/server_registration.h"
#include "platform/module_loader.h"

std::wstring versionedProgId(const lcClassDeclaration& declaration) {
  return std::wstring(declaration.progId) + L"." + std::to_wstring(declaration.version);
}

lcModule::lcModule(std::vector<lcModuleClass> classes, const GUID& typeLibrary)
    : classes_(std::move(classes)), typeLibrary_(typeLibrary) {
  for (const lcModuleClass& c : classes_) {
    const lcClassDeclaration& d = *c.declaration;
    lum::ClassRegistration registration{d.clsid, versionedProgId(d), d.progId,
                                        {},      d.description,      c.makeFactory(serverLocks_)};
    for (const wchar_t* old : d.oldProgIds) {
      registration.otherProgIds.emplace_back(old);
      registration.otherProgIds.push_back(std::wstring(old) + L"." + std::to_wstring(d.version));
    }
    Registered entry{d.clsid, registration.factory, 0};
    if (SUCCEEDED(lum::registerClass(registration, &entry.cookie))) registered_.push_back(entry);
  }
}

lcModule::~lcModule() {
  for (const Registered& r : registered_)
    lum::revokeClass(r.cookie);
}

HRESULT lcModule::getClassObject(REFCLSID clsid, REFIID iid, void** object) const {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (const Registered& r : registered_)
    if (r.clsid == clsid) return r.factory->QueryInterface(iid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT lcModule::canUnloadNow() const {
  return liveComponentCount() == 0 && serverLocks_ == 0 ? S_OK : S_FALSE;
}

HRESULT lcModule::registerServer() const {
  try {
    const std::filesystem::path module = lum::modulePathOf(this);
    if (module.empty()) return E_UNEXPECTED;
    return lum::writeModuleRegistration(module, serverRegistration(classes_, typeLibrary_));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT lcModule::unregisterServer() const {
  try {
    const std::filesystem::path module = lum::modulePathOf(this);
    if (module.empty()) return E_UNEXPECTED;
    return lum::removeModuleRegistration(module);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
