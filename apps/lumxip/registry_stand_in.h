#pragma once
// Temporary: the persistent registry's entry points until they land in the platform.

#include <filesystem>

#include "lumxip/platform.h"

namespace lum {

// Loads `module` and calls its DllRegisterServer / DllUnregisterServer.
HRESULT registerModuleFile(const std::filesystem::path& module);
HRESULT unregisterModuleFile(const std::filesystem::path& module);
// Where the registry is kept.
std::filesystem::path registryFilePath();

}  // namespace lum
