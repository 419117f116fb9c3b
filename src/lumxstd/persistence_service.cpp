#include "lumxstd/persistence_service.h"

#include <new>

#include "components/framework/call_boundary.h"
#include "components/framework/com_error.h"
#include "components/framework/error_reporting.h"
#include "lumxstd/stream_format.h"

namespace lumxstd {
namespace {

lcErrorContext contextFor(const wchar_t* method) {
  return {CLSID_LumPersistenceService, IID_ILumPersistenceService, method,
          PersistenceService::kClass.progId};
}

void writeAll(IStream& stream, const std::vector<uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    ULONG written = 0;
    throwIfFailed(stream.Write(bytes.data() + done, chunk, &written));
    if (written == 0) throw lcCOMError(STG_E_MEDIUMFULL, 0);
    done += written;
  }
}

// The bytes from the stream's position to its end.
std::vector<uint8_t> readRest(IStream& stream) {
  std::vector<uint8_t> bytes;
  uint8_t chunk[64 * 1024];
  for (;;) {
    ULONG read = 0;
    throwIfFailed(stream.Read(chunk, sizeof chunk, &read));
    if (read == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + read);
  }
  return bytes;
}

}  // namespace

HRESULT PersistenceService::createInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  try {
    return lum::makeComObject<PersistenceService>()->QueryInterface(iid, object);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT PersistenceService::Save(IUnknown* object, IStream* stream, LONG mode, LONG format) {
  if (object == nullptr || stream == nullptr) return E_POINTER;
  return callBoundary(contextFor(L"Save"), [&] {
    if (format != lumPersistFormatBinary)
      throw lcCOMError::withDescription(E_NOTIMPL, L"Only the binary stream format is available.");
    StreamWriter writer(mode);
    writer.writeDocument(object);
    writeAll(*stream, writer.bytes());
  });
}

HRESULT PersistenceService::Load(IStream* stream, LONG mode, IUnknown** object) {
  if (HRESULT hr = lcClearOutPointers(object); FAILED(hr)) return hr;
  if (stream == nullptr) return E_POINTER;
  return load(stream, mode, nullptr, object, L"Load");
}

HRESULT PersistenceService::LoadInto(IUnknown* object, IStream* stream, LONG mode) {
  if (object == nullptr || stream == nullptr) return E_POINTER;
  return load(stream, mode, object, nullptr, L"LoadInto");
}

HRESULT PersistenceService::load(IStream* stream, LONG mode, IUnknown* into, IUnknown** object,
                                 const wchar_t* method) {
  const lcErrorContext context = contextFor(method);
  std::vector<std::wstring> problems;
  const HRESULT hr = callBoundary(context, [&] {
    const std::vector<uint8_t> bytes = readRest(*stream);
    StreamReader reader(bytes.data(), bytes.size(), mode);
    ComPtr<IUnknown> loaded = reader.readDocument(into);
    // Leave the stream just after what was read: more may follow.
    const int64_t unread = static_cast<int64_t>(bytes.size() - reader.consumed());
    stream->Seek(LARGE_INTEGER{-unread}, STREAM_SEEK_CUR, nullptr);
    problems = reader.problems();
    if (object) *object = loaded.detach();
  });
  if (FAILED(hr) || problems.empty()) return hr;
  // Loaded, but a host should warn its user: what could not be read, and why.
  std::wstring text = L"The object was loaded with problems: ";
  for (std::size_t i = 0; i < problems.size(); ++i)
    text += (i ? L" | " : L"") + problems[i];
  lcErrorReport report;
  report.code = S_FALSE;
  report.text = std::move(text);
  reportError(context, report);
  return S_FALSE;
}

}  // namespace lumxstd
