#include "lumxstd/graphics.h"

namespace lumxstd {

void lcVertexArrayCheck::operator()(const wchar_t*, const lum::Variant& value) const {
  if (value.type() == VT_EMPTY) return;
  const SAFEARRAY* array = value.type() == (VT_ARRAY | VT_R8) ? value.get().parray : nullptr;
  if (array == nullptr || array->cDims != 1)
    throw lcCOMError::withDescription(E_INVALIDARG, L"Vertices are an array of doubles.");
  if (array->rgsabound[0].cElements % 2 != 0)
    throw lcCOMError::withDescription(E_INVALIDARG, L"Vertices need an even count of values.");
}

}  // namespace lumxstd
