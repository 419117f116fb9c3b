#include "std/except/string_resources.h"

#include <dlfcn.h>
#include <syslog.h>

#include <atomic>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxResourceBytes = 1 << 20;

// The core's English texts, standing for "<kCoreResourceBase>ENU.res".
const std::map<uint32_t, std::wstring>& builtInEnglish() {
  static const std::map<uint32_t, std::wstring> texts = {
      {lcTextNoFurtherInformation, L"no further information provided"},
      {lcTextInternalErrorCode, L"Internal error code: "},
  };
  return texts;
}

void syslogReporter(std::wstring_view source, std::wstring_view message) {
  const std::string narrowSource(source.begin(), source.end());
  std::string narrowMessage;
  for (wchar_t c : message)
    narrowMessage += c < 0x80 ? char(c) : '?';
  syslog(LOG_USER | LOG_ERR, "%s: %s", narrowSource.c_str(), narrowMessage.c_str());
}

std::atomic<lcEventReporter> gReporter{&syslogReporter};

fs::path resourceDirectory() {
  if (const char* dir = std::getenv("LUMXIP_RESOURCE_DIR"); dir && *dir) return dir;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&userLanguageCode), &info) && info.dli_fname)
    return fs::path(info.dli_fname).parent_path();
  return fs::current_path();
}

// Decodes UTF-8 text; a malformed byte becomes U+FFFD.
std::wstring decodeUtf8(std::string_view bytes) {
  std::wstring out;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int extra = lead < 0x80           ? 0
                      : (lead >> 5) == 0x6  ? 1
                      : (lead >> 4) == 0xE  ? 2
                      : (lead >> 3) == 0x1E ? 3
                                            : -1;
    bool valid = extra >= 0 && bytes.size() - i > static_cast<std::size_t>(extra);
    char32_t c = extra == 0 ? lead : lead & (0x7F >> (extra + 1));
    for (int k = 1; valid && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    out += valid ? static_cast<wchar_t>(c) : L'\uFFFD';
    i += valid ? extra + 1 : 1;
  }
  return out;
}

// Reads "<id><TAB><text>" lines; nothing when the file is missing, too large or unreadable.
std::optional<std::map<uint32_t, std::wstring>> readResourceFile(const fs::path& path) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (error || size > kMaxResourceBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::map<uint32_t, std::wstring> texts;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::string_view id(line.data(), tab);
    int base = 10;
    if (id.size() > 2 && id[0] == '0' && (id[1] == 'x' || id[1] == 'X'))
      id.remove_prefix(2), base = 16;
    uint32_t value = 0;
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), value, base);
    if (ec != std::errc() || end != id.data() + id.size()) continue;
    texts[value] = decodeUtf8(std::string_view(line).substr(tab + 1));
  }
  return texts;
}

std::string languageFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char* value = std::getenv(name); value && *value) return value;
  return {};
}

}  // namespace

std::string userLanguageCode() {
  static const std::pair<std::string_view, std::string_view> kCodes[] = {
      {"cs", "CSY"}, {"da", "DAN"}, {"de", "DEU"}, {"en", "ENU"}, {"es", "ESP"},
      {"fi", "FIN"}, {"fr", "FRA"}, {"hu", "HUN"}, {"it", "ITA"}, {"ja", "JPN"},
      {"ko", "KOR"}, {"nb", "NOR"}, {"nl", "NLD"}, {"pl", "PLK"}, {"pt", "PTB"},
      {"ru", "RUS"}, {"sv", "SVE"}, {"tr", "TRK"}, {"zh", "CHS"},
  };
  const std::string language = languageFromEnvironment();
  if (language.size() >= 2)
    for (const auto& [prefix, code] : kCodes)
      if (language.compare(0, 2, prefix) == 0) return std::string(code);
  return "ENU";
}

lcEventReporter setEventReporter(lcEventReporter reporter) {
  return gReporter.exchange(reporter ? reporter : &syslogReporter);
}

lcStringResources lcStringResources::load(std::string_view base) {
  const fs::path dir = resourceDirectory();
  std::string code = userLanguageCode();
  fs::path tried;
  for (const std::string& candidate : {code, std::string("ENU")}) {
    tried = dir / (std::string(base) + candidate + ".res");
    if (auto texts = readResourceFile(tried))
      return lcStringResources(candidate, std::move(*texts));
    if (candidate == "ENU" && base == kCoreResourceBase)
      return lcStringResources(candidate, builtInEnglish());
  }
  gReporter.load()(L"Halvex", L"Can't load string resources: " + tried.wstring());
  const std::string name = std::string(base) + code + ".dll)";
  throw lcStringLiteral::BadParams(L"Unable to load resource dll for current language (" +
                                   std::wstring(name.begin(), name.end()));
}

std::wstring lcStringResources::text(uint32_t id) const {
  const auto it = texts_.find(id);
  return it == texts_.end() ? std::wstring() : it->second;
}
