#include "persist/nesting_guard.h"

#include <string>

#include "std/archive/archive.h"

namespace {
thread_local int levelsEntered = 0;
}

lcNestingGuard::lcNestingGuard(const wchar_t* what) {
  if (levelsEntered >= kMaxLevels)
    throw lcArchive::BadContent(std::wstring(what) + L" are nested more than " +
                                std::to_wstring(kMaxLevels) + L" deep");
  ++levelsEntered;
}

lcNestingGuard::~lcNestingGuard() {
  --levelsEntered;
}
