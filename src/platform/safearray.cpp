#include "platform/safearray.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/dispatch.h"
#include "platform/variant_types.h"

namespace {

// The descriptor is allocated behind a header that remembers the element type.
struct ArrayBlock {
  VARTYPE vt;
  SAFEARRAY array;
};

ArrayBlock* blockOf(SAFEARRAY* array) {
  return reinterpret_cast<ArrayBlock*>(reinterpret_cast<char*>(array) -
                                       offsetof(ArrayBlock, array));
}

}  // namespace

ULONG lum::arrayElementSize(VARTYPE vt) {
  ULONG size = 0;
  if (lum::detail::forScalarType(
          vt, [&](auto scalar) { size = sizeof(typename decltype(scalar)::Type); }))
    return size;
  switch (vt) {
    case VT_BSTR:
      return sizeof(BSTR);
    case VT_UNKNOWN:
    case VT_DISPATCH:
      return sizeof(IUnknown*);
    case VT_VARIANT:
      return sizeof(VARIANT);
    default:
      return 0;
  }
}

namespace {

USHORT featuresOf(VARTYPE vt) {
  switch (vt) {
    case VT_BSTR:
      return FADF_HAVEVARTYPE | FADF_BSTR;
    case VT_UNKNOWN:
      return FADF_HAVEVARTYPE | FADF_UNKNOWN;
    case VT_DISPATCH:
      return FADF_HAVEVARTYPE | FADF_DISPATCH;
    case VT_VARIANT:
      return FADF_HAVEVARTYPE | FADF_VARIANT;
    default:
      return FADF_HAVEVARTYPE;
  }
}

VARTYPE typeOf(SAFEARRAY* array) {
  return blockOf(array)->vt;
}

void* elementAt(SAFEARRAY* array, ULONG i) {
  return static_cast<char*>(array->pvData) + std::size_t{i} * array->cbElements;
}

// Frees what the elements own; the memory itself stays.
void releaseElements(SAFEARRAY* array) {
  const VARTYPE vt = typeOf(array);
  for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i) {
    void* element = elementAt(array, i);
    if (vt == VT_BSTR) {
      SysFreeString(*static_cast<BSTR*>(element));
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
      if (auto* p = *static_cast<IUnknown**>(element)) p->Release();
    } else if (vt == VT_VARIANT) {
      VariantClear(static_cast<VARIANT*>(element));
    }
  }
}

// The element index of `index` (with the lower bound), or false when outside.
bool indexOf(SAFEARRAY* array, const LONG* index, ULONG& i) {
  const int64_t offset = int64_t{*index} - array->rgsabound[0].lLbound;
  if (offset < 0 || offset >= int64_t{array->rgsabound[0].cElements}) return false;
  i = static_cast<ULONG>(offset);
  return true;
}

// Copies one element from `from` to the empty slot `to`.
HRESULT copyElement(VARTYPE vt, const void* from, void* to, ULONG size) {
  if (vt == VT_BSTR) {
    BSTR s = *static_cast<const BSTR*>(from);
    BSTR copy = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
    if (s && !copy) return E_OUTOFMEMORY;
    *static_cast<BSTR*>(to) = copy;
  } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
    auto* p = *static_cast<IUnknown* const*>(from);
    if (p) p->AddRef();
    *static_cast<IUnknown**>(to) = p;
  } else if (vt == VT_VARIANT) {
    VariantInit(static_cast<VARIANT*>(to));
    return VariantCopy(static_cast<VARIANT*>(to), static_cast<const VARIANT*>(from));
  } else {
    std::memcpy(to, from, size);
  }
  return S_OK;
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds) {
  if (dims != 1 || bounds == nullptr) return nullptr;
  return SafeArrayCreateVector(vt, bounds[0].lLbound, bounds[0].cElements);
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) {
  const ULONG size = lum::arrayElementSize(vt);
  if (size == 0 || !lum::detail::isArrayElementType(vt)) return nullptr;
  if (count > std::numeric_limits<std::size_t>::max() / size) return nullptr;
  auto* block = static_cast<ArrayBlock*>(std::calloc(1, sizeof(ArrayBlock)));
  if (block == nullptr) return nullptr;
  // Zeroed memory is a valid empty element of every type (VT_EMPTY, null BSTR, null object).
  void* data = count ? std::calloc(count, size) : nullptr;
  if (count && data == nullptr) {
    std::free(block);
    return nullptr;
  }
  block->vt = vt;
  SAFEARRAY& array = block->array;
  array.cDims = 1;
  array.fFeatures = featuresOf(vt);
  array.cbElements = size;
  array.cLocks = 0;
  array.pvData = data;
  array.rgsabound[0] = {count, lowerBound};
  return &array;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
  if (array == nullptr) return S_OK;
  if (array->cLocks > 0) return DISP_E_ARRAYISLOCKED;
  releaseElements(array);
  std::free(array->pvData);
  std::free(blockOf(array));
  return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* source, SAFEARRAY** copy) {
  if (copy == nullptr) return E_INVALIDARG;
  *copy = nullptr;
  if (source == nullptr) return S_OK;
  const VARTYPE vt = typeOf(source);
  const SAFEARRAYBOUND bound = source->rgsabound[0];
  SAFEARRAY* result = SafeArrayCreateVector(vt, bound.lLbound, bound.cElements);
  if (result == nullptr) return E_OUTOFMEMORY;
  for (ULONG i = 0; i < bound.cElements; ++i) {
    if (HRESULT hr =
            copyElement(vt, elementAt(source, i), elementAt(result, i), source->cbElements);
        FAILED(hr)) {
      SafeArrayDestroy(result);
      return hr;
    }
  }
  *copy = result;
  return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) {
  return array ? array->cDims : 0;
}

UINT SafeArrayGetElemsize(SAFEARRAY* array) {
  return array ? array->cbElements : 0;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
  if (array == nullptr || vt == nullptr) return E_INVALIDARG;
  *vt = typeOf(array);
  return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* lowerBound) {
  if (array == nullptr || lowerBound == nullptr) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  *lowerBound = array->rgsabound[0].lLbound;
  return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* upperBound) {
  if (array == nullptr || upperBound == nullptr) return E_INVALIDARG;
  if (dim != 1) return DISP_E_BADINDEX;
  const int64_t upper = int64_t{array->rgsabound[0].lLbound} + array->rgsabound[0].cElements - 1;
  if (upper > std::numeric_limits<LONG>::max()) return DISP_E_OVERFLOW;
  *upperBound = static_cast<LONG>(upper);
  return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* array) {
  if (array == nullptr) return E_INVALIDARG;
  ++array->cLocks;
  return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* array) {
  if (array == nullptr) return E_INVALIDARG;
  if (array->cLocks == 0) return E_UNEXPECTED;
  --array->cLocks;
  return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
  if (array == nullptr || data == nullptr) return E_INVALIDARG;
  ++array->cLocks;
  *data = array->pvData;
  return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
  return SafeArrayUnlock(array);
}

HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* index, void* value) {
  if (array == nullptr || index == nullptr || value == nullptr) return E_INVALIDARG;
  ULONG i = 0;
  if (!indexOf(array, index, i)) return DISP_E_BADINDEX;
  const VARTYPE vt = typeOf(array);
  if (vt == VT_VARIANT)  // the caller's VARIANT is cleared and receives a copy
    return VariantCopy(static_cast<VARIANT*>(value), static_cast<VARIANT*>(elementAt(array, i)));
  return copyElement(vt, elementAt(array, i), value, array->cbElements);
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* index, void* value) {
  if (array == nullptr || index == nullptr) return E_INVALIDARG;
  ULONG i = 0;
  if (!indexOf(array, index, i)) return DISP_E_BADINDEX;
  const VARTYPE vt = typeOf(array);
  void* slot = elementAt(array, i);
  // Objects and strings are passed as the pointer itself, other types by address.
  if (vt == VT_BSTR) {
    auto s = static_cast<BSTR>(value);
    BSTR copy = s ? SysAllocStringLen(s, SysStringLen(s)) : nullptr;
    if (s && !copy) return E_OUTOFMEMORY;
    SysFreeString(*static_cast<BSTR*>(slot));
    *static_cast<BSTR*>(slot) = copy;
  } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
    auto* p = static_cast<IUnknown*>(value);
    if (p) p->AddRef();
    if (auto* old = *static_cast<IUnknown**>(slot)) old->Release();
    *static_cast<IUnknown**>(slot) = p;
  } else if (vt == VT_VARIANT) {
    if (value == nullptr) return E_INVALIDARG;
    return VariantCopy(static_cast<VARIANT*>(slot), static_cast<VARIANT*>(value));
  } else {
    if (value == nullptr) return E_INVALIDARG;
    std::memcpy(slot, value, array->cbElements);
  }
  return S_OK;
}
