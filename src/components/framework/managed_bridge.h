#pragma once
// The managed-code layer of the host, by role: the process-wide factory that makes a
// component's managed counterpart, and the shut-down state after which no counterpart
// is made and no event is handed over.

#include <string>

#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"

class LUM_VISIBLE lcDotNetShutdown {
 public:
  // The managed layer is shutting down: from now on nothing is handed to it.
  static void notifyShutdown();
  static bool isShutDown();
  // Tests start over.
  static void reset();
};

// True when events are to be handed to the managed layer: not shut down.
LUM_FRAMEWORK_API bool managedLayerActive();

// "Halvex.Optiline.ImageProcessing.LumIPOneImageTool" for class "CLumIPOneImageTool".
LUM_FRAMEWORK_API std::wstring managedTypeName(const wchar_t* className);
inline constexpr const wchar_t* kManagedAssemblyName = L"Halvex.Optiline.ImageProcessing";

// Asks the installed factory for a counterpart of `component`: E_FAIL when the managed
// layer has shut down or no factory is installed, else the factory's result. Runs under
// a process-wide lock.
LUM_FRAMEWORK_API HRESULT createManagedCounterpart(const wchar_t* className, IUnknown* component,
                                                   REFIID primaryInterface, IUnknown** counterpart);
