#pragma once
// A component's own description of its members (ILumMemberDescriptions), read into plain
// values for `describe`, enumeration names and result properties.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lumxip/HalvexImageProcessing.h"

namespace lumxip {

struct MemberInfo {
  std::wstring name;
  DISPID dispid = 0;
  std::wstring kind;  // "property", "read-only property", "persisted", "method", ...
  VARTYPE type = VT_EMPTY;
  std::wstring defaultValue;
  std::wstring description;
  std::vector<std::pair<std::wstring, LONG>> enumeration;

  bool readable() const { return kind == L"property" || kind == L"read-only property"; }
};

// Empty for an object that does not describe itself.
std::vector<MemberInfo> membersOf(IUnknown* object);

// The value of an enumeration member named `name` (not case-sensitive) among the
// enumerations of `members`.
std::optional<LONG> enumerationValue(const std::vector<MemberInfo>& members,
                                     std::wstring_view name);

// "VT_I4", "VT_BSTR", ...
std::string typeName(VARTYPE type);

}  // namespace lumxip
