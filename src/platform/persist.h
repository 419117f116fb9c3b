#pragma once
// Persistence interfaces: class identity, saving into streams and named property bags.

#include "platform/dispatch.h"
#include "platform/stream.h"
#include "platform/unknown.h"

LUM_INTERFACE_ID(IPersist, IUnknown, lum::guid("{0000010C-0000-0000-C000-000000000046}"));
struct LUM_VISIBLE IPersist : IUnknown {
  virtual HRESULT GetClassID(CLSID* clsid) = 0;
};

LUM_INTERFACE_ID(IPersistStream, IPersist, lum::guid("{00000109-0000-0000-C000-000000000046}"));
struct LUM_VISIBLE IPersistStream : IPersist {
  // S_OK when the object changed since it was last saved, S_FALSE otherwise.
  virtual HRESULT IsDirty() = 0;
  virtual HRESULT Load(IStream* stream) = 0;
  virtual HRESULT Save(IStream* stream, BOOL clearDirty) = 0;
  virtual HRESULT GetSizeMax(ULARGE_INTEGER* size) = 0;
};

LUM_INTERFACE_ID(IErrorLog, IUnknown, lum::guid("{3127CA40-446E-11CE-8135-00AA004BB851}"));
struct LUM_VISIBLE IErrorLog : IUnknown {
  virtual HRESULT AddError(LPCOLESTR propertyName, EXCEPINFO* error) = 0;
};

LUM_INTERFACE_ID(IPropertyBag, IUnknown, lum::guid("{55272A00-42CB-11CE-8135-00AA004BB851}"));
struct LUM_VISIBLE IPropertyBag : IUnknown {
  virtual HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) = 0;
  virtual HRESULT Write(LPCOLESTR name, VARIANT* value) = 0;
};
