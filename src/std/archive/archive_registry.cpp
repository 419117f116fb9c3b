#include "std/archive/archive_registry.h"

#include <map>
#include <mutex>
#include <typeindex>

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, std::pair<std::type_index, lcArchivableFactory>, std::less<>> byName;
  std::map<std::type_index, std::string> byType;
};

// Made on first use, so that classes can register from static initialisers in any order.
Registry& registry() {
  static Registry instance;
  return instance;
}

}  // namespace

void lcRegisterArchivable(std::string_view name, const std::type_info& type,
                          lcArchivableFactory factory) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto named = r.byName.find(name);
  const auto typed = r.byType.find(type);
  const bool nameFree = named == r.byName.end();
  const bool typeFree = typed == r.byType.end();
  if (nameFree && typeFree) {
    r.byName.emplace(std::string(name), std::pair{std::type_index(type), factory});
    r.byType.emplace(type, std::string(name));
    return;
  }
  if (!nameFree && !typeFree && named->second.first == type) return;
  throw lcArchive::Duplicate(L"archive class name or type registered twice");
}

std::optional<lcArchivableNew> lcMakeArchivable(std::string_view name) {
  lcArchivableFactory factory = nullptr;
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto found = r.byName.find(name);
    if (found == r.byName.end()) return std::nullopt;
    factory = found->second.second;
  }
  return factory();
}

std::optional<std::string> lcArchivableName(const std::type_info& type) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto found = r.byType.find(type);
  if (found == r.byType.end()) return std::nullopt;
  return found->second;
}
