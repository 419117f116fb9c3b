#include "lumxstd/persisted_objects.h"

#include "components/framework/com_error.h"
#include "persist/archive_read.h"
#include "persist/property_archive.h"
#include "std/archive/archive.h"

namespace lumxstd {

ComPtr<IUnknown> identityOf(IUnknown* object) {
  ComPtr<IUnknown> identity;
  throwIfFailed(object->QueryInterface(iid_of<IUnknown>, identity.putVoid()));
  return identity;
}

CLSID classIdOf(IUnknown* object) {
  CLSID clsid{};
  ComPtr<IPersist> persist;
  ComPtr<IPersistStream> stream;
  if (SUCCEEDED(object->QueryInterface(iid_of<IPersistStream>, stream.putVoid())))
    throwIfFailed(stream->GetClassID(&clsid));
  else if (SUCCEEDED(object->QueryInterface(iid_of<IPersist>, persist.putVoid())))
    throwIfFailed(persist->GetClassID(&clsid));
  else
    throw lcCOMError::withDescription(E_NOINTERFACE,
                                      L"An object cannot be saved: it does not name its class.");
  return clsid;
}

std::wstring classText(const CLSID& clsid) {
  LPOLESTR progId = nullptr;
  if (SUCCEEDED(ProgIDFromCLSID(clsid, &progId))) {
    std::wstring text(progId);
    CoTaskMemFree(progId);
    return text;
  }
  return lum::toWString(clsid);
}

ComPtr<IUnknown> objectForRecord(const CLSID& clsid, IUnknown* into, LONG mode,
                                 const std::wstring* className) {
  const auto name = [&] { return className ? *className : classText(clsid); };
  if (into) {
    if (classIdOf(into) != clsid)
      throw lcCOMError::withDescription(
          E_INVALIDARG, L"The stream holds an object of another class (" + name() + L").");
    return identityOf(into);
  }
  if (clsid == CLSID_NULL)  // a property archive: made directly
    return identityOf(lcCreatePropertyArchive(mode).get());
  ComPtr<IUnknown> object;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<IUnknown>, object.putVoid())))
    throw lcCOMError::withDescription(
        REGDB_E_CLASSNOTREG,
        L"The stream holds an object of class " + name() + L", which is not registered.");
  return object;
}

ArrayElements::ArrayElements(SAFEARRAY* array) {
  if (array == nullptr) return;
  LONG upper = -1;
  SafeArrayGetLBound(array, 1, &lower_);
  SafeArrayGetUBound(array, 1, &upper);
  count_ = static_cast<std::size_t>(int64_t{upper} - lower_ + 1);
  if (count_ == 0) return;
  void* data = nullptr;
  throwIfFailed(SafeArrayAccessData(array, &data));
  array_ = array;
  data_ = static_cast<const std::byte*>(data);
  size_ = SafeArrayGetElemsize(array);
}

ArrayElements::~ArrayElements() {
  if (array_) SafeArrayUnaccessData(array_);
}

std::optional<uint32_t> SavedObjects::find(const ComPtr<IUnknown>& identity) const {
  for (std::size_t i = 0; i < written_.size(); ++i) {
    if (written_[i] != identity) continue;
    // A reader cannot hand out an object before it has read it.
    if (!complete_[i])
      throw lcArchive::BadContent(L"an object holds a reference to itself and cannot be saved");
    return static_cast<uint32_t>(i);
  }
  return std::nullopt;
}

uint32_t SavedObjects::add(const ComPtr<IUnknown>& identity) {
  written_.push_back(identity);
  complete_.push_back(false);
  return static_cast<uint32_t>(written_.size() - 1);
}

uint32_t LoadedObjects::reserve() {
  read_.emplace_back();  // empty while the object is being read
  return static_cast<uint32_t>(read_.size() - 1);
}

ComPtr<IUnknown> LoadedObjects::at(uint64_t index) const {
  if (index >= read_.size()) throw lcArchive::BadContent(L"a reference to an unknown object");
  if (!read_[index]) throw lcArchive::BadContent(L"a reference to an object still being read");
  return read_[index];
}

ComPtr<ILumArchive> writeArchiveOf(ILumPersistArchive& object, LONG mode) {
  ComPtr<ILumArchive> archive = lcCreatePropertyArchive(mode);
  throwIfFailed(object.Persist(archive.get(), mode));
  return archive;
}

namespace {
void collectProblems(ILumArchive& archive, const CLSID& clsid,
                     std::vector<std::wstring>& problems) {
  lum::Bstr missing, unread;
  archive.get_Problems(missing.put());
  archive.get_UnreadKeys(unread.put());
  if (missing.empty() && unread.empty()) return;
  std::wstring text = classText(clsid) + L":";
  if (!missing.empty()) text += L" missing or invalid: " + missing.str();
  if (!missing.empty() && !unread.empty()) text += L";";
  if (!unread.empty()) text += L" never read: " + unread.str();
  problems.push_back(std::move(text));
}
}  // namespace

// A failure leaves an object that existed before as it was: the archive is complete
// before the object is touched, and what it read is undone when its own Persist fails.
void readArchiveInto(IUnknown& object, ILumArchive& archive, const CLSID& clsid, LONG mode,
                     bool top, bool existed, std::vector<std::wstring>& problems) {
  ComPtr<ILumPersistArchive> persist = ComPtr<IUnknown>(&object).as<ILumPersistArchive>();
  if (!persist) throw lcArchive::BadContent(L"an object that cannot read an archive");
  lcArchiveRead reading(*persist, existed);
  throwIfFailed(persist->Persist(&archive, mode));
  collectProblems(archive, clsid, problems);
  reading.finish(!top);
}

std::vector<std::byte> streamedBytesOf(IPersistStream& object) {
  ComPtr<IStream> memory;
  throwIfFailed(lum::createMemoryStream(memory.put()));
  throwIfFailed(object.Save(memory.get(), FALSE));
  std::vector<std::byte> bytes;
  throwIfFailed(lum::readWholeStream(memory.get(), &bytes));
  return bytes;
}

void loadStreamed(IUnknown& object, const uint8_t* data, std::size_t size,
                  std::shared_ptr<const void> owner) {
  ComPtr<IStream> bytes;
  throwIfFailed(lum::createReadOnlyStream(data, size, std::move(owner), bytes.put()));
  ComPtr<IPersistStream> streamed = ComPtr<IUnknown>(&object).as<IPersistStream>();
  if (!streamed) throw lcArchive::BadContent(L"an object that cannot be read from a stream");
  throwIfFailed(streamed->Load(bytes.get()));
}

}  // namespace lumxstd
