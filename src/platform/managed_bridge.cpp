#include "platform/managed_bridge.h"

#include <mutex>

namespace lum {
namespace {
std::mutex gMutex;
ComPtr<IUnknown> gFactory;
}  // namespace

ComPtr<IUnknown> managedCounterpartFactory() {
  std::lock_guard lock(gMutex);
  return gFactory;
}

void setManagedCounterpartFactory(IUnknown* factory) {
  ComPtr<IUnknown> previous(factory);
  {
    std::lock_guard lock(gMutex);
    gFactory.swap(previous);
  }
  // `previous` is released here, outside the lock: its destructor may call back.
}

}  // namespace lum
