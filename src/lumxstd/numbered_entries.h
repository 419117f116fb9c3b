#pragma once
// Lists a component persists as numbered entries, "<prefix>0", "<prefix>1", ..., read up
// to the first number the archive lacks: the layout the property archive uses for its
// own entries ("Item0", "Key0", ...).

#include <string>
#include <string_view>

#include "lumxip/HalvexCore.h"

namespace lumxstd {

inline lum::Bstr numberedName(std::wstring_view prefix, std::size_t number) {
  return lum::Bstr(std::wstring(prefix) + std::to_wstring(number));
}

// Looked up first, so that the end of a list notes no problem in the archive.
inline bool archiveHas(ILumArchive& archive, const lum::Bstr& name) {
  LONG found = -1;
  archive.FindKey(name.get(), &found);
  return found >= 0;
}

}  // namespace lumxstd
