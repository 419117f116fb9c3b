#pragma once
// The text encoding of the persistence service (docs/persistence-format.md): one JSON
// object per saved component with its class and its persisted properties in order, each
// value tagged with its VARIANT type so that it reads back exactly; values without a tag
// (hand-written files) are read as the nearest VARIANT and converted by the component's
// own read to the type it declares. Reading treats the text as untrusted: the JSON depth
// is bounded while parsing, objects and arrays of VARIANTs take a level of the thread's
// nesting guard, and every malformed part is refused with where it stands.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lumxip/HalvexCore.h"
#include "lumxstd/json_tree.h"
#include "lumxstd/persisted_objects.h"

namespace lumxstd {

inline constexpr int64_t kTextFormatVersion = 1;

// Whether saved bytes are the text encoding: their first character other than
// whitespace (after a UTF-8 byte-order mark) opens a JSON object.
bool looksLikeText(std::span<const uint8_t> bytes);

class LUM_VISIBLE TextWriter {
 public:
  explicit TextWriter(LONG mode) : mode_(mode | lumPersistWriting) {}
  // The document of `object`, pretty-printed; throws lcCOMError or a core exception.
  std::string writeDocument(IUnknown* object);

 private:
  JsonNode objectNode(IUnknown* object);
  JsonNode propertiesNode(ILumArchive& archive);
  JsonNode valueNode(const VARIANT& value);
  JsonNode payloadNode(const VARIANT& value);
  JsonNode arrayNode(SAFEARRAY* array, VARTYPE elementType);

  LONG mode_;
  SavedObjects written_;
};

// Reads a document from bytes; the whole of them is the document. Exported, so that a
// fuzz target can call it on any bytes inside a try block.
class LUM_VISIBLE TextReader {
 public:
  TextReader(std::span<const uint8_t> bytes, LONG mode)
      : bytes_(bytes), mode_(mode & ~lumPersistWriting) {}
  // The top object; read into `into` when it is given (its class must be the text's).
  ComPtr<IUnknown> readDocument(IUnknown* into);
  // Problems met while reading, one entry per object that had any.
  const std::vector<std::wstring>& problems() const { return problems_; }

 private:
  ComPtr<IUnknown> readObject(const JsonNode& node, IUnknown* into, bool top);
  CLSID classOf(const JsonNode& node, std::wstring& className);
  void checkVersion(const JsonNode& node);
  void readProperties(const JsonNode& node, IUnknown& object, const CLSID& clsid, bool top,
                      bool existed);
  void readStreamed(const JsonNode& node, IUnknown& object);
  lum::Variant readValue(const JsonNode& node);
  lum::Variant readTagged(const JsonNode& node);
  lum::Variant readUntagged(const JsonNode& node);
  void readPayload(VARTYPE vt, const JsonNode& node, VARIANT& out);
  SAFEARRAY* readArray(VARTYPE elementType, const JsonNode& node, const JsonNode* lowerBound);
  std::wstring readText(const JsonNode& node);
  // Throws lcArchive::BadContent naming where in the document the reader stands.
  [[noreturn]] void fail(const std::string& what) const;

  // Where the reader stands, as member names and indices from the top object.
  class Step {
   public:
    Step(TextReader& reader, std::string name) : reader_(reader) {
      reader_.path_.push_back(std::move(name));
    }
    ~Step() { reader_.path_.pop_back(); }
    Step(const Step&) = delete;
    Step& operator=(const Step&) = delete;

   private:
    TextReader& reader_;
  };

  std::span<const uint8_t> bytes_;
  LONG mode_;
  LoadedObjects read_;
  std::vector<std::wstring> problems_;
  std::vector<std::string> path_;
};

}  // namespace lumxstd
