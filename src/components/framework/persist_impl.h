#pragma once
// lcPersistImpl: a component's persistence. Persist writes or reads every member the
// class declared with a persisted name, in declaration order (the base layers' members
// first, Tag first of all), through the property archive; IPersistStream hands the
// whole object to the persistence service of the core object library; PostLoad ends a
// load; HasChanged says whether the object changed since it was made or saved.

#include "components/framework/component_base.h"
#include "components/framework/persist_field.h"

// The persistence service, made for each use; null when it cannot be made.
LUM_FRAMEWORK_API ComPtr<ILumPersistenceService> createPersistenceService();

template <class T, class Base>
class lcPersistImpl : public Base {
 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(indexedProp<&lcPersistImpl::get_HasChanged, &lcPersistImpl::put_HasChanged>(
            L"HasChanged", DISPID_LumObject_HasChanged)));
  }

  // ---- ILumPersistArchive ----
  HRESULT Persist(ILumArchive* archive, LONG mode) override {
    if (archive == nullptr) return E_POINTER;
    return callBoundary(this->context(L"Persist"), [&] {
      lum::forEachMember(T::allMembers(), [&](const auto& member) {
        using M = std::decay_t<decltype(member)>;
        if constexpr (lum::isProperty<M>) {
          if (member.persistName == nullptr) return;
          if ((static_cast<uint32_t>(mode) & lumPersistGroupMask & member.groups) == 0) return;
          if (mode & lumPersistWriting)
            writeMember(*archive, member);
          else
            readMember(*archive, mode, member);
        }
      });
      this->self().persistCustom(*archive, mode);
    });
  }
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

  // ---- IPersistStream ----
  HRESULT GetClassID(CLSID* clsid) override {
    if (clsid == nullptr) return E_POINTER;
    *clsid = T::kClass.clsid;
    return S_OK;
  }
  HRESULT IsDirty() override { return this->core().hasChanged() ? S_OK : S_FALSE; }
  HRESULT Load(IStream* stream) override {
    if (stream == nullptr) return E_POINTER;
    ComPtr<ILumPersistenceService> service = createPersistenceService();
    if (!service) return E_FAIL;
    return service->LoadInto(this->core().self(), stream, lumPersistAllGroups);
  }
  HRESULT Save(IStream* stream, BOOL clearDirty) override {
    if (stream == nullptr) return E_POINTER;
    ComPtr<ILumPersistenceService> service = createPersistenceService();
    if (!service) return E_FAIL;
    const HRESULT hr =
        service->Save(this->core().self(), stream, lumPersistAllGroups, lumPersistFormatBinary);
    if (SUCCEEDED(hr) && clearDirty) this->core().setHasChanged(false);
    return hr;
  }
  HRESULT GetSizeMax(ULARGE_INTEGER* size) override {
    if (size == nullptr) return E_POINTER;
    size->QuadPart = 0;
    ComPtr<IStream> counter;
    if (HRESULT hr = lum::createCountingStream(counter.put()); FAILED(hr)) return hr;
    if (HRESULT hr = Save(counter.get(), FALSE); FAILED(hr)) return hr;
    STATSTG stat{};
    counter->Stat(&stat, STATFLAG_NONAME);
    size->QuadPart = stat.cbSize.QuadPart;
    return S_OK;
  }

 private:
  template <class M>
  void writeMember(ILumArchive& archive, const M& member) {
    using Field = typename M::Field;
    Field value;
    {
      lcLockGuard guard(this->core().lock());
      value = this->self().*M::field;
    }
    const lum::Bstr name(member.persistName);
    throwIfFailed(lcPersistField<Field>::write(archive, name.get(), value));
  }

  // A value read passes the member's own check; one that fails it is noted as a problem
  // and the old value kept.
  template <class M>
  void readMember(ILumArchive& archive, LONG mode, const M& member) {
    using Field = typename M::Field;
    const lum::Bstr name(member.persistName);
    Field value;
    {
      lcLockGuard guard(this->core().lock());
      value = this->self().*M::field;
    }
    const HRESULT hr = lcPersistField<Field>::read(archive, name.get(), value);
    throwIfFailed(hr);
    if (hr != S_OK) {
      if (member.clearedWhenAbsent && !(mode & lumPersistKeepAbsentTag)) {
        LONG index = -1;
        archive.FindKey(name.get(), &index);
        if (index < 0) storeLoaded(member, M::Traits::fromLiteral(member.defaultValue));
      }
      return;
    }
    try {
      member.check(member.name, value);
    } catch (const lcCOMError&) {
      archive.AddProblem(name.get(), lum::Bstr(L"<value refused>").get());
      return;
    }
    storeLoaded(member, std::move(value));
  }

  template <class M>
  void storeLoaded(const M& member, typename M::Field value) {
    lcLockGuard guard(this->core().lock());
    std::swap(this->self().*M::field, value);
    this->self().afterPropertyLoaded(member.dispid);
  }
};
