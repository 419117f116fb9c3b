#pragma once
// Late binding: IDispatch with its argument block, the enumerator of VARIANTs, and the
// minimal type information that IProvideClassInfo2 hands out.

#include "platform/unknown.h"
#include "platform/variant.h"

// Arguments of IDispatch::Invoke. `rgvarg` holds the arguments last-first: the first
// argument of the call is rgvarg[cArgs - 1]. Named arguments come first in the array,
// with their dispatch IDs in rgdispidNamedArgs (a property put names DISPID_PROPERTYPUT).
struct DISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};

inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;
inline constexpr DISPID DISPID_NEWENUM = -4;
inline constexpr DISPID DISPID_EVALUATE = -5;

inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

enum TYPEKIND {
  TKIND_ENUM = 0,
  TKIND_RECORD = 1,
  TKIND_MODULE = 2,
  TKIND_INTERFACE = 3,
  TKIND_DISPATCH = 4,
  TKIND_COCLASS = 5,
  TKIND_ALIAS = 6,
  TKIND_UNION = 7,
};

inline constexpr INT IMPLTYPEFLAG_FDEFAULT = 0x1;
inline constexpr INT IMPLTYPEFLAG_FSOURCE = 0x2;

// The type information this platform describes: a named type with its identifier and
// kind and, for a class, the interfaces it implements with their flags.
LUM_INTERFACE_ID(ITypeInfo, IUnknown, lum::guid("{00020401-0000-0000-C000-000000000046}"));
struct LUM_VISIBLE ITypeInfo : IUnknown {
  virtual HRESULT GetGuid(GUID* guid) = 0;
  virtual HRESULT GetName(BSTR* name) = 0;
  virtual HRESULT GetTypeKind(TYPEKIND* kind) = 0;
  virtual HRESULT GetImplTypeCount(UINT* count) = 0;
  virtual HRESULT GetImplTypeGuid(UINT index, GUID* iid) = 0;
  virtual HRESULT GetImplTypeFlags(UINT index, INT* flags) = 0;
};

LUM_INTERFACE_ID(IDispatch, IUnknown, lum::guid("{00020400-0000-0000-C000-000000000046}"));
struct LUM_VISIBLE IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) = 0;
  virtual HRESULT GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO* exception, UINT* argumentError) = 0;
};

LUM_INTERFACE_ID(IEnumVARIANT, IUnknown, lum::guid("{00020404-0000-0000-C000-000000000046}"));
struct LUM_VISIBLE IEnumVARIANT : IUnknown {
  // Copies up to `count` items into `items`; S_FALSE when fewer were left.
  virtual HRESULT Next(ULONG count, VARIANT* items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumVARIANT** copy) = 0;
};

LUM_INTERFACE_ID(IProvideClassInfo, IUnknown, lum::guid("{B196B283-BAB4-101A-B69C-00AA00341D07}"));
struct LUM_VISIBLE IProvideClassInfo : IUnknown {
  virtual HRESULT GetClassInfo(ITypeInfo** info) = 0;
};

inline constexpr DWORD GUIDKIND_DEFAULT_SOURCE_DISP_IID = 1;

LUM_INTERFACE_ID(IProvideClassInfo2, IProvideClassInfo,
                 lum::guid("{A6BC3AC0-DBAA-11CE-9DE3-00AA004BB851}"));
struct LUM_VISIBLE IProvideClassInfo2 : IProvideClassInfo {
  // GUIDKIND_DEFAULT_SOURCE_DISP_IID: the identifier of the class's default event interface.
  virtual HRESULT GetGUID(DWORD kind, GUID* guid) = 0;
};
