#pragma once
// Error information: the description, source and help that a failed call leaves on its
// thread for the caller. Each thread has one slot; reading it empties it.

#include <string_view>

#include "platform/export.h"
#include "platform/unknown.h"

LUM_INTERFACE_ID(IErrorInfo, IUnknown, lum::guid("{1CF2B120-547D-101B-8E65-08002B2BD119}"));
struct LUM_VISIBLE IErrorInfo : IUnknown {
  virtual HRESULT GetGUID(GUID* iid) = 0;
  virtual HRESULT GetSource(BSTR* source) = 0;
  virtual HRESULT GetDescription(BSTR* description) = 0;
  virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
  virtual HRESULT GetHelpContext(DWORD* helpContext) = 0;
};

LUM_INTERFACE_ID(ICreateErrorInfo, IUnknown, lum::guid("{22F03340-547D-101B-8E65-08002B2BD119}"));
struct LUM_VISIBLE ICreateErrorInfo : IUnknown {
  virtual HRESULT SetGUID(REFGUID iid) = 0;
  virtual HRESULT SetSource(LPOLESTR source) = 0;
  virtual HRESULT SetDescription(LPOLESTR description) = 0;
  virtual HRESULT SetHelpFile(LPOLESTR helpFile) = 0;
  virtual HRESULT SetHelpContext(DWORD helpContext) = 0;
};

LUM_INTERFACE_ID(ISupportErrorInfo, IUnknown, lum::guid("{DF0B3D60-548F-101B-8E65-08002B2BD119}"));
struct LUM_VISIBLE ISupportErrorInfo : IUnknown {
  virtual HRESULT InterfaceSupportsErrorInfo(REFIID iid) = 0;
};

// A new, empty error-information object (it also answers IErrorInfo).
LUM_PLATFORM_API HRESULT CreateErrorInfo(ICreateErrorInfo** info);
// Makes `info` (or nothing, when null) the calling thread's error information.
LUM_PLATFORM_API HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
// Hands over the calling thread's error information and clears the slot;
// S_FALSE and null when there is none.
LUM_PLATFORM_API HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);

namespace lum {
// Leaves `description` and `source` as the calling thread's error information and
// returns `code`, for the platform's own failures that a caller should be able to read.
LUM_PLATFORM_API HRESULT reportPlatformError(HRESULT code, std::wstring_view source,
                                             std::wstring_view description) noexcept;
}  // namespace lum
