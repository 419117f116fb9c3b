#include "components/framework/advise_sink.h"

#include <algorithm>

namespace {

// The interfaces an event travels on. A collection raises the change event through its
// collection event interface, so a change-event sink connects to either.
std::vector<IID> interfacesCarrying(const IID& eventIid) {
  if (eventIid == DIID_ILumChangeEvent) return {DIID_ILumChangeEvent, DIID_ILumCollectionEvents};
  return {eventIid};
}

ComPtr<IConnectionPoint> findConnectionPoint(IUnknown& source, const IID& eventIid) {
  ComPtr<IConnectionPointContainer> container;
  if (FAILED(source.QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid())))
    return nullptr;
  for (const IID& iid : interfacesCarrying(eventIid)) {
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(container->FindConnectionPoint(iid, point.put())) && point) return point;
  }
  return nullptr;
}

}  // namespace

lcAdviseSink::lcAdviseSink(lcSinkOwner* owner, LONG id, const IID& eventIid, lcSinkFilter filter)
    : owner_(owner), id_(id), eventIid_(eventIid), filter_(std::move(filter)) {}

lcAdviseSink::~lcAdviseSink() = default;

HRESULT lcAdviseSink::connect(IUnknown* source) {
  disconnect();
  if (source == nullptr) return S_FALSE;
  ComPtr<IConnectionPoint> point = findConnectionPoint(*source, eventIid_);
  if (!point) return S_FALSE;
  DWORD cookie = 0;
  if (HRESULT hr = point->Advise(static_cast<IDispatch*>(this), &cookie); FAILED(hr)) return hr;
  std::lock_guard lock(mutex_);
  point_ = std::move(point);
  cookie_ = cookie;
  return S_OK;
}

void lcAdviseSink::disconnect() {
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
  {
    std::lock_guard lock(mutex_);
    point = std::move(point_);
    cookie = std::exchange(cookie_, 0);
  }
  if (point) point->Unadvise(cookie);  // outside our lock: the source may deliver meanwhile
}

void lcAdviseSink::detachOwner() {
  std::unique_lock lock(mutex_);
  owner_ = nullptr;
  const std::thread::id self = std::this_thread::get_id();
  handedOver_.wait(lock, [&] {
    return std::all_of(handingOver_.begin(), handingOver_.end(),
                       [&](std::thread::id caller) { return caller == self; });
  });
}

LONG lcAdviseSink::id() const {
  std::lock_guard lock(mutex_);
  return id_;
}

void lcAdviseSink::setId(LONG id) {
  std::lock_guard lock(mutex_);
  id_ = id;
}

bool lcAdviseSink::servesInterface(const IID& iid) const {
  const std::vector<IID> served = interfacesCarrying(eventIid_);
  return std::find(served.begin(), served.end(), iid) != served.end();
}

HRESULT lcAdviseSink::QueryInterface(REFIID iid, void** object) {
  if (object && servesInterface(iid)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  return ComObject::QueryInterface(iid, object);
}

HRESULT lcAdviseSink::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT lcAdviseSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT lcAdviseSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return DISP_E_UNKNOWNNAME;
}

bool lcAdviseSink::accepts(DISPID dispid, const DISPPARAMS& params) const {
  if (dispid != filter_.dispid || params.cArgs != filter_.argumentCount) return false;
  if (params.cArgs > 0 && params.rgvarg == nullptr) return false;
  for (UINT index : filter_.integerArguments) {
    if (index >= params.cArgs) return false;
    if (params.rgvarg[params.cArgs - 1 - index].vt != VT_I4) return false;
  }
  return true;
}

// Calls the owner without the mutex, registered as handing over so that detaching waits.
void lcAdviseSink::handOver(DISPID dispid, const std::vector<lum::Variant>& args) {
  lcSinkOwner* owner = nullptr;
  LONG id = 0;
  const std::thread::id self = std::this_thread::get_id();
  {
    std::lock_guard lock(mutex_);
    if (owner_ == nullptr) return;
    owner = owner_;
    id = id_;
    handingOver_.push_back(self);
  }
  struct Done {
    lcAdviseSink& sink;
    std::thread::id self;
    ~Done() {
      {
        std::lock_guard lock(sink.mutex_);
        sink.handingOver_.erase(
            std::find(sink.handingOver_.begin(), sink.handingOver_.end(), self));
      }
      sink.handedOver_.notify_all();
    }
  } done{*this, self};
  owner->onContainedEvent(id, dispid, args);
}

HRESULT lcAdviseSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                             EXCEPINFO*, UINT*) {
  if (params == nullptr || !accepts(dispid, *params)) return S_OK;  // not ours to pass on
  try {
    std::vector<lum::Variant> args;
    args.reserve(params->cArgs);
    for (UINT i = params->cArgs; i-- > 0;)
      args.emplace_back(params->rgvarg[i]);
    handOver(dispid, args);
  } catch (...) {
    return E_FAIL;  // the raising object carries on with its other sinks
  }
  return S_OK;
}

// ---- lcSinkConnection ------------------------------------------------------------------

lcSinkConnection& lcSinkConnection::operator=(lcSinkConnection&& other) noexcept {
  if (this != &other) {
    reset();
    sink_ = std::move(other.sink_);
  }
  return *this;
}

void lcSinkConnection::reset() noexcept {
  ComPtr<lcAdviseSink> sink = std::move(sink_);
  if (!sink) return;
  sink->detachOwner();
  sink->disconnect();
}
