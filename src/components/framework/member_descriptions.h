#pragma once
// ILumMemberDescriptions answered from a class's member descriptions; the component base
// hands these its own table.

#include <vector>

#include "components/framework/component_description.h"
#include "components/framework/export.h"

LUM_FRAMEWORK_API HRESULT lcGetMemberDescription(const std::vector<lcMemberDescription>& members,
                                                 LONG index, BSTR* name, DISPID* dispid, BSTR* kind,
                                                 VARTYPE* type, BSTR* defaultValue,
                                                 BSTR* description);
LUM_FRAMEWORK_API HRESULT lcGetMemberEnumeration(const std::vector<lcMemberDescription>& members,
                                                 LONG index, VARIANT* names, VARIANT* values);
