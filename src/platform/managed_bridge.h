#pragma once
// The slot where a host's managed-code layer installs the process-wide factory that
// makes managed counterparts of components. The component base defines what it asks
// of that factory; the platform only keeps it, once per process.

#include "platform/export.h"
#include "platform/unknown.h"

namespace lum {

// The installed factory, or null.
LUM_PLATFORM_API ComPtr<IUnknown> managedCounterpartFactory();
// Installs `factory` (null removes it).
LUM_PLATFORM_API void setManagedCounterpartFactory(IUnknown* factory);

}  // namespace lum
