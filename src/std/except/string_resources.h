#pragma once
// The core library's own texts, from a language resource. A resource is a UTF-8 file
// "<base><CODE>.res" of lines "<id><TAB><text>" ('#' starts a comment), looked up beside
// the core library's shared object, or in $LUMXIP_RESOURCE_DIR when that is set. CODE is
// the three-letter code of the user's language ("DEU" for LANG=de_DE.UTF-8), tried first,
// then "ENU". The core's own English texts are compiled in and stand for its "ENU" file.
//
// When no resource loads, one error is written to the event log under the source
// "Halvex", and loading throws lcStringLiteral::BadParams.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "std/except/exception.h"
#include "std/export.h"

// The base name of the core library's own resources.
inline constexpr std::string_view kCoreResourceBase = "lumxcore";

class LC_VISIBLE lcStringResources {
 public:
  // Loads the resources of `base` for the user's language.
  static lcStringResources load(std::string_view base);

  // The text of `id`; empty when the resource has none.
  std::wstring text(uint32_t id) const;
  // The language code of the resource that loaded ("ENU", "DEU", ...).
  const std::string& languageCode() const { return code_; }

 private:
  lcStringResources(std::string code, std::map<uint32_t, std::wstring> texts)
      : code_(std::move(code)), texts_(std::move(texts)) {}
  std::string code_;
  std::map<uint32_t, std::wstring> texts_;
};

// Text identifiers of the core's own resources.
enum lcCoreTextId : uint32_t {
  lcTextNoFurtherInformation = 1,
  lcTextInternalErrorCode = 2,
};

// The three-letter code of the user's language, from LC_ALL, LC_MESSAGES or LANG; "ENU"
// when it is unknown.
LC_CORE_API std::string userLanguageCode();

// Where the core library reports events: a function the component framework installs so
// that entries reach the platform's event log (syslog until then).
using lcEventReporter = void (*)(std::wstring_view source, std::wstring_view message);
LC_CORE_API lcEventReporter setEventReporter(lcEventReporter reporter);
