#pragma once
// Making the core object library's objects as a host does, and copying them the two ways
// a host can: through a saved stream and by Clone.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lumxip/HalvexCore.h"
#include "platform/class_registry.h"

namespace lumtest {

template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<I>, object.putVoid()), S_OK);
  return object;
}

// Saves `object` into a stream and loads a new object from it; null when either fails.
template <class I>
ComPtr<I> saveAndLoad(I* object) {
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  ComPtr<IPersistStream> persist = ComPtr<I>(object).template as<IPersistStream>();
  if (!persist || persist->Save(stream.get(), FALSE) != S_OK) return nullptr;
  stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
  auto service = create<ILumPersistenceService>(CLSID_LumPersistenceService);
  ComPtr<IUnknown> loaded;
  if (service->Load(stream.get(), lumPersistAllGroups, loaded.put()) != S_OK) return nullptr;
  return loaded.as<I>();
}

// A new object of every registered class, named by its versioned ProgID.
struct RegisteredObject {
  std::string name;
  CLSID clsid;
  ComPtr<IUnknown> object;
};

inline std::vector<RegisteredObject> oneOfEveryRegisteredClass() {
  std::vector<RegisteredObject> all;
  for (const auto& registration : lum::registeredClasses())
    if (auto object = create<IUnknown>(registration.clsid))
      all.push_back({lum::toUtf8(registration.versionedProgId), registration.clsid, object});
  return all;
}

template <class I>
ComPtr<I> cloneOf(I* object) {
  ComPtr<ILumObject> copy;
  if (ComPtr<I>(object).template as<ILumObject>()->Clone(copy.put()) != S_OK) return nullptr;
  return copy.as<I>();
}

}  // namespace lumtest
