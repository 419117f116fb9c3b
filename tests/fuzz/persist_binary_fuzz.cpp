// The persistence service's binary stream loader on any bytes: a load gives a result
// code, never a crash. Documents that start with '{' are the text target's.

#include <cstddef>
#include <cstdint>

#include "lumxip/HalvexCore.h"
#include "lumxip/platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size > 0 && data[0] == '{') return 0;
  static const ComPtr<ILumPersistenceService> service = [] {
    ComPtr<ILumPersistenceService> made;
    CoCreateInstance(CLSID_LumPersistenceService, nullptr, CLSCTX_ALL,
                     iid_of<ILumPersistenceService>, made.putVoid());
    return made;
  }();
  ComPtr<IStream> stream;
  if (FAILED(lum::createMemoryStream(data, size, stream.put()))) return 0;
  ComPtr<IUnknown> loaded;
  service->Load(stream.get(), 0xFFFFFF, loaded.put());
  return 0;
}
