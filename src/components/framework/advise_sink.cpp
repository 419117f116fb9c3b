#include "components/framework/advise_sink.h"

lcAdviseSink::lcAdviseSink(lcSinkOwner* owner, LONG id, const IID& eventIid, lcSinkFilter filter)
    : owner_(owner), id_(id), eventIid_(eventIid), filter_(std::move(filter)) {}

lcAdviseSink::~lcAdviseSink() = default;

HRESULT lcAdviseSink::connect(IUnknown* source) {
  disconnect();
  if (source == nullptr) return S_FALSE;
  ComPtr<IConnectionPointContainer> container;
  if (FAILED(source->QueryInterface(iid_of<IConnectionPointContainer>, container.putVoid())))
    return S_FALSE;
  ComPtr<IConnectionPoint> point;
  if (FAILED(container->FindConnectionPoint(eventIid_, point.put())) || !point) return S_FALSE;
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
  std::lock_guard lock(mutex_);  // waits for an event being handed to the owner
  owner_ = nullptr;
}

LONG lcAdviseSink::id() const {
  std::lock_guard lock(mutex_);
  return id_;
}

void lcAdviseSink::setId(LONG id) {
  std::lock_guard lock(mutex_);
  id_ = id;
}

HRESULT lcAdviseSink::QueryInterface(REFIID iid, void** object) {
  if (object && iid == eventIid_) {
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

HRESULT lcAdviseSink::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                             EXCEPINFO*, UINT*) {
  if (params == nullptr || !accepts(dispid, *params)) return S_OK;  // not ours to pass on
  try {
    std::vector<lum::Variant> args;
    args.reserve(params->cArgs);
    for (UINT i = params->cArgs; i-- > 0;)
      args.emplace_back(params->rgvarg[i]);
    std::lock_guard lock(mutex_);
    if (owner_) owner_->onContainedEvent(id_, dispid, args);
  } catch (...) {
    return E_FAIL;  // the raising object carries on with its other sinks
  }
  return S_OK;
}
