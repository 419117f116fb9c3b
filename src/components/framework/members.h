#pragma once
// A component declares each of its members once, in a table:
//
//   static constexpr auto ownMembers() {
//     return lum::members(
//         prop<&Self::constant_>(L"ConstantValue", lumAddConst_ConstantValue).byDefault(0),
//         prop<&Self::overflow_>(L"OverflowMode", lumAddConst_OverflowMode)
//             .checkedBy(enumRange(lumBounded, lumWrap, kOverflowModeNames)),
//         persisted<&Self::operationFormat_>(L"OperationFormat"));
//   }
//
// From the table the component machinery derives the interface getters and setters
// (LUM_PROPERTY), change events, dispatch by name, the defaults set at construction,
// persistence and the description that `lumxip describe` prints.

#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

#include "components/framework/field_traits.h"
#include "components/framework/member_checks.h"
#include "lumxip/HalvexCore.h"

namespace lum::detail {

template <class M>
struct MemberPointerParts;
template <class C, class F>
struct MemberPointerParts<F C::*> {
  using Class = C;
  using Field = F;
};

// "put_" + name as a fixed buffer, so that the error boundary can name the method
// without allocating.
struct MethodName {
  static constexpr int kCapacity = 64;
  wchar_t text[kCapacity] = {};
  constexpr MethodName() = default;
  constexpr MethodName(const wchar_t* prefix, const wchar_t* name) {
    int i = 0;
    for (const wchar_t* p = prefix; *p && i < kCapacity - 1; ++p)
      text[i++] = *p;
    for (const wchar_t* p = name; p && *p && i < kCapacity - 1; ++p)
      text[i++] = *p;
  }
};

}  // namespace lum::detail

enum lcAccess : uint8_t {
  lcAccessNone = 0,
  lcAccessGet = 1,
  lcAccessPut = 2,
  lcAccessPutRef = 4,
};

// Persistence groups: the low 24 bits of a persistence mode select what is written.
inline constexpr uint32_t kAllGroups = 0xFFFFFF;

// A property held in a field of the component.
template <auto FieldPtr, class Check = lcNoCheck>
struct lcProperty {
  using Class = typename lum::detail::MemberPointerParts<decltype(FieldPtr)>::Class;
  using Field = typename lum::detail::MemberPointerParts<decltype(FieldPtr)>::Field;
  using Traits = lcFieldTraits<Field>;
  using Literal = typename Traits::Literal;
  static constexpr auto field = FieldPtr;

  const wchar_t* name = L"";
  DISPID dispid = 0;
  uint8_t access = lcAccessGet | lcAccessPut;
  LONG changeFlags = lumChangeSetByClient;
  Literal defaultValue{};
  Check check{};
  const wchar_t* persistName = nullptr;  // null: not persisted
  uint32_t groups = kAllGroups;
  bool compares = true;              // false: every put notifies, even of the value held
  bool eventCarriesValue = true;     // false: the change event's value is empty
  bool clearedWhenAbsent = false;    // reading an archive that lacks it resets it
  const wchar_t* description = L"";  // one line, for descriptions and `lumxip describe`
  lum::detail::MethodName getMethod{};
  lum::detail::MethodName putMethod{};

  // Builders, used in the declaration table.
  constexpr lcProperty byDefault(Literal value) const {
    lcProperty copy = *this;
    copy.defaultValue = value;
    return copy;
  }
  constexpr lcProperty flags(LONG changeFlags_) const {
    lcProperty copy = *this;
    copy.changeFlags = changeFlags_;
    return copy;
  }
  template <class NewCheck>
  constexpr lcProperty<FieldPtr, NewCheck> checkedBy(NewCheck newCheck) const {
    lcProperty<FieldPtr, NewCheck> copy;
    copy.name = name;
    copy.dispid = dispid;
    copy.access = access;
    copy.changeFlags = changeFlags;
    copy.defaultValue = defaultValue;
    copy.check = newCheck;
    copy.persistName = persistName;
    copy.groups = groups;
    copy.compares = compares;
    copy.eventCarriesValue = eventCarriesValue;
    copy.clearedWhenAbsent = clearedWhenAbsent;
    copy.description = description;
    copy.getMethod = getMethod;
    copy.putMethod = putMethod;
    return copy;
  }
  constexpr lcProperty alwaysNotifies() const {
    lcProperty copy = *this;
    copy.compares = false;
    return copy;
  }
  // An archive read without the "keep absent" mode bit resets it when it lacks the name.
  constexpr lcProperty resetWhenAbsent() const {
    lcProperty copy = *this;
    copy.clearedWhenAbsent = true;
    return copy;
  }
  constexpr lcProperty eventWithoutValue() const {
    lcProperty copy = *this;
    copy.eventCarriesValue = false;
    return copy;
  }
  constexpr lcProperty describedAs(const wchar_t* text) const {
    lcProperty copy = *this;
    copy.description = text;
    return copy;
  }
  constexpr lcProperty readOnly() const { return withAccess(lcAccessGet); }
  // An object property set by reference: get and putref.
  constexpr lcProperty byReference() const {
    lcProperty copy = withAccess(lcAccessGet | lcAccessPutRef);
    copy.putMethod = lum::detail::MethodName(L"putref_", name);
    return copy;
  }
  constexpr lcProperty persistedAs(const wchar_t* persistedName) const {
    lcProperty copy = *this;
    copy.persistName = persistedName;
    return copy;
  }
  constexpr lcProperty notPersisted() const { return persistedAs(nullptr); }
  constexpr lcProperty inGroups(uint32_t groupBits) const {
    lcProperty copy = *this;
    copy.groups = groupBits;
    return copy;
  }

 private:
  constexpr lcProperty withAccess(uint8_t newAccess) const {
    lcProperty copy = *this;
    copy.access = newAccess;
    return copy;
  }
};

// A property with a dispatch ID: get and put by default, persisted under its own name.
template <auto FieldPtr>
constexpr auto prop(const wchar_t* name, DISPID dispid) {
  lcProperty<FieldPtr> p;
  p.name = name;
  p.dispid = dispid;
  p.persistName = name;
  p.getMethod = lum::detail::MethodName(L"get_", name);
  p.putMethod = lum::detail::MethodName(L"put_", name);
  return p;
}

// A field that is persisted but is no property.
template <auto FieldPtr>
constexpr auto persisted(const wchar_t* persistedName) {
  lcProperty<FieldPtr> p;
  p.name = persistedName;
  p.access = lcAccessNone;
  p.persistName = persistedName;
  return p;
}

// A member function reached by dispatch. Its last pointer parameter is the call's result
// unless `withoutResult` says otherwise; earlier pointer parameters are out-arguments
// passed by reference. Parameters from `firstOptional` on may be omitted.
template <auto Function>
struct lcMethod {
  static constexpr auto function = Function;
  const wchar_t* name = L"";
  DISPID dispid = 0;
  int firstOptional = -1;  // -1: every parameter is required
  bool lastIsResult = true;
  double defaults[8] = {};  // numeric values of omitted optional parameters

  constexpr lcMethod optionalFrom(int index) const {
    lcMethod copy = *this;
    copy.firstOptional = index;
    return copy;
  }
  constexpr lcMethod defaultFor(int index, double value) const {
    lcMethod copy = *this;
    copy.defaults[index] = value;
    return copy;
  }
  constexpr lcMethod withoutResult() const {
    lcMethod copy = *this;
    copy.lastIsResult = false;
    return copy;
  }
};

template <auto Function>
constexpr auto method(const wchar_t* name, DISPID dispid) {
  return lcMethod<Function>{name, dispid};
}

// A Set<X> method reports its change under Get<X>'s state ID, but dispatch finds members
// by ID, so the setter takes an ID of its own from a range no state ID uses.
constexpr DISPID lcSetterDispatchId(DISPID getterId) {
  return getterId + 0x10000000;
}

// A property with index arguments (KernelValue(Position)), reached by dispatch through a
// getter HRESULT(Index..., Value*) and a setter HRESULT(Index..., Value).
template <auto Getter, auto Setter>
struct lcIndexedProperty {
  static constexpr auto getter = Getter;
  static constexpr auto setter = Setter;
  const wchar_t* name = L"";
  DISPID dispid = 0;
};

template <auto Getter, auto Setter = nullptr>
constexpr auto indexedProp(const wchar_t* name, DISPID dispid) {
  return lcIndexedProperty<Getter, Setter>{name, dispid};
}

namespace lum {

template <class... Members>
constexpr auto members(Members... m) {
  return std::tuple<Members...>(m...);
}

// Calls `f(member)` for each member in declaration order until it returns true.
template <class Tuple, class F>
constexpr bool anyMember(const Tuple& table, F&& f) {
  return std::apply([&](const auto&... m) { return (f(m) || ...); }, table);
}

template <class Tuple, class F>
constexpr void forEachMember(const Tuple& table, F&& f) {
  std::apply([&](const auto&... m) { (f(m), ...); }, table);
}

namespace detail {
template <class M>
struct IsProperty : std::false_type {};
template <auto F, class C>
struct IsProperty<lcProperty<F, C>> : std::true_type {};

template <auto FieldPtr, class M>
constexpr bool describesField() {
  if constexpr (IsProperty<M>::value) {
    if constexpr (std::is_same_v<std::remove_cv_t<decltype(M::field)>, decltype(FieldPtr)>)
      return M::field == FieldPtr;
  }
  return false;
}

template <auto FieldPtr, std::size_t I, class Tuple>
constexpr auto findProperty(const Tuple& table) {
  static_assert(I < std::tuple_size_v<Tuple>, "the field is not declared in the member table");
  using M = std::tuple_element_t<I, Tuple>;
  if constexpr (describesField<FieldPtr, M>())
    return std::get<I>(table);
  else
    return findProperty<FieldPtr, I + 1>(table);
}
}  // namespace detail

// The declaration of the property held in `FieldPtr`.
template <auto FieldPtr, class Tuple>
constexpr auto propertyFor(const Tuple& table) {
  return detail::findProperty<FieldPtr, 0>(table);
}

template <class M>
inline constexpr bool isProperty = detail::IsProperty<M>::value;

}  // namespace lum
