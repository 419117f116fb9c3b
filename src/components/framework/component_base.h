#pragma once
// lcComponentBase: the bottom of every component's template chain. It owns the shared
// state (lcComponentCore), gives each declared property its interface getter and setter
// (LUM_PROPERTY), answers dispatch by name from the member table, and implements
// ISupportErrorInfo, IProvideClassInfo2 and the managed-code bridge.
//
// A component's class declares `kClass` (class_declaration.h) and `ownMembers()`
// (members.h); the layers above (lcPersistImpl, lcChangeEventImpl, ILumObjectImpl,
// operator and tool templates) add their members through `inheritedMembers()`.

#include <new>
#include <tuple>
#include <utility>

#include "components/framework/call_boundary.h"
#include "components/framework/class_declaration.h"
#include "components/framework/component_core.h"
#include "components/framework/dispatch_impl.h"
#include "components/framework/managed_bridge.h"
#include "components/framework/member_descriptions.h"
#include "components/framework/members.h"
#include "lumxip/ip/member_descriptions.h"
#include "platform/type_info.h"

// Interface getter and setter of a property held in `field`, one line in the class.
#define LUM_PROPERTY(Name, Type, field)                     \
  HRESULT get_##Name(Type* value) override {                \
    return this->template getProperty<&Self::field>(value); \
  }                                                         \
  HRESULT put_##Name(Type value) override {                 \
    return this->template putProperty<&Self::field>(value); \
  }

#define LUM_PROPERTY_GET(Name, Type, field)                 \
  HRESULT get_##Name(Type* value) override {                \
    return this->template getProperty<&Self::field>(value); \
  }

#define LUM_PROPERTY_REF(Name, Type, field)                 \
  HRESULT get_##Name(Type** value) override {               \
    return this->template getProperty<&Self::field>(value); \
  }                                                         \
  HRESULT putref_##Name(Type* value) override {             \
    return this->template putProperty<&Self::field>(value); \
  }

template <class T, class Itf, const IID& EventIid, class... Extra>
class lcComponentBase : public lum::ComObject<Itf, ILumObject, ILumChangeEventConfiguration,
                                              IConnectionPointContainer, ILumPersistArchive,
                                              IPersistStream, ISupportErrorInfo, IProvideClassInfo2,
                                              ILumComInternal, ILumMemberDescriptions, Extra...> {
 public:
  using Self = T;
  using PrimaryInterface = Itf;
  template <auto Field>
  using FieldType = typename lum::detail::MemberPointerParts<decltype(Field)>::Field;

  // Creates a component and runs its FinalConstruct: what a class factory does.
  static HRESULT createInstance(IUnknown* outer, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    ComPtr<T> instance;
    try {
      instance = lum::makeComObject<T>();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    if (HRESULT hr = instance->FinalConstruct(); FAILED(hr)) return hr;
    return instance->QueryInterface(iid, object);
  }

  // Sets every declared default; a class that makes contained objects extends it.
  HRESULT FinalConstruct() {
    return callBoundary(context(L"FinalConstruct"), [&] { applyDefaults(); });
  }

  // The whole member table: the layers' members, then the class's own.
  static constexpr auto allMembers() {
    return std::tuple_cat(T::inheritedMembers(), T::ownMembers());
  }
  static constexpr auto inheritedMembers() { return std::tuple<>(); }
  // The class's own exception map, searched before the default map.
  static lcExceptionResultMap exceptionMap() { return {}; }

  lcErrorContext context(const wchar_t* method) const {
    return {T::kClass.clsid, iid_of<Itf>, method, T::kClass.progId, T::exceptionMap()};
  }
  lcComponentCore& core() { return core_; }

  // ---- property machinery (LUM_PROPERTY and dispatch use these) ----

  template <auto Field>
  HRESULT getProperty(typename lcFieldTraits<FieldType<Field>>::Out* out) {
    if (HRESULT hr = lcClearOutPointers(out); FAILED(hr)) return hr;
    static constexpr auto member = lum::propertyFor<Field>(T::allMembers());
    return callBoundary(context(member.getMethod.text), [&] {
      lcLockGuard guard(core_.lock());
      return lcFieldTraits<FieldType<Field>>::read(self().*Field, out);
    });
  }

  template <auto Field>
  HRESULT putProperty(typename lcFieldTraits<FieldType<Field>>::Arg value) {
    static constexpr auto member = lum::propertyFor<Field>(T::allMembers());
    return callBoundary(context(member.putMethod.text), [&] {
      setProperty<Field>(lcFieldTraits<FieldType<Field>>::fromArg(value));
    });
  }

  // A value that does not convert returns the conversion's code, without error
  // information, and puts 0 (the value's position) in `argError`.
  template <auto Field>
  HRESULT putPropertyFromVariant(const VARIANT& value, UINT* argError) {
    static constexpr auto member = lum::propertyFor<Field>(T::allMembers());
    FieldType<Field> converted{};
    HRESULT hr = S_OK;
    try {
      hr = lcFieldTraits<FieldType<Field>>::fromVariant(value, converted);
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
      if (argError) *argError = 0;
      return hr == E_INVALIDARG ? DISP_E_TYPEMISMATCH : hr;
    }
    return callBoundary(context(member.putMethod.text),
                        [&] { setProperty<Field>(std::move(converted)); });
  }

  template <auto Field>
  HRESULT getPropertyAsVariant(lum::Variant& out) {
    static constexpr auto member = lum::propertyFor<Field>(T::allMembers());
    return callBoundary(context(member.getMethod.text), [&] {
      lcLockGuard guard(core_.lock());
      out = lcFieldTraits<FieldType<Field>>::toVariant(self().*Field);
    });
  }

  // Checks, compares, stores and notifies; throws when the check refuses the value.
  // Call inside a call boundary.
  template <auto Field>
  void setProperty(FieldType<Field> value) {
    using Traits = lcFieldTraits<FieldType<Field>>;
    static constexpr auto member = lum::propertyFor<Field>(T::allMembers());
    member.check(member.name, value);
    lum::Variant eventValue;
    {
      lcLockGuard guard(core_.lock());
      auto& field = self().*Field;
      if (member.compares && Traits::equal(field, value)) return;
      std::swap(field, value);  // the old value is released after the lock
      self().afterPropertyStored(member.dispid);
      if (member.eventCarriesValue) eventValue = Traits::toVariant(field);
    }
    core_.fireChange(member.dispid, *eventValue.ptr(), member.changeFlags);
    self().afterPropertyChanged(member.dispid);
  }

  // Called under the lock after a property stored a new value; a class hides it to keep
  // prepared state (lookup tables, kernels) in step.
  void afterPropertyStored(DISPID) {}
  // Called without the lock after a property's change was raised; a class whose
  // properties move together raises the others' changes here.
  void afterPropertyChanged(DISPID) {}
  // Persists what the member table cannot describe (pixels, core objects), after the
  // declared members; a class hides it. Throws on a failed archive call.
  void persistCustom(ILumArchive&, LONG) {}

  // Called under the lock after reading an archive replaced a property's value; by
  // default the same as a store. A container re-wires a replaced contained object here.
  void afterPropertyLoaded(DISPID id) { self().afterPropertyStored(id); }

  // ---- IDispatch ----
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;  // type information comes through IProvideClassInfo
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return lcDispatcher<T>::idsOfNames(names, count, ids);
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) override {
    return lcDispatcher<T>::invoke(self(), id, flags, params, result, exception, argumentError);
  }

  // ---- ILumMemberDescriptions ----
  HRESULT get_MemberCount(LONG* count) override {
    if (count == nullptr) return E_POINTER;
    const auto* table = memberDescriptions();
    if (table == nullptr) return E_OUTOFMEMORY;
    *count = static_cast<LONG>(table->size());
    return S_OK;
  }
  HRESULT GetMember(LONG index, BSTR* name, DISPID* dispid, BSTR* kind, VARTYPE* type,
                    BSTR* defaultValue, BSTR* description) override {
    const auto* table = memberDescriptions();
    if (table == nullptr) return E_OUTOFMEMORY;
    return lcGetMemberDescription(*table, index, name, dispid, kind, type, defaultValue,
                                  description);
  }
  HRESULT GetEnumeration(LONG index, VARIANT* names, VARIANT* values) override {
    const auto* table = memberDescriptions();
    if (table == nullptr) return E_OUTOFMEMORY;
    return lcGetMemberEnumeration(*table, index, names, values);
  }
  // The class's member descriptions, made once on first use; null when that ran out of
  // memory.
  static const std::vector<lcMemberDescription>* memberDescriptions() noexcept {
    try {
      static const std::vector<lcMemberDescription> table = describeMembers<T>();
      return &table;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

  // ---- ISupportErrorInfo ----
  HRESULT InterfaceSupportsErrorInfo(REFIID) override { return S_OK; }

  // ---- IProvideClassInfo2 ----
  HRESULT GetClassInfo(ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    return callBoundary(context(L"GetClassInfo"), [&] {
      const std::wstring_view name(T::kClass.className);
      return lum::createTypeInfo(name.substr(name.starts_with(L'C') ? 1 : 0), T::kClass.clsid,
                                 TKIND_COCLASS,
                                 {{iid_of<Itf>, IMPLTYPEFLAG_FDEFAULT},
                                  {EventIid, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}},
                                 info);
    });
  }
  HRESULT GetGUID(DWORD kind, GUID* guid) override {
    if (guid == nullptr) return E_POINTER;
    *guid = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    *guid = EventIid;
    return S_OK;
  }

  // ---- ILumComInternal ----
  HRESULT GetImpl(IUnknown** counterpart) override {
    if (counterpart == nullptr) return E_POINTER;
    *counterpart = nullptr;
    return callBoundary(context(L"GetImpl"), [&] {
      ComPtr<IUnknown> existing = core_.managedCounterpart();
      if (!existing) {
        throwIfFailed(createManagedCounterpart(T::kClass.className, core_.self(), iid_of<Itf>,
                                               existing.put()));
        core_.setManagedCounterpart(existing.get());
      }
      *counterpart = existing.detach();
    });
  }
  HRESULT SetImpl(IUnknown* counterpart) override {
    core_.setManagedCounterpart(counterpart);
    return S_OK;
  }

 protected:
  lcComponentBase() : core_(static_cast<IUnknown*>(static_cast<Itf*>(this)), EventIid) {}

  T& self() { return static_cast<T&>(*this); }

  void applyDefaults() {
    lum::forEachMember(T::allMembers(), [&](const auto& member) {
      using M = std::decay_t<decltype(member)>;
      if constexpr (lum::isProperty<M>)
        self().*M::field = M::Traits::fromLiteral(member.defaultValue);
    });
  }

 private:
  lcComponentCore core_;
};
