#pragma once
// lcAdviseSink: how a container listens to an object it holds (a collection to its
// items, a tool to its run parameters and region). The sink connects to the object's
// event connection point and hands each well-formed event to its owner together with
// its own identifier (lcSinkDynamicID: a collection keeps it equal to the entry's
// position). The owner is held by a plain pointer, never counted: the object holds the
// sink, the sink must not hold the container, so that a container is freed when its
// last outside reference goes. The owner detaches its sinks before it dies.

#include <mutex>
#include <vector>

#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"

// Receives the events of the objects a container listens to.
class LUM_VISIBLE lcSinkOwner {
 public:
  virtual ~lcSinkOwner() = default;
  // `args` in declaration order.
  virtual void onContainedEvent(LONG sinkId, DISPID dispid,
                                const std::vector<lum::Variant>& args) = 0;
};

// The events a sink passes on: a dispatch ID and argument count, and which argument
// (in declaration order) must be a 32-bit integer.
struct lcSinkFilter {
  DISPID dispid = DISPID_LumChangeEvent;
  UINT argumentCount = 3;
  std::vector<UINT> integerArguments = {0, 2};  // state ID and flags of a change event
};

class LUM_VISIBLE lcAdviseSink final : public lum::ComObject<IDispatch> {
 public:
  lcAdviseSink(lcSinkOwner* owner, LONG id, const IID& eventIid = DIID_ILumChangeEvent,
               lcSinkFilter filter = {});
  ~lcAdviseSink() override;

  // Connects to `source`; S_FALSE (and no connection) when it has no such connection
  // point. A sink connects to one object at a time: connecting again moves it.
  HRESULT connect(IUnknown* source);
  void disconnect();
  // The owner is going away: no event reaches it after this returns.
  void detachOwner();

  LONG id() const;
  void setId(LONG id);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                 UINT*) override;

 private:
  bool accepts(DISPID dispid, const DISPPARAMS& params) const;

  mutable std::recursive_mutex mutex_;  // guards owner_, id_ and the connection
  lcSinkOwner* owner_;
  LONG id_;
  const IID eventIid_;
  const lcSinkFilter filter_;
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};
