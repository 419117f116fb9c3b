#pragma once
// lcChangeEventImpl: the connection-point container with the one connection point of the
// component's event interface, and suspension of change delivery.

#include <new>

#include "components/framework/component_base.h"

namespace lum::detail {
// Enumerates the one connection point a component has.
class LUM_VISIBLE SingleConnectionPointEnumerator final : public ComObject<IEnumConnectionPoints> {
 public:
  explicit SingleConnectionPointEnumerator(IConnectionPoint* point) : point_(point) {}
  HRESULT Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (out == nullptr) return E_POINTER;
    if (count == 0) return S_OK;
    if (done_) return S_FALSE;
    point_.copyTo(out);
    done_ = true;
    if (fetched) *fetched = 1;
    return count == 1 ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    if (count == 0) return S_OK;
    const bool skipped = !done_;
    done_ = true;
    return skipped && count == 1 ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    done_ = false;
    return S_OK;
  }
  HRESULT Clone(IEnumConnectionPoints** copy) override {
    if (copy == nullptr) return E_POINTER;
    *copy = nullptr;
    try {
      auto clone = makeComObject<SingleConnectionPointEnumerator>(point_.get());
      clone->done_ = done_;
      *copy = clone.detach();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

 private:
  ComPtr<IConnectionPoint> point_;
  bool done_ = false;
};
}  // namespace lum::detail

template <class T, class Base>
class lcChangeEventImpl : public Base {
 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(method<&lcChangeEventImpl::SuspendEventDelivery>(
                         L"SuspendEventDelivery", DISPID_LumObject_SuspendEventDelivery),
                     method<&lcChangeEventImpl::ResumeAndFireEvent>(
                         L"ResumeAndFireEvent", DISPID_LumObject_ResumeAndFireEvent),
                     indexedProp<&lcChangeEventImpl::get_EventDeliverySuspended>(
                         L"EventDeliverySuspended", DISPID_LumObject_EventDeliverySuspended)));
  }

  // ---- IConnectionPointContainer ----
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** points) override {
    if (points == nullptr) return E_POINTER;
    *points = nullptr;
    try {
      *points = lum::makeComObject<lum::detail::SingleConnectionPointEnumerator>(
                    this->core().connectionPoint())
                    .detach();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }
  HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (point == nullptr) return E_POINTER;
    *point = nullptr;
    if (iid != this->core().eventIid()) return CONNECT_E_NOCONNECTION;
    *point = this->core().connectionPoint();
    (*point)->AddRef();
    return S_OK;
  }

  // ---- ILumChangeEventConfiguration ----
  HRESULT SuspendEventDelivery() override {
    this->core().suspendDelivery();
    return S_OK;
  }
  HRESULT ResumeAndFireEvent() override {
    return callBoundary(this->context(L"ResumeAndFireEvent"),
                        [&] { this->core().resumeDelivery(); });
  }
  HRESULT get_EventDeliverySuspended(LONG* suspendCount) override {
    if (suspendCount == nullptr) return E_POINTER;
    *suspendCount = this->core().suspendCount();
    return S_OK;
  }
};
