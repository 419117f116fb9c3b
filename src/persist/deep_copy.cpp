#include "persist/deep_copy.h"

#include <optional>
#include <utility>
#include <vector>

#include "components/framework/com_error.h"
#include "persist/archive_read.h"
#include "persist/internal/archive_class.h"
#include "persist/nesting_guard.h"

namespace {

constexpr LONG kWriteEverything = lumPersistWriting | lumPersistAllGroups;  // 0x40FFFFFF
constexpr LONG kReadEverything = lumPersistAllGroups;                       // 0x00FFFFFF
constexpr LONG kStreamFallbackLoad = lumPersistKeepAbsentTag | lumPersistAllGroups;

CLSID classIdOf(IUnknown* object) {
  CLSID clsid{};
  ComPtr<IPersistStream> stream;
  if (SUCCEEDED(object->QueryInterface(iid_of<IPersistStream>, stream.putVoid()))) {
    throwIfFailed(stream->GetClassID(&clsid));
    return clsid;
  }
  ComPtr<IPersist> persist;
  if (FAILED(object->QueryInterface(iid_of<IPersist>, persist.putVoid())))
    throw lcCOMError(E_NOINTERFACE, 0);
  throwIfFailed(persist->GetClassID(&clsid));
  return clsid;
}

ComPtr<IUnknown> identityOf(IUnknown* object) {
  ComPtr<IUnknown> identity;
  throwIfFailed(object->QueryInterface(iid_of<IUnknown>, identity.putVoid()));
  return identity;
}

bool isObject(const VARIANT& v) {
  return (v.vt == VT_UNKNOWN || v.vt == VT_DISPATCH) && v.punkVal;
}

class DeepCopy {
 public:
  // The copy of `source`: `destination`, or a new object.
  ComPtr<IUnknown> copyOf(IUnknown* source, IUnknown* destination) {
    ComPtr<IUnknown> identity = identityOf(source);
    for (const auto& [from, to] : table_)
      if (from == identity) return to;

    const lcNestingGuard level(L"objects");
    const CLSID clsid = classIdOf(source);
    ComPtr<IUnknown> copy;
    if (destination) {
      if (classIdOf(destination) != clsid) throw lcCOMError(E_INVALIDARG, 0);
      copy = identityOf(destination);
    } else if (clsid == CLSID_NULL) {  // a property archive: made directly
      copy = identityOf(static_cast<ILumArchive*>(CLumArchive::create(kReadEverything).get()));
    } else {
      throwIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<IUnknown>, copy.putVoid()));
    }
    table_.emplace_back(identity, copy);  // before recursing: an object may hold itself
    if (!destination) {                   // the caller suspends a destination it gives
      made_.push_back(copy);
      if (auto config = copy.as<ILumChangeEventConfiguration>()) config->SuspendEventDelivery();
    }

    ComPtr<ILumPersistArchive> from = ComPtr<IUnknown>(source).as<ILumPersistArchive>();
    ComPtr<ILumPersistArchive> to = copy.as<ILumPersistArchive>();
    if (from && to)
      copyThroughArchive(*from, *to);
    else
      copyThroughStream(source, copy.get());
    return copy;
  }

  // Ends the copy: every object made, last made first, learns that it was loaded nested
  // and counts as changed.
  void finish() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      if (auto persist = it->as<ILumPersistArchive>()) {
        throwIfFailed(persist->PostLoad(VARIANT_TRUE));
        persist->put_HasChanged(VARIANT_TRUE);
      }
    }
  }

 private:
  void copyThroughArchive(ILumPersistArchive& from, ILumPersistArchive& to) {
    ComPtr<CLumArchive> archive = CLumArchive::create(kWriteEverything);
    throwIfFailed(from.Persist(archive.get(), kWriteEverything));
    // Every object among the written values is copied first, so the copy holds copies.
    auto& entries = archive->collection();
    for (LONG i = 0; i < entries.count(); ++i) {
      const lum::Variant value = entries.item(i);
      if (!isObject(value.get())) continue;
      ComPtr<IUnknown> copied = copyOf(value.get().punkVal, nullptr);
      entries.replace(i, lum::Variant(copied.get()).get());
    }
    archive->put_Mode(kReadEverything);
    throwIfFailed(to.Persist(archive.get(), kReadEverything));
  }

  // For objects that persist only to streams: through the persistence service.
  static void copyThroughStream(IUnknown* source, IUnknown* copy) {
    ComPtr<ILumPersistenceService> service;
    throwIfFailed(CoCreateInstance(CLSID_LumPersistenceService, nullptr, CLSCTX_ALL,
                                   IID_ILumPersistenceService, service.putVoid()));
    ComPtr<IStream> stream;
    throwIfFailed(lum::createMemoryStream(stream.put()));
    throwIfFailed(service->Save(source, stream.get(), lumPersistAllGroups, lumPersistFormatBinary));
    throwIfFailed(stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr));
    throwIfFailed(service->LoadInto(copy, stream.get(), kStreamFallbackLoad));
  }

  std::vector<std::pair<ComPtr<IUnknown>, ComPtr<IUnknown>>> table_;  // source -> copy
  std::vector<ComPtr<IUnknown>> made_;
};

}  // namespace

void lcDeepCopy(IUnknown* source, IUnknown* destination, ILumObject** copy) {
  if (copy) *copy = nullptr;
  if (source == nullptr) throw lcCOMError(E_POINTER, 0);
  // A destination is suspended during the copy, and left as it was if the copy fails;
  // its listeners learn once that everything changed. One without an archive is read
  // through the persistence service, which does the same.
  ComPtr<ILumPersistArchive> persist;
  if (destination) persist = ComPtr<IUnknown>(destination).as<ILumPersistArchive>();
  std::optional<lcArchiveRead> reading;
  if (persist) reading.emplace(*persist, true);
  DeepCopy deepCopy;
  ComPtr<IUnknown> result = deepCopy.copyOf(source, destination);
  deepCopy.finish();
  if (reading) reading->finish(false);
  if (copy)
    throwIfFailed(result->QueryInterface(iid_of<ILumObject>, reinterpret_cast<void**>(copy)));
}
