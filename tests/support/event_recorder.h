#pragma once
// An event sink that records what it receives: dispatch ID and the arguments in
// declaration order (DISPPARAMS holds them last-first).

#include <functional>
#include <mutex>
#include <vector>

#include "lumxip/HalvexCore.h"

class EventRecorder final : public lum::ComObject<IDispatch> {
 public:
  struct Event {
    DISPID dispid;
    std::vector<lum::Variant> args;  // declaration order
    // Of a change event: its state ID, value and flags.
    LONG stateId() const { return args.at(0).get().lVal; }
    const lum::Variant& value() const { return args.at(1); }
    LONG flags() const { return args.at(2).get().lVal; }
  };

  explicit EventRecorder(const IID& eventIid = DIID_ILumChangeEvent) : eventIid_(eventIid) {}

  // Runs inside Invoke, after the event is recorded.
  std::function<void(const Event&)> onEvent;
  HRESULT result = S_OK;  // what Invoke returns

  std::vector<Event> events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    events_.clear();
  }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid == eventIid_) {
      *object = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    return ComObject::QueryInterface(iid, object);
  }
  HRESULT GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                 UINT*) override {
    Event event{dispid, {}};
    for (UINT i = params->cArgs; i-- > 0;)
      event.args.emplace_back(params->rgvarg[i]);
    {
      std::lock_guard lock(mutex_);
      events_.push_back(event);
    }
    if (onEvent) onEvent(event);
    return result;
  }

 private:
  IID eventIid_;
  mutable std::mutex mutex_;
  std::vector<Event> events_;
};

// Advises `sink` on `source`'s connection point for `eventIid`; returns the cookie, 0
// when the source raises no such events.
inline DWORD adviseSink(IUnknown* source, IUnknown* sink,
                        const IID& eventIid = DIID_ILumChangeEvent) {
  ComPtr<IConnectionPointContainer> container;
  source->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid());
  ComPtr<IConnectionPoint> point;
  if (container) container->FindConnectionPoint(eventIid, point.put());
  DWORD cookie = 0;
  if (point) point->Advise(sink, &cookie);
  return cookie;
}

// The object's first connection point: the one its change events go out through.
inline ComPtr<IConnectionPoint> changePointOf(IUnknown* source) {
  ComPtr<IConnectionPointContainer> container;
  source->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid());
  ComPtr<IEnumConnectionPoints> points;
  container->EnumConnectionPoints(points.put());
  ComPtr<IConnectionPoint> point;
  points->Next(1, point.put(), nullptr);
  return point;
}
