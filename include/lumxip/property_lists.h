#pragma once
// A component's properties are listed once, in its public header, as an X-macro:
//
//   #define LUM_IP_EXAMPLE_PROPERTIES(P, x)
//     P(x, rw, Gain, LONG, 16863001, 1, atLeast<LONG>(0), "Factor applied to ...")
//     P(x, hidden, Format, LONG, 0, 0, lcNoCheck{}, "Kept for old files")
//
// (each row but the last ends with a backslash).
//
// Each row: kind, name, interface type, state ID (= dispatch ID), default, check and a
// one-line description. The kinds:
//   rw        get and put of a value            ro        get of a stored value
//   flag      get and put of a VARIANT_BOOL     ref       get and putref of an object
//   computed  get of a value worked out by hand (no field, no default)
//   hidden    a persisted field without a property or state ID
//
// This header turns the list into the interface's methods (LUM_INTERFACE_PROPERTIES)
// and the state-ID enumeration's members (LUM_STATE_IDS). The component side
// (components/framework/declared_properties.h) turns the same list into the fields,
// their getters and setters and the member table; only there are the default and check
// columns expanded, so this header needs nothing from the implementation.

#define LUM_DETAIL_WIDEN2(text) L##text
#define LUM_DETAIL_WIDEN(text) LUM_DETAIL_WIDEN2(text)

// ---- interface methods, in list order ----
#define LUM_DETAIL_ITF_rw(Name, Type)          \
  virtual HRESULT get_##Name(Type* value) = 0; \
  virtual HRESULT put_##Name(Type value) = 0;
#define LUM_DETAIL_ITF_flag(Name, Type) LUM_DETAIL_ITF_rw(Name, Type)
#define LUM_DETAIL_ITF_ro(Name, Type) virtual HRESULT get_##Name(Type* value) = 0;
#define LUM_DETAIL_ITF_computed(Name, Type) LUM_DETAIL_ITF_ro(Name, Type)
#define LUM_DETAIL_ITF_ref(Name, Type)          \
  virtual HRESULT get_##Name(Type** value) = 0; \
  virtual HRESULT putref_##Name(Type* value) = 0;
#define LUM_DETAIL_ITF_hidden(Name, Type)
#define LUM_DETAIL_ITF_ROW(x, kind, Name, Type, id, def, check, text) \
  LUM_DETAIL_ITF_##kind(Name, Type)

#define LUM_INTERFACE_PROPERTIES(LIST) LIST(LUM_DETAIL_ITF_ROW, _)

// ---- state identifiers: prefix##Name = id, for every kind but hidden ----
#define LUM_DETAIL_ID_rw(Name, id) Name = id,
#define LUM_DETAIL_ID_flag(Name, id) Name = id,
#define LUM_DETAIL_ID_ro(Name, id) Name = id,
#define LUM_DETAIL_ID_computed(Name, id) Name = id,
#define LUM_DETAIL_ID_ref(Name, id) Name = id,
#define LUM_DETAIL_ID_hidden(Name, id)
#define LUM_DETAIL_ID_ROW(prefix, kind, Name, Type, id, def, check, text) \
  LUM_DETAIL_ID_##kind(prefix##Name, id)

#define LUM_STATE_IDS(LIST, prefix) LIST(LUM_DETAIL_ID_ROW, prefix)
