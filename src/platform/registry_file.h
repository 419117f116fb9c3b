#pragma once
// The persistent registry: one file that modules write their classes into
// (DllRegisterServer) and remove them from (DllUnregisterServer), and that the class
// registry reads to find a class no loaded library provides. Every entry names the
// module that wrote it, so a module removes exactly its own entries.
//
// The file is replaced atomically (temporary file and rename) and changed under an
// exclusive lock on "<file>.lock", so concurrent writers lose nothing and readers never
// see half a file. It is untrusted input: anything malformed is reported, never trusted.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/export.h"
#include "platform/guid.h"

namespace lum {

// A class identifier entry: where the class lives and what it is called.
struct RegistryClassEntry {
  CLSID clsid{};
  std::filesystem::path module;
  std::wstring threadingModel;
  std::wstring description;
  std::wstring progId;                    // versioned: "Halvex.LumFoo.1"
  std::wstring versionIndependentProgId;  // "Halvex.LumFoo"
  GUID typeLibrary{};                     // GUID_NULL: none
};

// A ProgID entry. `currentVersion` names the versioned ProgID for a version-independent
// one, and is empty otherwise.
struct RegistryProgIdEntry {
  std::wstring progId;
  CLSID clsid{};
  std::wstring description;
  std::wstring currentVersion;
  std::filesystem::path module;
};

// A named value under a named key (the list of tools, for one).
struct RegistryValueEntry {
  std::wstring key;
  std::wstring name;
  std::wstring value;
  std::filesystem::path module;
};

struct RegistryContents {
  std::vector<RegistryClassEntry> classes;
  std::vector<RegistryProgIdEntry> progIds;
  std::vector<RegistryValueEntry> values;
};

// $LUMXIP_REGISTRY, else $XDG_DATA_HOME/lumxip/registry.json, else
// $HOME/.local/share/lumxip/registry.json; empty when none of them is set.
LUM_PLATFORM_API std::filesystem::path registryFilePath();

// The whole file, entries in file order (sorted by name). A missing file is an empty
// registry; an unreadable or malformed one is REGDB_E_READREGDB with error information
// naming the file and the fault.
LUM_PLATFORM_API HRESULT readRegistryFile(RegistryContents* contents);

// Replaces every entry `module` wrote before by `entries` (their module fields are set to
// `module`). An entry of another module under the same name is replaced too: the last
// registration wins. REGDB_E_READREGDB when the existing file is damaged (it is left
// alone), REGDB_E_WRITEREGDB when it cannot be written; both with error information.
LUM_PLATFORM_API HRESULT writeModuleRegistration(const std::filesystem::path& module,
                                                 const RegistryContents& entries);
// Removes every entry `module` wrote; S_OK also when there was none.
LUM_PLATFORM_API HRESULT removeModuleRegistration(const std::filesystem::path& module);

}  // namespace lum
