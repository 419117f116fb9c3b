#pragma once
// The component side of a property list (lumxip/property_lists.h). From the list in the
// public header a component gets, with two lines,
//
//   LUM_PARAMETERS(lcGainParams, LUM_IP_EXAMPLE_PROPERTIES)   // the fields, a plain struct
//   ...
//   class CLumExample final : public lcIPOneImageOperatorImpl<CLumExample, ILumExample,
//                                                            lcGainParams> {
//     LUM_DECLARED_PROPERTIES(LUM_IP_EXAMPLE_PROPERTIES)      // accessors and member table
//   };
//
// the fields (named as the properties, so a kernel reads `params.Gain`), the interface
// getters and setters, and the member table rows with each default, check and
// description. A class with members of its own builds its table from
// LUM_MEMBER_ROWS(LIST) and its own rows.

#include <tuple>
#include <type_traits>

#include "components/framework/field_traits.h"
#include "components/framework/members.h"
#include "lumxip/property_lists.h"

// The field that holds a property of interface type T.
template <class T>
struct lcFieldForInterfaceType {
  using type = T;
};
template <>
struct lcFieldForInterfaceType<BSTR> {
  using type = lum::Bstr;
};
template <>
struct lcFieldForInterfaceType<VARIANT> {
  using type = lum::Variant;
};
template <class I>
requires std::is_base_of_v<IUnknown, I>
struct lcFieldForInterfaceType<I*> {
  using type = ComPtr<I>;
};
template <class T>
using lcFieldOf = typename lcFieldForInterfaceType<T>::type;

// ---- fields ----
#define LUM_DETAIL_FIELD_rw(Name, Type) lcFieldOf<Type> Name{};
#define LUM_DETAIL_FIELD_ro(Name, Type) lcFieldOf<Type> Name{};
#define LUM_DETAIL_FIELD_hidden(Name, Type) lcFieldOf<Type> Name{};
#define LUM_DETAIL_FIELD_flag(Name, Type) lcBool Name{};
#define LUM_DETAIL_FIELD_ref(Name, Type) ComPtr<Type> Name;
#define LUM_DETAIL_FIELD_computed(Name, Type)
#define LUM_DETAIL_FIELD_ROW(x, kind, Name, Type, id, def, check, text) \
  LUM_DETAIL_FIELD_##kind(Name, Type)

// ---- member table rows (each a one-element tuple, joined by tuple_cat) ----
#define LUM_DETAIL_PROP(Name, id, def, check, text) \
  prop<&Self::Name>(LUM_DETAIL_WIDEN(#Name), id)    \
      .byDefault(def)                               \
      .describedAs(LUM_DETAIL_WIDEN(text))          \
      .checkedBy(check)
#define LUM_DETAIL_ROW_rw(Name, id, def, check, text) \
  , lum::members(LUM_DETAIL_PROP(Name, id, def, check, text))
#define LUM_DETAIL_ROW_flag(Name, id, def, check, text) \
  LUM_DETAIL_ROW_rw(Name, id, def, check, text)
#define LUM_DETAIL_ROW_ro(Name, id, def, check, text) \
  , lum::members(LUM_DETAIL_PROP(Name, id, def, check, text).readOnly())
#define LUM_DETAIL_ROW_ref(Name, id, def, check, text) \
  , lum::members(LUM_DETAIL_PROP(Name, id, def, check, text).byReference())
#define LUM_DETAIL_ROW_hidden(Name, id, def, check, text)        \
  , lum::members(persisted<&Self::Name>(LUM_DETAIL_WIDEN(#Name)) \
                     .byDefault(def)                             \
                     .describedAs(LUM_DETAIL_WIDEN(text))        \
                     .checkedBy(check))
#define LUM_DETAIL_ROW_computed(Name, id, def, check, text) \
  , lum::members(indexedProp<&Self::get_##Name>(LUM_DETAIL_WIDEN(#Name), id))
#define LUM_DETAIL_MEMBER_ROW(x, kind, Name, Type, id, def, check, text) \
  LUM_DETAIL_ROW_##kind(Name, id, def, check, text)

// ---- interface accessors ----
#define LUM_DETAIL_ACCESS_rw(Name, Type) LUM_PROPERTY(Name, Type, Name)
#define LUM_DETAIL_ACCESS_flag(Name, Type) LUM_PROPERTY(Name, Type, Name)
#define LUM_DETAIL_ACCESS_ro(Name, Type) LUM_PROPERTY_GET(Name, Type, Name)
#define LUM_DETAIL_ACCESS_ref(Name, Type) LUM_PROPERTY_REF(Name, Type, Name)
#define LUM_DETAIL_ACCESS_hidden(Name, Type)
#define LUM_DETAIL_ACCESS_computed(Name, Type)
#define LUM_DETAIL_ACCESS_ROW(x, kind, Name, Type, id, def, check, text) \
  LUM_DETAIL_ACCESS_##kind(Name, Type)

// A plain struct with one field per stored property of LIST.
#define LUM_PARAMETERS(StructName, LIST) \
  struct StructName {                    \
    LIST(LUM_DETAIL_FIELD_ROW, _)        \
  }

// The member table rows of LIST, in list order.
#define LUM_MEMBER_ROWS(LIST) std::tuple_cat(std::tuple<>() LIST(LUM_DETAIL_MEMBER_ROW, _))

// In the class: every getter and setter of LIST.
#define LUM_PROPERTY_ACCESSORS(LIST) LIST(LUM_DETAIL_ACCESS_ROW, _)

// In the class: the member table and every getter and setter of LIST.
#define LUM_DECLARED_PROPERTIES(LIST)  \
  static constexpr auto ownMembers() { \
    return LUM_MEMBER_ROWS(LIST);      \
  }                                    \
  LUM_PROPERTY_ACCESSORS(LIST)
