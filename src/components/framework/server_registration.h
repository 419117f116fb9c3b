#pragma once
// What a module writes into the registry file for its classes (DllRegisterServer): for
// each class its class identifier entry (module, threading model "Both", description,
// ProgIDs, type library), its ProgIDs (old ones too, each with and without the version),
// and for each tool a value under the Tools key.

#include <filesystem>
#include <vector>

#include "components/framework/export.h"
#include "platform/registry_file.h"

struct lcModuleClass;

// Every tool, by class identifier, with its version-independent ProgID as value.
inline constexpr const wchar_t* kToolsRegistryKey = L"Software\\Halvex\\Optiline\\Tools";
// Appended to the class description for the ProgIDs a class had before.
inline constexpr const wchar_t* kOldProgIdDescriptionSuffix =
    L" (old ProgID for backward-compatibility)";

LUM_FRAMEWORK_API lum::RegistryContents serverRegistration(
    const std::vector<lcModuleClass>& classes, const GUID& typeLibrary);
