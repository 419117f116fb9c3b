#pragma once
// A module (a shared library of components) lists its classes once; lcModule registers
// them in-process when the library loads, revokes them when it unloads, and answers the
// module entry points DllGetClassObject and DllCanUnloadNow.
//
//   const lcModule gModule({lcModuleClass::of<CLumCollection>(), ...});

#include <atomic>
#include <string>
#include <vector>

#include "components/framework/class_declaration.h"
#include "components/framework/class_factory.h"
#include "components/framework/export.h"

struct lcModuleClass {
  const lcClassDeclaration* declaration;
  ComPtr<IClassFactory> (*makeFactory)(std::atomic<long>& serverLocks);

  template <class T>
  static lcModuleClass of() {
    return {&T::kClass, [](std::atomic<long>& locks) -> ComPtr<IClassFactory> {
              return lum::makeComObject<lcClassFactory<T>>(locks);
            }};
  }
};

class LUM_VISIBLE lcModule {
 public:
  explicit lcModule(std::vector<lcModuleClass> classes);
  ~lcModule();
  lcModule(const lcModule&) = delete;
  lcModule& operator=(const lcModule&) = delete;

  HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** object) const;
  // S_OK when no component is alive and no server lock is held; it only reports.
  HRESULT canUnloadNow() const;

 private:
  struct Registered {
    CLSID clsid;
    ComPtr<IClassFactory> factory;
    lum::RegistrationCookie cookie;
  };
  std::vector<Registered> registered_;
  mutable std::atomic<long> serverLocks_{0};
};

// The versioned ProgID of a class: "Halvex.LumCollection.1".
LUM_FRAMEWORK_API std::wstring versionedProgId(const lcClassDeclaration& declaration);

// Components alive in this process (every class on the component base).
LUM_FRAMEWORK_API long liveComponentCount();
