#pragma once
// lcPersistImpl: HasChanged and the component's side of loading (PostLoad). Writing and
// reading the declared members through an archive is the persistence layer's.

#include "components/framework/component_base.h"

template <class T, class Base>
class lcPersistImpl : public Base {
 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(indexedProp<&lcPersistImpl::get_HasChanged, &lcPersistImpl::put_HasChanged>(
            L"HasChanged", DISPID_LumObject_HasChanged)));
  }

  HRESULT Persist(ILumArchive*, LONG) override { return E_NOTIMPL; }
  // The second archive operation was never given a meaning.
  HRESULT PersistReserved(ILumArchive*, LONG) override { return E_NOTIMPL; }

  // After the object was read: the top object (nested false) delivers one event saying
  // that everything changed; an object nested in another drops what accumulated.
  HRESULT PostLoad(VARIANT_BOOL nested) override {
    return callBoundary(this->context(L"PostLoad"), [&] {
      lcComponentCore& core = this->core();
      if (nested) {
        core.editPending([](lcComponentCore::PendingChange& pending, LONG& suspendCount) {
          suspendCount = 0;
          pending = {};
        });
        return;
      }
      core.editPending([](lcComponentCore::PendingChange& pending, LONG&) {
        pending.stateId = lumStateSeveralChanged;
        pending.flags = static_cast<LONG>(0xFFFFFFFF);
        pending.value.clear();
      });
      core.resumeDelivery();
    });
  }

  HRESULT get_HasChanged(VARIANT_BOOL* changed) override {
    if (changed == nullptr) return E_POINTER;
    *changed = this->core().hasChanged() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT put_HasChanged(VARIANT_BOOL changed) override {
    this->core().setHasChanged(changed != 0);
    return S_OK;
  }
};
