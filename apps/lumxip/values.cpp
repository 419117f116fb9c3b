#include "values.h"

#include <cctype>
#include <charconv>
#include <cstdint>

#include "dispatch_calls.h"

namespace lumxip {
namespace {

std::string_view trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

// Splits at `separator` where it stands outside parentheses and quotes.
std::vector<std::string_view> splitTopLevel(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  int depth = 0;
  char quote = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth < 0) throw CommandError("unbalanced ')' in \"" + std::string(text) + "\"");
    } else if (c == separator && depth == 0) {
      parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (depth != 0 || quote)
    throw CommandError("unbalanced parenthesis or quote in \"" + std::string(text) + "\"");
  parts.push_back(text.substr(start));
  return parts;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

template <class T>
bool parseWhole(std::string_view text, T& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

std::vector<PathSegment> parsePath(std::string_view text) {
  std::vector<PathSegment> segments;
  for (std::string_view part : splitTopLevel(text, '.')) {
    part = trim(part);
    PathSegment segment;
    const std::size_t open = part.find('(');
    std::string_view name = trim(part.substr(0, open));
    if (open != std::string_view::npos) {
      if (part.back() != ')') throw CommandError("text after ')' in \"" + std::string(text) + "\"");
      const std::string_view inside = part.substr(open + 1, part.size() - open - 2);
      if (!trim(inside).empty())
        for (std::string_view arg : splitTopLevel(inside, ','))
          segment.args.emplace_back(trim(arg));
    }
    if (name.empty())
      throw CommandError("a member name is missing in \"" + std::string(text) + "\"");
    segment.name = wide(name);
    segments.push_back(std::move(segment));
  }
  return segments;
}

std::pair<std::string, std::string> splitAssignment(std::string_view text) {
  const auto parts = splitTopLevel(text, '=');
  if (parts.size() < 2)
    throw CommandError("expected NAME=VALUE, got \"" + std::string(text) + "\"");
  const std::size_t valueStart = parts[0].size() + 1;
  return {std::string(trim(parts[0])), std::string(text.substr(valueStart))};
}

lum::Variant parseValue(std::string_view raw, const std::vector<MemberInfo>& members) {
  const std::string_view text = trim(raw);
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
      text.back() == text.front())
    return lum::Variant(std::wstring_view(wide(text.substr(1, text.size() - 2))));
  if (!text.empty() && text.front() == '@') {
    ComPtr<IUnknown> object = loadObjectFile(std::string(text.substr(1)));
    if (auto dispatch = object.as<IDispatch>()) return lum::Variant(dispatch.get());
    return lum::Variant(object.get());
  }
  if (equalsIgnoringCase(text, "true")) return lum::Variant(true);
  if (equalsIgnoringCase(text, "false")) return lum::Variant(false);
  if (equalsIgnoringCase(text, "nothing")) return lum::Variant(static_cast<IDispatch*>(nullptr));
  int64_t integer = 0;
  if (parseWhole(text, integer)) {
    if (integer >= INT32_MIN && integer <= INT32_MAX)
      return lum::Variant(static_cast<int32_t>(integer));
    lum::Variant wideValue;
    wideValue.put()->vt = VT_I8;
    wideValue.ptr()->llVal = integer;
    return wideValue;
  }
  double real = 0;
  if (parseWhole(text, real)) return lum::Variant(real);
  const std::wstring name = wide(text);
  if (auto value = enumerationValue(members, name))
    return lum::Variant(static_cast<int32_t>(*value));
  return lum::Variant(std::wstring_view(wide(raw)));
}

ComPtr<ILumRegion> parseRegion(std::string_view text) {
  if (!text.empty() && text.front() == '@') {
    auto region = loadObjectFile(std::string(text.substr(1))).as<ILumRegion>();
    if (!region) throw CommandError(std::string(text.substr(1)) + ": holds no region");
    return region;
  }
  const auto parts = splitTopLevel(text, ',');
  double numbers[4] = {};
  if (parts.size() != 4 || !parseWhole(trim(parts[0]), numbers[0]) ||
      !parseWhole(trim(parts[1]), numbers[1]) || !parseWhole(trim(parts[2]), numbers[2]) ||
      !parseWhole(trim(parts[3]), numbers[3]))
    throw CommandError("a region is X,Y,W,H or @FILE, got \"" + std::string(text) + "\"");
  ComPtr<IDispatch> rectangle = createComponent("Halvex.LumRectangle");
  const wchar_t* names[] = {L"X", L"Y", L"Width", L"Height"};
  for (int i = 0; i < 4; ++i)
    if (Failure f = putProperty(rectangle.get(), names[i], {}, lum::Variant(numbers[i]));
        f.failed())
      throw CommandError("region " + std::string(text) + ": " + describe(f));
  return rectangle.as<ILumRegion>();
}

}  // namespace lumxip
