#include "lumxstd/persistence_service.h"

#include <memory>
#include <new>
#include <span>

#include "components/framework/call_boundary.h"
#include "components/framework/com_error.h"
#include "components/framework/error_reporting.h"
#include "lumxstd/stream_format.h"
#include "lumxstd/text_format.h"

namespace lumxstd {
namespace {

lcErrorContext contextFor(const wchar_t* method) {
  return {CLSID_LumPersistenceService, IID_ILumPersistenceService, method,
          PersistenceService::kClass.progId};
}

void writeAll(IStream& stream, std::span<const uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    ULONG written = 0;
    throwIfFailed(stream.Write(bytes.data() + done, chunk, &written));
    if (written == 0) throw lcCOMError(STG_E_MEDIUMFULL, 0);
    done += written;
  }
}

// The bytes from the stream's position to its end, read into memory; the stream is left
// at its end. They are read straight into the buffer: a chunk on the stack would sit in
// every level of a nested load.
std::shared_ptr<const std::vector<uint8_t>> readRest(IStream& stream) {
  constexpr ULONG kChunk = 64 * 1024;
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  for (;;) {
    const std::size_t filled = bytes->size();
    bytes->resize(filled + kChunk);
    ULONG read = 0;
    const HRESULT hr = stream.Read(bytes->data() + filled, kChunk, &read);
    bytes->resize(filled + read);
    throwIfFailed(hr);
    if (read == 0) break;
  }
  return bytes;
}

// What a load reads: the stream's bytes from its position to its end. A read-only stream
// (a streamed record that an enclosing load hands its object) is read where its bytes
// are and keeps its position; any other stream is read into memory and left at its end.
struct BytesToLoad {
  lum::ReadOnlyBytes bytes;
  bool streamAtEnd = false;
};

BytesToLoad bytesToLoad(IStream& stream) {
  BytesToLoad load;
  if (lum::readOnlyStreamRest(&stream, &load.bytes)) return load;
  auto copy = readRest(stream);
  load.bytes = {reinterpret_cast<const std::byte*>(copy->data()), copy->size(), copy};
  load.streamAtEnd = true;
  return load;
}

// Each encoding reads in a function of its own, so that the frame of load(), which every
// nested load passes through, holds neither reader.
[[gnu::noinline]] ComPtr<IUnknown> loadBinary(IStream& stream, const BytesToLoad& load, LONG mode,
                                              IUnknown* into, std::vector<std::wstring>& problems) {
  StreamReader reader(reinterpret_cast<const uint8_t*>(load.bytes.data), load.bytes.size,
                      load.bytes.owner, mode);
  ComPtr<IUnknown> loaded = reader.readDocument(into);
  // Leave the stream just after what was read: more may follow.
  const auto consumed = static_cast<int64_t>(reader.consumed());
  const auto unread = static_cast<int64_t>(load.bytes.size) - consumed;
  stream.Seek(LARGE_INTEGER{load.streamAtEnd ? -unread : consumed}, STREAM_SEEK_CUR, nullptr);
  problems = reader.problems();
  return loaded;
}

// A text document is the rest of the stream, which is left at its end.
[[gnu::noinline]] ComPtr<IUnknown> loadText(IStream& stream, const BytesToLoad& load, LONG mode,
                                            IUnknown* into, std::vector<std::wstring>& problems) {
  TextReader reader({reinterpret_cast<const uint8_t*>(load.bytes.data), load.bytes.size}, mode);
  ComPtr<IUnknown> loaded = reader.readDocument(into);
  if (!load.streamAtEnd)
    stream.Seek(LARGE_INTEGER{static_cast<int64_t>(load.bytes.size)}, STREAM_SEEK_CUR, nullptr);
  problems = reader.problems();
  return loaded;
}

// Loaded, but a host should warn its user: what could not be read, and why. Kept out of
// load(), which nested loads pass through at every level, so that its frame stays small.
HRESULT reportProblems(const lcErrorContext& context, const std::vector<std::wstring>& problems) {
  std::wstring text = L"The object was loaded with problems: ";
  for (std::size_t i = 0; i < problems.size(); ++i)
    text += (i ? L" | " : L"") + problems[i];
  lcErrorReport report;
  report.code = S_FALSE;
  report.text = std::move(text);
  reportError(context, report);
  return S_FALSE;
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
    if (format == lumPersistFormatText) {
      const std::string text = TextWriter(mode).writeDocument(object);
      writeAll(*stream, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
      return;
    }
    if (format != lumPersistFormatBinary)
      throw lcCOMError::withDescription(E_INVALIDARG,
                                        L"There is no format " + std::to_wstring(format) + L".");
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
    const BytesToLoad load = bytesToLoad(*stream);
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(load.bytes.data),
                                         load.bytes.size);
    ComPtr<IUnknown> loaded = looksLikeText(bytes)
                                  ? loadText(*stream, load, mode, into, problems)
                                  : loadBinary(*stream, load, mode, into, problems);
    if (object) *object = loaded.detach();
  });
  if (FAILED(hr) || problems.empty()) return hr;
  return reportProblems(context, problems);
}

}  // namespace lumxstd
