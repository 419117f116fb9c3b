// The module entry points of the lumxip library. Its classes register in-process when the
// library loads; DllRegisterServer and DllUnregisterServer (the persistent registry) come
// with the command-line program.

#include "components/framework/module_registration.h"
#include "module/class_table.h"

namespace {
const lcModule& thisModule() {
  static const lcModule module(lumxipClasses());
  return module;
}
// Register at load, not at the first entry-point call.
[[maybe_unused]] const lcModule& gLoaded = thisModule();
}  // namespace

extern "C" LUM_VISIBLE HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return thisModule().getClassObject(clsid, iid, object);
}

extern "C" LUM_VISIBLE HRESULT DllCanUnloadNow() {
  return thisModule().canUnloadNow();
}

extern "C" LUM_VISIBLE HRESULT DllRegisterServer() {
  return E_NOTIMPL;
}

extern "C" LUM_VISIBLE HRESULT DllUnregisterServer() {
  return E_NOTIMPL;
}
