#include "member_info.h"

#include <cwctype>
#include <map>

namespace lumxip {
namespace {

template <class T>
std::vector<T> vectorOf(const VARIANT& array) {
  std::vector<T> items;
  if (!(array.vt & VT_ARRAY) || array.parray == nullptr) return items;
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(array.parray, 1, &lower);
  SafeArrayGetUBound(array.parray, 1, &upper);
  for (LONG i = lower; i <= upper; ++i) {
    T item{};
    if (SUCCEEDED(SafeArrayGetElement(array.parray, &i, &item))) items.push_back(item);
  }
  return items;
}

bool sameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  return true;
}

}  // namespace

std::vector<MemberInfo> membersOf(IUnknown* object) {
  std::vector<MemberInfo> members;
  ComPtr<ILumMemberDescriptions> descriptions;
  LONG count = 0;
  if (object == nullptr ||
      FAILED(object->QueryInterface(iid_of<ILumMemberDescriptions>, descriptions.putVoid())) ||
      FAILED(descriptions->get_MemberCount(&count)))
    return members;
  for (LONG i = 0; i < count; ++i) {
    MemberInfo m;
    lum::Bstr name, kind, defaultValue, description;
    if (FAILED(descriptions->GetMember(i, name.put(), &m.dispid, kind.put(), &m.type,
                                       defaultValue.put(), description.put())))
      continue;
    m.name = name.view(), m.kind = kind.view(), m.defaultValue = defaultValue.view();
    m.description = description.view();
    lum::Variant names, values;
    if (SUCCEEDED(descriptions->GetEnumeration(i, names.put(), values.put()))) {
      const auto texts = vectorOf<BSTR>(names.get());
      const auto numbers = vectorOf<LONG>(values.get());
      for (std::size_t k = 0; k < texts.size() && k < numbers.size(); ++k)
        m.enumeration.emplace_back(lum::bstrView(texts[k]), numbers[k]);
      for (BSTR text : texts)
        SysFreeString(text);
    }
    members.push_back(std::move(m));
  }
  return members;
}

std::optional<LONG> enumerationValue(const std::vector<MemberInfo>& members,
                                     std::wstring_view name) {
  for (const auto& member : members)
    for (const auto& [text, value] : member.enumeration)
      if (sameName(text, name)) return value;
  return std::nullopt;
}

std::string typeName(VARTYPE type) {
  static const std::map<VARTYPE, const char*> names = {{VT_EMPTY, ""},
                                                       {VT_I2, "VT_I2"},
                                                       {VT_I4, "VT_I4"},
                                                       {VT_R4, "VT_R4"},
                                                       {VT_R8, "VT_R8"},
                                                       {VT_BSTR, "VT_BSTR"},
                                                       {VT_DISPATCH, "VT_DISPATCH"},
                                                       {VT_BOOL, "VT_BOOL"},
                                                       {VT_VARIANT, "VT_VARIANT"},
                                                       {VT_UNKNOWN, "VT_UNKNOWN"},
                                                       {VT_UI1, "VT_UI1"},
                                                       {VT_I8, "VT_I8"}};
  const VARTYPE base = static_cast<VARTYPE>(type & ~VT_ARRAY);
  const auto it = names.find(base);
  const std::string name = it != names.end() ? it->second : "VT " + std::to_string(base);
  return (type & VT_ARRAY) ? "VT_ARRAY|" + name : name;
}

}  // namespace lumxip
