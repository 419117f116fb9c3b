#include "components/framework/managed_bridge.h"

#include <atomic>
#include <mutex>

#include "platform/managed_bridge.h"

namespace {
std::atomic<bool> gShutDown{false};
std::mutex gCreationMutex;
}  // namespace

void lcDotNetShutdown::notifyShutdown() {
  gShutDown = true;
}
bool lcDotNetShutdown::isShutDown() {
  return gShutDown;
}
void lcDotNetShutdown::reset() {
  gShutDown = false;
}

bool managedLayerActive() {
  return !lcDotNetShutdown::isShutDown();
}

std::wstring managedTypeName(const wchar_t* className) {
  std::wstring name = className ? className : L"";
  if (!name.empty() && name.front() == L'C') name.erase(0, 1);
  return std::wstring(kManagedAssemblyName) + L"." + name;
}

HRESULT createManagedCounterpart(const wchar_t* className, IUnknown* component,
                                 REFIID primaryInterface, IUnknown** counterpart) {
  if (counterpart == nullptr) return E_POINTER;
  *counterpart = nullptr;
  std::lock_guard lock(gCreationMutex);
  if (lcDotNetShutdown::isShutDown()) return E_FAIL;
  ComPtr<ILumManagedFactory> factory = lum::managedCounterpartFactory().as<ILumManagedFactory>();
  if (!factory) return E_FAIL;
  try {
    const lum::Bstr assembly(kManagedAssemblyName);
    const lum::Bstr typeName(managedTypeName(className));
    return factory->CreateCounterpart(assembly.get(), typeName.get(), component, primaryInterface,
                                      counterpart);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}
