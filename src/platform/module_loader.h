#pragma once
// Modules (shared libraries of components) loaded by file: for the class registry when
// a class is found only in the registry file, and for registering a module. A loaded
// module stays loaded for the life of the process; loading it again is harmless.

#include <filesystem>

#include "platform/export.h"
#include "platform/types.h"

namespace lum {

// The absolute path of the library file that holds `address` (one of its functions or
// static objects); empty when the address belongs to no loaded file.
LUM_PLATFORM_API std::filesystem::path modulePathOf(const void* address);

// Loads `module` and returns its exported function `name`: CO_E_DLLNOTFOUND when it
// cannot be loaded, CO_E_ERRORINDLL when it does not export `name`, both with error
// information naming the file and the loader's reason.
LUM_PLATFORM_API HRESULT moduleEntryPoint(const std::filesystem::path& module, const char* name,
                                          void** function);

// Loads `module` and calls its DllRegisterServer / DllUnregisterServer; the failures of
// moduleEntryPoint, else what the entry point returns.
LUM_PLATFORM_API HRESULT registerModuleFile(const std::filesystem::path& module);
LUM_PLATFORM_API HRESULT unregisterModuleFile(const std::filesystem::path& module);

}  // namespace lum
