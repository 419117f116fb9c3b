#pragma once
// Creating objects by class identifier or ProgID. A library registers a class factory
// for each of its classes when it is loaded; registrations are process-wide and can be
// revoked (tests use this to make a class unavailable, or to stand a fake in for it).
// A class or ProgID registered by no loaded library is looked up in the registry file
// (platform/registry_file.h), and its module loaded (platform/module_loader.h).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/export.h"
#include "platform/unknown.h"

LUM_INTERFACE_ID(IClassFactory, IUnknown, lum::guid("{00000001-0000-0000-C000-000000000046}"));
struct LUM_VISIBLE IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;
};

// Creates an object of a registered class: REGDB_E_CLASSNOTREG when none is registered,
// REGDB_E_READREGDB when the registry file is damaged, CO_E_DLLNOTFOUND when the module
// it names cannot be loaded (the last two with error information).
LUM_PLATFORM_API HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context,
                                          REFIID iid, void** object);
LUM_PLATFORM_API HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID iid,
                                          void** object);
// Any ProgID a class registered (current, version-independent or an older alias);
// CO_E_CLASSSTRING for an unknown one, REGDB_E_READREGDB for a damaged registry file.
LUM_PLATFORM_API HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// The class's versioned ProgID ("Halvex.X.1"), else its first ProgID, in task memory;
// REGDB_E_CLASSNOTREG for an unknown class.
LUM_PLATFORM_API HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR* progId);

namespace lum {

struct ClassRegistration {
  CLSID clsid;
  std::wstring versionedProgId;            // "Halvex.LumFoo.1"; may be empty
  std::wstring versionIndependentProgId;   // "Halvex.LumFoo"; may be empty
  std::vector<std::wstring> otherProgIds;  // older names that still create the class
  std::wstring description;
  ComPtr<IClassFactory> factory;
};

using RegistrationCookie = uint32_t;

// Registers a class. A later registration of the same class identifier or ProgID takes
// precedence until it is revoked, after which the earlier one serves again.
// E_INVALIDARG without a factory.
LUM_PLATFORM_API HRESULT registerClass(const ClassRegistration& registration,
                                       RegistrationCookie* cookie);
// E_INVALIDARG for an unknown cookie.
LUM_PLATFORM_API HRESULT revokeClass(RegistrationCookie cookie);
// The registrations in force, one per class identifier, in order of registration.
LUM_PLATFORM_API std::vector<ClassRegistration> registeredClasses();

}  // namespace lum
