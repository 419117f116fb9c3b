#pragma once
// The state and behaviour every component shares, kept out of the templates: the lock,
// HasChanged, change delivery (suspension, accumulation, the connection list of the
// event connection point) and the managed counterpart.

#include <vector>

#include "components/framework/export.h"
#include "components/framework/recursive_lock.h"
#include "lumxip/HalvexCore.h"

class lcComponentCore;

// The connection point of a component's event interface. It lives inside the component
// and counts its references on the component.
class LUM_VISIBLE lcConnectionPoint final : public IConnectionPoint {
 public:
  explicit lcConnectionPoint(lcComponentCore& owner) : owner_(owner) {}
  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetConnectionInterface(IID* iid) override;
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT Unadvise(DWORD cookie) override;
  HRESULT EnumConnections(IEnumConnections** connections) override;

 private:
  lcComponentCore& owner_;
};

class LUM_VISIBLE lcComponentCore {
 public:
  // `self` is the component's identity; `eventIid` the event interface it serves.
  lcComponentCore(IUnknown* self, const IID& eventIid);
  virtual ~lcComponentCore();
  lcComponentCore(const lcComponentCore&) = delete;
  lcComponentCore& operator=(const lcComponentCore&) = delete;

  lcRecursiveLock& lock() { return lock_; }
  IUnknown* self() const { return self_; }
  const IID& eventIid() const { return eventIid_; }

  bool hasChanged() const;
  void setHasChanged(bool changed);

  // Sets HasChanged, then delivers the change at once or, while delivery is suspended,
  // accumulates it. Throws when the managed layer refuses the event.
  void fireChange(LONG stateId, const VARIANT& value, LONG flags);
  void fireChange(LONG stateId, LONG flags);  // with an empty value

  // Delivers event `dispid` to every sink now. `args` are in DISPPARAMS order (last
  // argument first).
  void deliver(DISPID dispid, VARIANT* args, UINT count);
  // Hands an event to the managed counterpart only (when there is one and the managed
  // layer is active): collections tell it before a change with negative IDs.
  void deliverToManaged(DISPID dispid, VARIANT* args, UINT count);

  void suspendDelivery();
  void resumeDelivery();
  LONG suspendCount() const;

  // For tools and loading: direct access to the accumulated state.
  struct PendingChange {
    LONG stateId = 0;  // 0: none
    lum::Variant value;
    LONG flags = 0;
  };
  // Runs `edit` on the pending change under the lock.
  template <class Edit>
  void editPending(Edit&& edit) {
    lcLockGuard guard(lock_);
    edit(pending_, suspendCount_);
  }

  // Connection point.
  IConnectionPoint* connectionPoint() { return &connectionPoint_; }
  HRESULT advise(IUnknown* sink, DWORD* cookie);
  HRESULT unadvise(DWORD cookie);
  HRESULT enumConnections(IEnumConnections** connections);

  // Managed counterpart.
  ComPtr<IUnknown> managedCounterpart() const;
  void setManagedCounterpart(IUnknown* counterpart);

 private:
  void deliverNow(LONG stateId, const VARIANT& value, LONG flags);

  IUnknown* self_;
  IID eventIid_;
  mutable lcRecursiveLock lock_;
  bool hasChanged_ = false;
  LONG suspendCount_ = 0;
  PendingChange pending_;
  std::vector<ComPtr<IDispatch>> connections_;  // cookie = index + 1; null = free
  ComPtr<IUnknown> managed_;
  lcConnectionPoint connectionPoint_{*this};
};
