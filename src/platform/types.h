#pragma once
// The scalar types and result codes of the component platform, with the widths a
// host written against the component interfaces expects on LP64 Linux.

#include <cstdint>

using HRESULT = int32_t;
using SCODE = int32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using INT = int32_t;
using UINT = uint32_t;
using BOOL = int32_t;
using FLOAT = float;
using DOUBLE = double;
using DISPID = int32_t;
using MEMBERID = int32_t;
using LCID = int32_t;
using VARIANT_BOOL = int16_t;
using OLECHAR = wchar_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using BSTR = OLECHAR*;

struct ULARGE_INTEGER {
  uint64_t QuadPart;
};
struct LARGE_INTEGER {
  int64_t QuadPart;
};

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

constexpr bool SUCCEEDED(HRESULT hr) {
  return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
  return hr < 0;
}

// Builds a result code from its unsigned 32-bit spelling (0x80004003 and so on).
constexpr HRESULT hresultFrom(uint32_t bits) {
  return static_cast<HRESULT>(bits);
}

// Standard result codes.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = hresultFrom(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = hresultFrom(0x80004002);
inline constexpr HRESULT E_POINTER = hresultFrom(0x80004003);
inline constexpr HRESULT E_ABORT = hresultFrom(0x80004004);
inline constexpr HRESULT E_FAIL = hresultFrom(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = hresultFrom(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = hresultFrom(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = hresultFrom(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = hresultFrom(0x80070057);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = hresultFrom(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hresultFrom(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = hresultFrom(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = hresultFrom(0x800401F3);
inline constexpr HRESULT CO_E_BAD_PATH = hresultFrom(0x80080004);
inline constexpr HRESULT CO_E_NOTINITIALIZED = hresultFrom(0x800401F0);
// The persistent registry: its file cannot be read or written, a registered module
// cannot be loaded, or lacks an entry point.
inline constexpr HRESULT REGDB_E_READREGDB = hresultFrom(0x80040150);
inline constexpr HRESULT REGDB_E_WRITEREGDB = hresultFrom(0x80040151);
inline constexpr HRESULT CO_E_DLLNOTFOUND = hresultFrom(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = hresultFrom(0x800401F9);

inline constexpr HRESULT CONNECT_E_NOCONNECTION = hresultFrom(0x80040200);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = hresultFrom(0x80040201);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = hresultFrom(0x80040202);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = hresultFrom(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = hresultFrom(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = hresultFrom(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = hresultFrom(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = hresultFrom(0x80020006);
inline constexpr HRESULT DISP_E_NONAMEDARGS = hresultFrom(0x80020007);
inline constexpr HRESULT DISP_E_BADVARTYPE = hresultFrom(0x80020008);
inline constexpr HRESULT DISP_E_EXCEPTION = hresultFrom(0x80020009);
inline constexpr HRESULT DISP_E_OVERFLOW = hresultFrom(0x8002000A);
inline constexpr HRESULT DISP_E_BADINDEX = hresultFrom(0x8002000B);
inline constexpr HRESULT DISP_E_UNKNOWNLCID = hresultFrom(0x8002000C);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = hresultFrom(0x8002000D);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = hresultFrom(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = hresultFrom(0x8002000F);

inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = hresultFrom(0x8002802B);

inline constexpr HRESULT STG_E_INVALIDFUNCTION = hresultFrom(0x80030001);
inline constexpr HRESULT STG_E_ACCESSDENIED = hresultFrom(0x80030005);
inline constexpr HRESULT STG_E_INVALIDPOINTER = hresultFrom(0x80030009);
inline constexpr HRESULT STG_E_READFAULT = hresultFrom(0x8003001E);
inline constexpr HRESULT STG_E_MEDIUMFULL = hresultFrom(0x80030070);
inline constexpr HRESULT STG_E_SEEKERROR = hresultFrom(0x80030019);
inline constexpr HRESULT STG_E_INVALIDPARAMETER = hresultFrom(0x80030057);

// Class contexts for creating objects. Only in-process servers exist here; the other
// contexts are accepted and served by the in-process registry.
enum CLSCTX : DWORD {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
  CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
  CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
  CLSCTX_ALL =
      CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
};

// The locale identifiers this platform distinguishes: the user's locale (its decimal
// separator comes from the environment) and the invariant one ("." always).
inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
inline constexpr LCID LOCALE_INVARIANT = 0x007F;
