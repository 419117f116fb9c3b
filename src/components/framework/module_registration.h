#pragma once
// A module (a shared library of components) lists its classes once; lcModule registers
// them in-process when the library loads, revokes them when it unloads, and answers the
// module entry points: DllGetClassObject, DllCanUnloadNow, and DllRegisterServer and
// DllUnregisterServer (the registry file).
//
//   const lcModule gModule({lcModuleClass::of<CLumCollection>(), ...}, LIBID_...);

#include <atomic>
#include <string>
#include <type_traits>
#include <vector>

#include "components/framework/class_declaration.h"
#include "components/framework/class_factory.h"
#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"

struct lcModuleClass {
  const lcClassDeclaration* declaration;
  ComPtr<IClassFactory> (*makeFactory)(std::atomic<long>& serverLocks);
  bool isTool = false;  // implements ILumTool: listed under the registry's Tools key

  template <class T>
  static lcModuleClass of() {
    return {&T::kClass,
            [](std::atomic<long>& locks) -> ComPtr<IClassFactory> {
              return lum::makeComObject<lcClassFactory<T>>(locks);
            },
            std::is_base_of_v<ILumTool, T>};
  }
};

class LUM_VISIBLE lcModule {
 public:
  // `typeLibrary` is written into the registry with each class (GUID_NULL: none).
  explicit lcModule(std::vector<lcModuleClass> classes, const GUID& typeLibrary = GUID_NULL);
  ~lcModule();
  lcModule(const lcModule&) = delete;
  lcModule& operator=(const lcModule&) = delete;

  HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** object) const;
  // S_OK when no component is alive and no server lock is held; it only reports.
  HRESULT canUnloadNow() const;
  // Write and remove this module's entries in the registry file. The module is the
  // library file holding this object, so an lcModule must be a static object of its
  // library; otherwise E_UNEXPECTED.
  HRESULT registerServer() const;
  HRESULT unregisterServer() const;

 private:
  struct Registered {
    CLSID clsid;
    ComPtr<IClassFactory> factory;
    lum::RegistrationCookie cookie;
  };
  std::vector<lcModuleClass> classes_;
  GUID typeLibrary_;
  std::vector<Registered> registered_;
  mutable std::atomic<long> serverLocks_{0};
};

// The versioned ProgID of a class: "Halvex.LumCollection.1".
LUM_FRAMEWORK_API std::wstring versionedProgId(const lcClassDeclaration& declaration);

// Components alive in this process (every class on the component base).
LUM_FRAMEWORK_API long liveComponentCount();
