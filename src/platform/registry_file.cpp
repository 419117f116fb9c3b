#include "platform/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <nlohmann/json.hpp>
#include <system_error>

#include "platform/bstr.h"
#include "platform/error_info.h"

namespace lum {
namespace {

using nlohmann::json;

constexpr const char* kFormatName = "lumxip registry";
constexpr int kFormatVersion = 1;
// A registry of every class of a large installation stays far below this; a bigger file
// is not ours.
constexpr off_t kMaxFileBytes = 16 << 20;
constexpr std::wstring_view kErrorSource = L"Registry";

// A fault of the file's contents, with what is wrong.
struct Damaged {
  std::string reason;
};

std::string systemMessage(int error) {
  return std::generic_category().message(error);
}

std::wstring widePath(const std::filesystem::path& path) {
  return fromUtf8(path.string());
}

HRESULT fail(HRESULT code, const std::filesystem::path& file, const char* what,
             const std::string& reason) {
  return reportPlatformError(code, kErrorSource,
                             L"The registry file " + widePath(file) + L" " + fromUtf8(what) +
                                 L": " + fromUtf8(reason) + L".");
}

// --- Reading ----------------------------------------------------------------------

// The file's bytes; false with `error` set when it cannot be read. A missing file reads
// as empty text with `missing` set.
bool readText(const std::filesystem::path& file, std::string& text, bool& missing,
              std::string& error) {
  missing = false;
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    missing = errno == ENOENT;
    error = systemMessage(errno);
    return missing;
  }
  struct stat status {};
  bool ok = ::fstat(fd, &status) == 0;
  if (!ok)
    error = systemMessage(errno);
  else if (!S_ISREG(status.st_mode))
    ok = false, error = "it is not a regular file";
  else if (status.st_size > kMaxFileBytes)
    ok = false, error = "it is larger than 16 MiB";
  if (ok) {
    text.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    while (ok && done < text.size()) {
      const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ok = false, error = systemMessage(errno);
      if (n == 0) text.resize(done);  // shrank while reading: take what is there
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
  }
  ::close(fd);
  return ok;
}

const json& member(const json& object, const char* name, json::value_t type,
                   const std::string& where) {
  auto it = object.find(name);
  if (it == object.end() || it->type() != type)
    throw Damaged{where + " has no " + (type == json::value_t::object ? "object" : "text") + " \"" +
                  name + "\""};
  return *it;
}

const std::string& utf8Text(const json& object, const char* name, const std::string& where) {
  return member(object, name, json::value_t::string, where).get_ref<const std::string&>();
}

std::wstring text(const json& object, const char* name, const std::string& where) {
  return fromUtf8(utf8Text(object, name, where));
}

std::wstring optionalText(const json& object, const char* name, const std::string& where) {
  return object.contains(name) ? text(object, name, where) : std::wstring();
}

GUID guidFrom(const std::string& value, const std::string& where) {
  GUID result;
  if (!parseGuid(std::string_view(value), result))
    throw Damaged{where + ": \"" + value + "\" is not a GUID"};
  return result;
}

const json& objectEntry(const json& value, const std::string& where) {
  if (!value.is_object()) throw Damaged{where + " is not an object"};
  return value;
}

RegistryContents decode(const json& document) {
  if (!document.is_object()) throw Damaged{"the document is not an object"};
  if (document.value("format", std::string()) != kFormatName)
    throw Damaged{std::string("\"format\" is not \"") + kFormatName + "\""};
  auto version = document.find("version");
  if (version == document.end() || !version->is_number_integer() || *version != kFormatVersion)
    throw Damaged{"\"version\" is not " + std::to_string(kFormatVersion)};

  RegistryContents contents;
  for (const auto& [key, value] :
       member(document, "classes", json::value_t::object, "the document").items()) {
    const std::string where = "class " + key;
    const json& entry = objectEntry(value, where);
    RegistryClassEntry c;
    c.clsid = guidFrom(key, where);
    c.module = utf8Text(entry, "module", where);
    c.threadingModel = text(entry, "threadingModel", where);
    c.description = text(entry, "description", where);
    c.progId = text(entry, "progId", where);
    c.versionIndependentProgId = text(entry, "versionIndependentProgId", where);
    if (entry.contains("typeLib"))
      c.typeLibrary = guidFrom(utf8Text(entry, "typeLib", where), where);
    contents.classes.push_back(std::move(c));
  }
  for (const auto& [key, value] :
       member(document, "progIds", json::value_t::object, "the document").items()) {
    const std::string where = "ProgID " + key;
    const json& entry = objectEntry(value, where);
    RegistryProgIdEntry p;
    p.progId = fromUtf8(key);
    p.clsid = guidFrom(utf8Text(entry, "clsid", where), where);
    p.description = text(entry, "description", where);
    p.currentVersion = optionalText(entry, "curVer", where);
    p.module = utf8Text(entry, "module", where);
    contents.progIds.push_back(std::move(p));
  }
  for (const auto& [keyName, key] :
       member(document, "keys", json::value_t::object, "the document").items()) {
    for (const auto& [name, value] : objectEntry(key, "key " + keyName).items()) {
      const std::string where = "value " + name + " of key " + keyName;
      const json& entry = objectEntry(value, where);
      contents.values.push_back({fromUtf8(keyName), fromUtf8(name), text(entry, "value", where),
                                 utf8Text(entry, "module", where)});
    }
  }
  return contents;
}

// S_OK with the contents (empty for a missing file), or a reported failure.
HRESULT load(const std::filesystem::path& file, RegistryContents& contents) {
  contents = {};
  if (file.empty()) return S_OK;
  std::string bytes, error;
  bool missing = false;
  if (!readText(file, bytes, missing, error))
    return fail(REGDB_E_READREGDB, file, "cannot be read", error);
  if (missing) return S_OK;
  try {
    contents = decode(json::parse(bytes));
    return S_OK;
  } catch (const json::exception& e) {
    return fail(REGDB_E_READREGDB, file, "is damaged", e.what());
  } catch (const Damaged& d) {
    return fail(REGDB_E_READREGDB, file, "is damaged", d.reason);
  }
}

// --- Writing ----------------------------------------------------------------------

std::string utf8(const std::wstring& text) {
  return toUtf8(text);
}

json encode(const RegistryContents& contents) {
  json classes = json::object(), progIds = json::object(), keys = json::object();
  for (const RegistryClassEntry& c : contents.classes) {
    json entry = {{"module", c.module.string()},
                  {"threadingModel", utf8(c.threadingModel)},
                  {"description", utf8(c.description)},
                  {"progId", utf8(c.progId)},
                  {"versionIndependentProgId", utf8(c.versionIndependentProgId)}};
    if (c.typeLibrary != GUID_NULL) entry["typeLib"] = toString(c.typeLibrary);
    classes[toString(c.clsid)] = std::move(entry);
  }
  for (const RegistryProgIdEntry& p : contents.progIds) {
    json entry = {{"clsid", toString(p.clsid)},
                  {"description", utf8(p.description)},
                  {"module", p.module.string()}};
    if (!p.currentVersion.empty()) entry["curVer"] = utf8(p.currentVersion);
    progIds[utf8(p.progId)] = std::move(entry);
  }
  for (const RegistryValueEntry& v : contents.values)
    keys[utf8(v.key)][utf8(v.name)] = {{"value", utf8(v.value)}, {"module", v.module.string()}};
  return {{"format", kFormatName},
          {"version", kFormatVersion},
          {"classes", std::move(classes)},
          {"progIds", std::move(progIds)},
          {"keys", std::move(keys)}};
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes a temporary file beside `file` and renames it over `file`, so that a reader
// sees the old file or the new one, never a part.
bool replaceFile(const std::filesystem::path& file, const std::string& text, std::string& error) {
  std::string name = file.string() + ".XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    error = systemMessage(errno);
    return false;
  }
  bool ok = ::fchmod(fd, 0644) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
  if (!ok) error = systemMessage(errno);
  if (::close(fd) != 0 && ok) ok = false, error = systemMessage(errno);
  if (ok && ::rename(name.c_str(), file.c_str()) != 0) ok = false, error = systemMessage(errno);
  if (!ok) ::unlink(name.c_str());
  return ok;
}

// An exclusive lock on "<file>.lock" for one read-change-write of the registry. The lock
// file is never removed: removing it would let two writers lock two different files.
class WriterLock {
 public:
  explicit WriterLock(const std::filesystem::path& file) {
    const std::string name = file.string() + ".lock";
    fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) {
      error_ = systemMessage(errno);
      return;
    }
    int rc;
    while ((rc = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (rc != 0) error_ = systemMessage(errno);
  }
  ~WriterLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;

  const std::string& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string error_;
};

// Reads the file under the writer lock, lets `change` edit the contents and writes them
// back atomically.
template <class Change>
HRESULT update(Change change) {
  const std::filesystem::path file = registryFilePath();
  if (file.empty())
    return reportPlatformError(REGDB_E_WRITEREGDB, kErrorSource,
                               L"There is no place for the registry file: set LUMXIP_REGISTRY, "
                               L"XDG_DATA_HOME or HOME.");
  std::error_code ec;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) return fail(REGDB_E_WRITEREGDB, file, "cannot be written", ec.message());
  const WriterLock lock(file);
  if (!lock.error().empty())
    return fail(REGDB_E_WRITEREGDB, file, "cannot be locked", lock.error());
  RegistryContents contents;
  if (const HRESULT hr = load(file, contents); FAILED(hr)) return hr;
  change(contents);
  std::string text;
  try {
    text = encode(contents).dump(2) + "\n";
  } catch (const json::exception& e) {  // a module path that is not UTF-8
    return fail(REGDB_E_WRITEREGDB, file, "cannot be written", e.what());
  }
  std::string error;
  if (!replaceFile(file, text, error))
    return fail(REGDB_E_WRITEREGDB, file, "cannot be written", error);
  return S_OK;
}

void removeEntriesOf(RegistryContents& contents, const std::filesystem::path& module) {
  auto of = [&](const auto& entry) { return entry.module == module; };
  std::erase_if(contents.classes, of);
  std::erase_if(contents.progIds, of);
  std::erase_if(contents.values, of);
}

// Adds `entry` to `list`, replacing an entry under the same name.
template <class Entry, class SameName>
void put(std::vector<Entry>& list, Entry entry, SameName sameName) {
  std::erase_if(list, [&](const Entry& e) { return sameName(e, entry); });
  list.push_back(std::move(entry));
}

}  // namespace

std::filesystem::path registryFilePath() {
  constexpr const char* kName = "registry.json";
  if (const char* path = std::getenv("LUMXIP_REGISTRY"); path && *path) return path;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return std::filesystem::path(data) / "lumxip" / kName;
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".local/share/lumxip" / kName;
  return {};
}

HRESULT readRegistryFile(RegistryContents* contents) {
  if (contents == nullptr) return E_POINTER;
  try {
    return load(registryFilePath(), *contents);
  } catch (const std::bad_alloc&) {
    *contents = {};
    return E_OUTOFMEMORY;
  }
}

HRESULT writeModuleRegistration(const std::filesystem::path& module,
                                const RegistryContents& entries) {
  if (module.empty()) return E_INVALIDARG;
  try {
    return update([&](RegistryContents& contents) {
      removeEntriesOf(contents, module);
      for (RegistryClassEntry c : entries.classes) {
        c.module = module;
        put(contents.classes, std::move(c), [](auto& a, auto& b) { return a.clsid == b.clsid; });
      }
      for (RegistryProgIdEntry p : entries.progIds) {
        p.module = module;
        put(contents.progIds, std::move(p), [](auto& a, auto& b) { return a.progId == b.progId; });
      }
      for (RegistryValueEntry v : entries.values) {
        v.module = module;
        put(contents.values, std::move(v),
            [](auto& a, auto& b) { return a.key == b.key && a.name == b.name; });
      }
    });
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT removeModuleRegistration(const std::filesystem::path& module) {
  if (module.empty()) return E_INVALIDARG;
  try {
    return update([&](RegistryContents& contents) { removeEntriesOf(contents, module); });
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace lum
