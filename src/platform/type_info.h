#pragma once
// A small, immutable ITypeInfo describing a class or an interface by name, identifier
// and kind, with the interfaces a class implements (IProvideClassInfo hands it out).

#include <string_view>
#include <vector>

#include "platform/dispatch.h"
#include "platform/export.h"

namespace lum {

struct ImplementedType {
  IID iid;
  INT flags;  // IMPLTYPEFLAG_FDEFAULT, IMPLTYPEFLAG_FSOURCE
};

LUM_PLATFORM_API HRESULT createTypeInfo(std::wstring_view name, REFGUID guid, TYPEKIND kind,
                                        const std::vector<ImplementedType>& implemented,
                                        ITypeInfo** info);

}  // namespace lum
