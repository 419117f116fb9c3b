#pragma once
// ILumObjectImpl: the members every component offers through ILumObject: the computer's
// name, creating objects by ProgID or class identifier, and the Tag a host may hang on
// any component.

#include "components/framework/change_event_impl.h"
#include "components/framework/component_base.h"
#include "components/framework/persist_impl.h"
#include "persist/deep_copy.h"
#include "platform/system_info.h"

template <class T, class Base>
class ILumObjectImpl : public Base {
 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(
            method<&ILumObjectImpl::GetLocalComputerName>(L"GetLocalComputerName",
                                                          DISPID_LumObject_GetLocalComputerName),
            method<&ILumObjectImpl::Clone>(L"Clone", DISPID_LumObject_Clone),
            method<&ILumObjectImpl::CreateObject>(L"CreateObject", DISPID_LumObject_CreateObject),
            // Every put notifies, with an empty value; persisted first of all.
            prop<&ILumObjectImpl::tag_>(L"Tag", DISPID_LumObject_Tag)
                .alwaysNotifies()
                .eventWithoutValue()
                .resetWhenAbsent()));
  }

  HRESULT GetLocalComputerName(BSTR* name) override {
    if (HRESULT hr = lcClearOutPointers(name); FAILED(hr)) return hr;
    return callBoundary(this->context(L"GetLocalComputerName"),
                        [&] { return lum::allocBstr(lum::localComputerName(), name); });
  }

  // A deep copy: everything the object holds is copied, sharing kept.
  HRESULT Clone(ILumObject** copy) override {
    if (HRESULT hr = lcClearOutPointers(copy); FAILED(hr)) return hr;
    return callBoundary(this->context(L"Clone"),
                        [&] { lcDeepCopy(this->core().self(), nullptr, copy); });
  }

  // A string starting with "{" is a class identifier (malformed: CO_E_CLASSSTRING),
  // anything else a ProgID; the object is made in-process. Failures pass unchanged.
  HRESULT CreateObject(BSTR progIdOrClassId, IUnknown** object) override {
    if (HRESULT hr = lcClearOutPointers(object); FAILED(hr)) return hr;
    if (progIdOrClassId == nullptr) return E_INVALIDARG;
    CLSID clsid{};
    const HRESULT parsed = progIdOrClassId[0] == L'{' ? CLSIDFromString(progIdOrClassId, &clsid)
                                                      : CLSIDFromProgID(progIdOrClassId, &clsid);
    if (FAILED(parsed)) return parsed;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<IUnknown>,
                            reinterpret_cast<void**>(object));
  }

  HRESULT get_Tag(VARIANT* tag) override {
    return this->template getProperty<&ILumObjectImpl::tag_>(tag);
  }
  HRESULT put_Tag(VARIANT tag) override {
    return this->template putProperty<&ILumObjectImpl::tag_>(tag);
  }
  HRESULT putref_Tag(VARIANT tag) override {
    return this->template putProperty<&ILumObjectImpl::tag_>(tag);
  }

 protected:
  lum::Variant tag_;  // empty: no tag
};

// The chain every plain component stands on: ILumObject, change events over the
// connection point of `EventIid`, persistence, and the component base.
// Further interfaces the class implements itself go in `Extra`.
template <class T, class Itf, const IID& EventIid = DIID_ILumChangeEvent, class... Extra>
using lcStdPersistAndChangeImpl = ILumObjectImpl<
    T, lcChangeEventImpl<T, lcPersistImpl<T, lcComponentBase<T, Itf, EventIid, Extra...>>>>;
