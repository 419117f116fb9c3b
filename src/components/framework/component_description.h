#pragma once
// A description of a component's members that programs can list (`lumxip describe`):
// name, kind, VARIANT type, default and, for enumerations, the members' names.

#include <string>
#include <vector>

#include "components/framework/dispatch_impl.h"
#include "components/framework/members.h"

struct lcMemberDescription {
  std::wstring name;
  DISPID dispid = 0;
  std::wstring kind;  // "property", "read-only property", "persisted", "method", "indexed property"
  VARTYPE type = VT_EMPTY;    // properties only
  std::wstring defaultValue;  // properties only, as text
  std::vector<std::wstring> enumerationNames;
  std::vector<LONG> enumerationValues;  // one per name
  std::wstring persistedAs;
  std::wstring description;  // properties only
};

namespace lum::detail {

// The names an enumeration check knows, with their values: a range names its members
// from its first value on, single bits from bit 0 on.
template <class Check>
void describeEnumeration(const Check& check, lcMemberDescription& d) {
  if constexpr (requires { check.names; }) {
    LONG value = static_cast<LONG>(check.first);
    for (const wchar_t* name : check.names) {
      d.enumerationNames.emplace_back(name);
      d.enumerationValues.push_back(value++);
    }
  } else if constexpr (requires { check.bitNames; }) {
    LONG value = 1;
    for (const wchar_t* name : check.bitNames) {
      d.enumerationNames.emplace_back(name);
      d.enumerationValues.push_back(value);
      value <<= 1;
    }
  } else if constexpr (requires { check.firstName; }) {
    d.enumerationNames = {check.firstName, check.secondName};
    d.enumerationValues = {static_cast<LONG>(check.first), static_cast<LONG>(check.second)};
  }
}

template <class M>
std::wstring defaultText(const M& member) {
  lum::Variant value = M::Traits::toVariant(M::Traits::fromLiteral(member.defaultValue));
  if (value.type() == VT_UNKNOWN || value.type() == VT_DISPATCH) return L"";
  if (FAILED(VariantChangeTypeEx(value.ptr(), value.ptr(), LOCALE_INVARIANT, VARIANT_ALPHABOOL,
                                 VT_BSTR)))
    return L"";
  return std::wstring(lum::bstrView(value.get().bstrVal));
}

}  // namespace lum::detail

template <class T>
std::vector<lcMemberDescription> describeMembers() {
  std::vector<lcMemberDescription> result;
  lum::forEachMember(T::allMembers(), [&](const auto& member) {
    using M = std::decay_t<decltype(member)>;
    lcMemberDescription d;
    d.name = member.name;
    d.dispid = member.dispid;
    if constexpr (lum::isProperty<M>) {
      d.kind = member.access == lcAccessNone  ? L"persisted"
               : member.access == lcAccessGet ? L"read-only property"
                                              : L"property";
      d.type = M::Traits::vt;
      d.defaultValue = lum::detail::defaultText(member);
      lum::detail::describeEnumeration(member.check, d);
      if (member.persistName) d.persistedAs = member.persistName;
      d.description = member.description;
    } else if constexpr (lum::detail::IsMethod<M>::value) {
      d.kind = L"method";
    } else {
      d.kind = L"indexed property";
    }
    result.push_back(std::move(d));
  });
  return result;
}
