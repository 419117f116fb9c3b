#pragma once
// Connection points: how an object hands its events to the sinks that advised it.

#include "platform/unknown.h"

struct CONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
};

struct IConnectionPointContainer;

LUM_INTERFACE_ID(IEnumConnections, IUnknown, lum::guid("{B196B287-BAB4-101A-B69C-00AA00341D07}"));
struct LUM_VISIBLE IEnumConnections : IUnknown {
  // Each CONNECTDATA handed out holds a reference to its sink.
  virtual HRESULT Next(ULONG count, CONNECTDATA* items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnections** copy) = 0;
};

LUM_INTERFACE_ID(IConnectionPoint, IUnknown, lum::guid("{B196B286-BAB4-101A-B69C-00AA00341D07}"));
struct LUM_VISIBLE IConnectionPoint : IUnknown {
  virtual HRESULT GetConnectionInterface(IID* iid) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) = 0;
  virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
  virtual HRESULT Unadvise(DWORD cookie) = 0;
  virtual HRESULT EnumConnections(IEnumConnections** connections) = 0;
};

LUM_INTERFACE_ID(IEnumConnectionPoints, IUnknown,
                 lum::guid("{B196B285-BAB4-101A-B69C-00AA00341D07}"));
struct LUM_VISIBLE IEnumConnectionPoints : IUnknown {
  virtual HRESULT Next(ULONG count, IConnectionPoint** items, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnectionPoints** copy) = 0;
};

LUM_INTERFACE_ID(IConnectionPointContainer, IUnknown,
                 lum::guid("{B196B284-BAB4-101A-B69C-00AA00341D07}"));
struct LUM_VISIBLE IConnectionPointContainer : IUnknown {
  virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) = 0;
  virtual HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) = 0;
};
