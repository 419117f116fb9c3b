#pragma once
// Every component describes the members its dispatch answers, so that programs can list
// them (`lumxip describe`), convert enumeration names to numbers, or generate bindings
// with named constants and documentation.

#include "lumxip/ip/identifiers.h"
#include "lumxip/platform.h"

LUM_INTERFACE_ID(ILumMemberDescriptions, IUnknown, IID_ILumMemberDescriptions);
struct LUM_VISIBLE ILumMemberDescriptions : IUnknown {
  // The members in persisted order: the base layers' members first.
  virtual HRESULT get_MemberCount(LONG* count) = 0;
  // Member `index` (from 0; E_INVALIDARG outside): name, dispatch ID, kind ("property",
  // "read-only property", "persisted", "method" or "indexed property"), VARIANT type and
  // default as text (properties; VT_EMPTY and "" otherwise), and a one-line description.
  virtual HRESULT GetMember(LONG index, BSTR* name, DISPID* dispid, BSTR* kind, VARTYPE* type,
                            BSTR* defaultValue, BSTR* description) = 0;
  // The member's enumeration: names (VT_ARRAY | VT_BSTR) and their values
  // (VT_ARRAY | VT_I4), both empty when the member's values have no names.
  virtual HRESULT GetEnumeration(LONG index, VARIANT* names, VARIANT* values) = 0;
};
