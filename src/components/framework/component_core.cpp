#include "components/framework/component_core.h"

#include <new>
#include <utility>

#include <atomic>
#include "components/framework/com_error.h"
#include "components/framework/managed_bridge.h"
#include "components/framework/module_registration.h"
#include "components/framework/snapshot_enumerator.h"

namespace {

// A snapshot of the connections, handed out by EnumConnections.
using Connection = std::pair<ComPtr<IUnknown>, DWORD>;
using ConnectionEnumerator = lcSnapshotEnumerator<IEnumConnections, CONNECTDATA, Connection>;

HRESULT copyConnection(const Connection& connection, CONNECTDATA* data) {
  data->pUnk = connection.first.get();
  data->pUnk->AddRef();
  data->dwCookie = connection.second;
  return S_OK;
}

void releaseConnection(CONNECTDATA* data) {
  data->pUnk->Release();
}

// The connection list grows by this many free entries when it is full.
constexpr std::size_t kConnectionGrowth = 16;

}  // namespace

// ---- connection point -------------------------------------------------------------------

HRESULT lcConnectionPoint::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid != iid_of<IUnknown> && iid != iid_of<IConnectionPoint>) return E_NOINTERFACE;
  *object = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

ULONG lcConnectionPoint::AddRef() {
  return owner_.self()->AddRef();
}
ULONG lcConnectionPoint::Release() {
  return owner_.self()->Release();
}

HRESULT lcConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = owner_.eventIid();
  return S_OK;
}

HRESULT lcConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = nullptr;
  return owner_.self()->QueryInterface(iid_of<IConnectionPointContainer>,
                                       reinterpret_cast<void**>(container));
}

HRESULT lcConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  return owner_.advise(sink, cookie);
}
HRESULT lcConnectionPoint::Unadvise(DWORD cookie) {
  return owner_.unadvise(cookie);
}
HRESULT lcConnectionPoint::EnumConnections(IEnumConnections** connections) {
  return owner_.enumConnections(connections);
}

// ---- component core ---------------------------------------------------------------------

namespace {
std::atomic<long> gLiveComponents{0};
}

long liveComponentCount() {
  return gLiveComponents.load();
}

lcComponentCore::lcComponentCore(IUnknown* self, const IID& eventIid)
    : self_(self), eventIid_(eventIid) {
  ++gLiveComponents;
}

lcComponentCore::~lcComponentCore() {
  --gLiveComponents;
}

bool lcComponentCore::hasChanged() const {
  lcLockGuard guard(lock_);
  return hasChanged_;
}

void lcComponentCore::setHasChanged(bool changed) {
  lcLockGuard guard(lock_);
  hasChanged_ = changed;
}

void lcComponentCore::fireChange(LONG stateId, LONG flags) {
  VARIANT empty;
  VariantInit(&empty);
  fireChange(stateId, empty, flags);
}

void lcComponentCore::fireChange(LONG stateId, const VARIANT& value, LONG flags) {
  // "Several states changed" carries no value.
  lum::Variant copy = stateId == lumStateSeveralChanged ? lum::Variant() : lum::Variant(value);
  LONG deliverFlags = 0;
  {
    lcLockGuard guard(lock_);
    hasChanged_ = true;
    if (suspendCount_ > 0) {
      pending_.flags |= flags;
      if (pending_.stateId != 0 &&
          (stateId != pending_.stateId || stateId == lumStateItemChanged)) {
        pending_.stateId = lumStateSeveralChanged;
        pending_.value.clear();
      } else {
        pending_.stateId = stateId;
        pending_.value = std::move(copy);
      }
      return;
    }
    deliverFlags = flags | pending_.flags;
    pending_.flags = 0;
  }
  deliverNow(stateId, *copy.ptr(), deliverFlags);
}

void lcComponentCore::suspendDelivery() {
  lcLockGuard guard(lock_);
  ++suspendCount_;
}

void lcComponentCore::resumeDelivery() {
  PendingChange due;
  {
    lcLockGuard guard(lock_);
    if (suspendCount_ == 0) return;
    if (--suspendCount_ != 0 || pending_.stateId == 0) return;
    due = std::exchange(pending_, PendingChange{});
  }
  deliverNow(due.stateId, *due.value.ptr(), due.flags);
}

LONG lcComponentCore::suspendCount() const {
  lcLockGuard guard(lock_);
  return suspendCount_;
}

void lcComponentCore::deliverNow(LONG stateId, const VARIANT& value, LONG flags) {
  // In DISPPARAMS order: flags, value, state ID.
  VARIANT args[3];
  VariantInit(&args[0]);
  args[0].vt = VT_I4;
  args[0].lVal = flags;
  args[1] = value;  // borrowed for the call; sinks do not change their arguments
  VariantInit(&args[2]);
  args[2].vt = VT_I4;
  args[2].lVal = stateId;
  deliver(DISPID_LumChangeEvent, args, 3);
}

void lcComponentCore::deliverToManaged(DISPID dispid, VARIANT* args, UINT count) {
  ComPtr<IUnknown> managed = managedCounterpart();
  if (!managed || !managedLayerActive()) return;
  ComPtr<IDispatch> target = managed.as<IDispatch>();
  if (!target) throw lcCOMError(E_NOINTERFACE, 0);
  DISPPARAMS params{args, nullptr, count, 0};
  throwIfFailed(target->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                               nullptr, nullptr, nullptr));
}

void lcComponentCore::deliver(DISPID dispid, VARIANT* args, UINT count) {
  deliverToManaged(dispid, args, count);
  DISPPARAMS params{args, nullptr, count, 0};
  // One sink at a time: take it under the lock, call it without the lock, so that a sink
  // may call back into the component or unadvise itself or others.
  for (std::size_t i = 0;; ++i) {
    ComPtr<IDispatch> sink;
    {
      lcLockGuard guard(lock_);
      if (i >= connections_.size()) return;
      sink = connections_[i];
    }
    if (sink)  // a failing sink does not stop delivery to the others
      (void)sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                         nullptr, nullptr);
  }
}

HRESULT lcComponentCore::advise(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) return E_POINTER;
  *cookie = 0;
  ComPtr<IDispatch> events;
  if (FAILED(sink->QueryInterface(eventIid_, events.putVoid())) || !events)
    return CONNECT_E_CANNOTCONNECT;
  try {
    lcLockGuard guard(lock_);
    std::size_t slot = 0;
    while (slot < connections_.size() && connections_[slot])
      ++slot;
    if (slot == connections_.size()) connections_.resize(connections_.size() + kConnectionGrowth);
    connections_[slot] = std::move(events);
    *cookie = static_cast<DWORD>(slot + 1);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT lcComponentCore::unadvise(DWORD cookie) {
  ComPtr<IDispatch> released;  // let go after the lock: its release may call back
  {
    lcLockGuard guard(lock_);
    if (cookie == 0 || cookie > connections_.size() || !connections_[cookie - 1])
      return CONNECT_E_NOCONNECTION;
    released = std::move(connections_[cookie - 1]);
  }
  return S_OK;
}

HRESULT lcComponentCore::enumConnections(IEnumConnections** connections) {
  if (connections == nullptr) return E_POINTER;
  *connections = nullptr;
  try {
    std::vector<Connection> items;
    {
      lcLockGuard guard(lock_);
      for (std::size_t i = 0; i < connections_.size(); ++i)
        if (connections_[i]) items.emplace_back(connections_[i].get(), static_cast<DWORD>(i + 1));
    }
    *connections = lum::makeComObject<ConnectionEnumerator>(std::move(items), &copyConnection,
                                                            &releaseConnection)
                       .detach();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

ComPtr<IUnknown> lcComponentCore::managedCounterpart() const {
  lcLockGuard guard(lock_);
  return managed_;
}

void lcComponentCore::setManagedCounterpart(IUnknown* counterpart) {
  ComPtr<IUnknown> previous(counterpart);
  {
    lcLockGuard guard(lock_);
    managed_.swap(previous);
  }
}
