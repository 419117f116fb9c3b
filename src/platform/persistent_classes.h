#pragma once
// Classes that no loaded library registered, found in the registry file. The class
// registry asks here after its own table; nothing else should.

#include <string>
#include <string_view>

#include "platform/class_registry.h"

namespace lum::detail {

// The class factory of `clsid` from the module the registry file names. The first call
// loads the module and asks its DllGetClassObject, under a lock, so concurrent first calls
// load once; later calls return the same factory without reading the file.
// REGDB_E_CLASSNOTREG when the file does not list the class; the failures of
// readRegistryFile and moduleEntryPoint otherwise.
HRESULT persistentClassFactory(REFCLSID clsid, ComPtr<IClassFactory>& factory);

// The class of a ProgID in the registry file; CO_E_CLASSSTRING when it is not there.
HRESULT persistentProgIdClass(std::wstring_view progId, CLSID& clsid);

// The versioned ProgID of a class in the registry file (else its version-independent
// one); REGDB_E_CLASSNOTREG when the class is not there.
HRESULT persistentClassProgId(REFCLSID clsid, std::wstring& progId);

}  // namespace lum::detail
