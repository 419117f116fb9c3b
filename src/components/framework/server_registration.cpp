#include "components/framework/server_registration.h"

#include "components/framework/module_registration.h"

namespace {

// The version-independent ProgID `progId` and its versioned form.
void addProgIds(lum::RegistryContents& entries, const CLSID& clsid, const std::wstring& progId,
                const std::wstring& versioned, const std::wstring& description) {
  entries.progIds.push_back({progId, clsid, description, versioned, {}});
  entries.progIds.push_back({versioned, clsid, description, {}, {}});
}

}  // namespace

lum::RegistryContents serverRegistration(const std::vector<lcModuleClass>& classes,
                                         const GUID& typeLibrary) {
  lum::RegistryContents entries;
  for (const lcModuleClass& c : classes) {
    const lcClassDeclaration& d = *c.declaration;
    const std::wstring versioned = versionedProgId(d);
    entries.classes.push_back(
        {d.clsid, {}, L"Both", d.description, versioned, d.progId, typeLibrary});
    addProgIds(entries, d.clsid, d.progId, versioned, d.description);
    for (const wchar_t* old : d.oldProgIds)
      addProgIds(entries, d.clsid, old, std::wstring(old) + L"." + std::to_wstring(d.version),
                 d.description + std::wstring(kOldProgIdDescriptionSuffix));
    if (c.isTool)
      entries.values.push_back({kToolsRegistryKey, lum::toWString(d.clsid), d.progId, {}});
  }
  return entries;
}
