#pragma once
// The module entry points of the lumxip library, and where the library file is (what
// `lumxip register` registers when given no file).

#include <filesystem>

#include "platform/export.h"
#include "platform/guid.h"

extern "C" {
LUM_VISIBLE HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
LUM_VISIBLE HRESULT DllCanUnloadNow();
// Write and remove the library's classes in the registry file (platform/registry_file.h).
LUM_VISIBLE HRESULT DllRegisterServer();
LUM_VISIBLE HRESULT DllUnregisterServer();
}

// The absolute path of the loaded lumxip library file.
LUM_VISIBLE std::filesystem::path lumxipModulePath();
