#pragma once
// The classes an archive can make by name. Each class that is archived through handles
// registers itself once, under a stable name that never changes with the C++ class
// name; an archive writes that name ahead of the object and, when loading, makes a
// default object of the class to read it into.

#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>

#include "std/archive/archive.h"

// A new, default-constructed object of a registered class, seen as both its parts.
struct lcArchivableNew {
  lcPtrHandle<lcRepBase> object;
  lcPersistent* persistent;
};
using lcArchivableFactory = lcArchivableNew (*)();

// Registers `type` under `name`. Registering the same pair again does nothing; a name
// or a type already registered with another partner throws lcArchive::Duplicate.
LC_CORE_API void lcRegisterArchivable(std::string_view name, const std::type_info& type,
                                      lcArchivableFactory factory);
// A new object of the class registered under `name`; nothing for an unknown name.
LC_CORE_API std::optional<lcArchivableNew> lcMakeArchivable(std::string_view name);
// The name under which `type` is registered; nothing for an unregistered type.
LC_CORE_API std::optional<std::string> lcArchivableName(const std::type_info& type);

// Registers class T; returns true so that it can initialise a static at load time:
//   [[maybe_unused]] const bool registered = lcRegisterArchivable<lcThing>("lcThing");
template <lcArchivableObject T>
bool lcRegisterArchivable(std::string_view name) {
  lcRegisterArchivable(name, typeid(T), [] {
    lcPtrHandle<T> made = lcMakeHandle<T>();
    lcPersistent* persistent = made.get();
    return lcArchivableNew{std::move(made), persistent};
  });
  return true;
}
