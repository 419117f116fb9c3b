#pragma once
// Command-line text turned into what a script host would pass: literals typed by their
// spelling, enumeration members by name, objects from files, member paths and regions.

#include <string>
#include <string_view>
#include <vector>

#include "host.h"
#include "member_info.h"

namespace lumxip {

// One step of a member path: "Item(0)" is the name Item with the argument text "0".
struct PathSegment {
  std::wstring name;
  std::vector<std::string> args;
};

// "Operators.Item(0).ConstantValue" → its segments; CommandError on unbalanced
// parentheses or quotes, or an empty name.
std::vector<PathSegment> parsePath(std::string_view text);

// "PATH=VALUE" split at the first '=' outside parentheses and quotes.
std::pair<std::string, std::string> splitAssignment(std::string_view text);

// A literal as a script host types it: 12 → VT_I4 (VT_I8 when larger), 1.5 and 1e3 →
// VT_R8, true/false → VT_BOOL, "text" or 'text' → VT_BSTR without the quotes, nothing →
// a null object, @FILE → the object the file holds (an image, a saved component or
// region), an enumeration member of `members` → its value (VT_I4); anything else is
// text (VT_BSTR).
lum::Variant parseValue(std::string_view text, const std::vector<MemberInfo>& members);

// A region from "X,Y,W,H" (an axis-aligned rectangle) or "@FILE" (a saved region).
ComPtr<ILumRegion> parseRegion(std::string_view text);

}  // namespace lumxip
