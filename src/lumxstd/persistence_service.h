#pragma once
// The persistence service of the core object library: saves a component, with
// everything it holds, into a stream and reads it back (stream_format.h).

#include "components/framework/class_declaration.h"
#include "lumxip/HalvexCore.h"

namespace lumxstd {

class PersistenceService final : public lum::ComObject<ILumPersistenceService> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumPersistenceService, L"CLumPersistenceService",
                                             L"Halvex.LumPersistenceService", 1,
                                             L"Saves and loads components"};
  static HRESULT createInstance(IUnknown* outer, REFIID iid, void** object);

  HRESULT Save(IUnknown* object, IStream* stream, LONG mode, LONG format) override;
  HRESULT Load(IStream* stream, LONG mode, IUnknown** object) override;
  HRESULT LoadInto(IUnknown* object, IStream* stream, LONG mode) override;

 private:
  HRESULT load(IStream* stream, LONG mode, IUnknown* into, IUnknown** object,
               const wchar_t* method);
};

}  // namespace lumxstd
