// Temporary: see registry_stand_in.h.

#include "registry_stand_in.h"

#include <dlfcn.h>

#include <cstdlib>

namespace lum {
namespace {

HRESULT callEntry(const std::filesystem::path& module, const char* entry) {
  void* library = ::dlopen(module.c_str(), RTLD_NOW);
  if (library == nullptr) return E_INVALIDARG;
  using Entry = HRESULT (*)();
  auto function = reinterpret_cast<Entry>(::dlsym(library, entry));
  return function ? function() : E_NOTIMPL;  // the library stays loaded
}

}  // namespace

HRESULT registerModuleFile(const std::filesystem::path& module) {
  return callEntry(module, "DllRegisterServer");
}
HRESULT unregisterModuleFile(const std::filesystem::path& module) {
  return callEntry(module, "DllUnregisterServer");
}
std::filesystem::path registryFilePath() {
  if (const char* path = std::getenv("LUMXIP_REGISTRY")) return path;
  return "";
}

}  // namespace lum
