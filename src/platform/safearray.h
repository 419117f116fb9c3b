#pragma once
// One-dimensional SAFEARRAYs: the arrays that travel inside VARIANTs (VT_ARRAY | type).
// Element types: UI1, I2, I4, R4, R8, BOOL, BSTR, UNKNOWN, DISPATCH and VARIANT.
// Arrays of more than one dimension are not created (SafeArrayCreate gives null).

#include "platform/export.h"
#include "platform/types.h"
#include "platform/variant.h"

struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
};

struct SAFEARRAY {
  USHORT cDims;
  USHORT fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  void* pvData;
  SAFEARRAYBOUND rgsabound[1];
};

inline constexpr USHORT FADF_HAVEVARTYPE = 0x0080;
inline constexpr USHORT FADF_BSTR = 0x0100;
inline constexpr USHORT FADF_UNKNOWN = 0x0200;
inline constexpr USHORT FADF_DISPATCH = 0x0400;
inline constexpr USHORT FADF_VARIANT = 0x0800;

LUM_PLATFORM_API SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, SAFEARRAYBOUND* bounds);
LUM_PLATFORM_API SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count);
// Frees the array and what its elements own; DISP_E_ARRAYISLOCKED while locked.
LUM_PLATFORM_API HRESULT SafeArrayDestroy(SAFEARRAY* array);
LUM_PLATFORM_API HRESULT SafeArrayCopy(SAFEARRAY* source, SAFEARRAY** copy);
LUM_PLATFORM_API UINT SafeArrayGetDim(SAFEARRAY* array);
LUM_PLATFORM_API UINT SafeArrayGetElemsize(SAFEARRAY* array);
LUM_PLATFORM_API HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
LUM_PLATFORM_API HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* lowerBound);
LUM_PLATFORM_API HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* upperBound);
LUM_PLATFORM_API HRESULT SafeArrayLock(SAFEARRAY* array);
LUM_PLATFORM_API HRESULT SafeArrayUnlock(SAFEARRAY* array);
LUM_PLATFORM_API HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
LUM_PLATFORM_API HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
// Element access by index (with the lower bound). Get copies out (a new BSTR, an added
// reference, a VariantCopy); Put copies in and frees what the slot held.
// DISP_E_BADINDEX outside the bounds.
namespace lum {
// The bytes one element of an array of type `vt` takes (a BSTR or object: a pointer);
// 0 for a type arrays cannot hold.
LUM_PLATFORM_API ULONG arrayElementSize(VARTYPE vt);
}  // namespace lum

LUM_PLATFORM_API HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* index, void* value);
LUM_PLATFORM_API HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* index, void* value);
