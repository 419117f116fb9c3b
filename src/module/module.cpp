// The module entry points of the lumxip library. Its classes register in-process when the
// library loads; DllRegisterServer and DllUnregisterServer write them into the registry
// file, and take them out again.

#include "module/module.h"

#include "components/framework/module_registration.h"
#include "lumxip/HalvexImageProcessing.h"
#include "module/class_table.h"
#include "platform/module_loader.h"

namespace {
const lcModule& thisModule() {
  static const lcModule module(lumxipClasses(), LIBID_HalvexImageProcessing);
  return module;
}
// Register at load, not at the first entry-point call.
[[maybe_unused]] const lcModule& gLoaded = thisModule();
}  // namespace

HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return thisModule().getClassObject(clsid, iid, object);
}

HRESULT DllCanUnloadNow() {
  return thisModule().canUnloadNow();
}

HRESULT DllRegisterServer() {
  return thisModule().registerServer();
}

HRESULT DllUnregisterServer() {
  return thisModule().unregisterServer();
}

std::filesystem::path lumxipModulePath() {
  return lum::modulePathOf(&thisModule());
}
