#include "components/framework/persist_impl.h"

ComPtr<ILumPersistenceService> createPersistenceService() {
  ComPtr<ILumPersistenceService> service;
  if (FAILED(CoCreateInstance(CLSID_LumPersistenceService, nullptr, CLSCTX_ALL,
                              IID_ILumPersistenceService, service.putVoid())))
    return nullptr;
  return service;
}
