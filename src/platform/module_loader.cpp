#include "platform/module_loader.h"

#include <dlfcn.h>

#include <new>
#include <string>
#include <system_error>

#include "platform/bstr.h"
#include "platform/error_info.h"

namespace lum {
namespace {

constexpr std::wstring_view kErrorSource = L"Module loader";

HRESULT callEntryPoint(const std::filesystem::path& module, const char* name) {
  void* function = nullptr;
  if (const HRESULT hr = moduleEntryPoint(module, name, &function); FAILED(hr)) return hr;
  return reinterpret_cast<HRESULT (*)()>(function)();
}

}  // namespace

std::filesystem::path modulePathOf(const void* address) {
  Dl_info info{};
  if (address == nullptr || ::dladdr(address, &info) == 0 || info.dli_fname == nullptr ||
      *info.dli_fname == '\0')
    return {};
  try {
    std::error_code ec;
    std::filesystem::path path = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::filesystem::absolute(info.dli_fname, ec) : path;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

HRESULT moduleEntryPoint(const std::filesystem::path& module, const char* name, void** function) {
  if (function == nullptr) return E_POINTER;
  *function = nullptr;
  if (module.empty() || name == nullptr) return E_INVALIDARG;
  try {
    // A bare name would make the loader search its library path; a module is a file.
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::absolute(module, ec);
    if (ec)
      return reportPlatformError(CO_E_DLLNOTFOUND, kErrorSource,
                                 L"The module " + fromUtf8(module.string()) +
                                     L" could not be found: " + fromUtf8(ec.message()) + L".");
    // Never closed: objects and factories of the module may live as long as the process.
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* reason = ::dlerror();
      return reportPlatformError(CO_E_DLLNOTFOUND, kErrorSource,
                                 L"The module " + fromUtf8(file.string()) +
                                     L" could not be loaded: " +
                                     fromUtf8(reason ? reason : "unknown reason") + L".");
    }
    ::dlerror();
    *function = ::dlsym(handle, name);
    if (*function == nullptr)
      return reportPlatformError(
          CO_E_ERRORINDLL, kErrorSource,
          L"The module " + fromUtf8(file.string()) + L" does not export " + fromUtf8(name) + L".");
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT registerModuleFile(const std::filesystem::path& module) {
  return callEntryPoint(module, "DllRegisterServer");
}

HRESULT unregisterModuleFile(const std::filesystem::path& module) {
  return callEntryPoint(module, "DllUnregisterServer");
}

}  // namespace lum
