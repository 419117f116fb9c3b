#pragma once
// Collection components. lcCollectionImpl gives a component an ordered, forwarding
// collection (lcCollectionSinkImpl) under the policy its class declares; typed
// collections implement their interface in one-liners over collection().
// lcVariantCollectionImpl implements ILumCollection itself, for collections of any
// values.
//
// What a collection class provides:
//   static constexpr lcCollectionPolicy kCollectionPolicy  what it holds, whether it
//       refuses duplicates, raises collection events, listens to its items;
//   kClass and ownMembers() as every component does.
// What it gets: the collection's items persist after its members (lcCollectionImpl's
// persistCustom); a class that persists more of its own defines persistCustom and calls
// lcCollectionImpl's from it.

#include "components/framework/collection_sink_impl.h"
#include "components/framework/object_impl.h"

template <class T, class Itf, const IID& EventIid = DIID_ILumCollectionEvents, class... Extra>
class lcCollectionImpl : public lcStdPersistAndChangeImpl<T, Itf, EventIid, Extra...> {
 public:
  lcCollectionSinkImpl& collection() { return collection_; }

  // Items, keys and order, after the members the class declares.
  void persistCustom(ILumArchive& archive, LONG mode) { collection_.persist(archive, mode); }

 protected:
  lcCollectionImpl() = default;

 private:
  lcCollectionSinkImpl collection_{this->core(), T::kCollectionPolicy};
};

// `Itf` is the primary interface: ILumCollection, or an interface that repeats its
// members (then ILumCollection goes in `Extra` too).
template <class T, class Itf = ILumCollection, const IID& EventIid = DIID_ILumCollectionEvents,
          class... Extra>
class lcVariantCollectionImpl : public lcCollectionImpl<T, Itf, EventIid, Extra...> {
  using Base = lcCollectionImpl<T, Itf, EventIid, Extra...>;
  using This = lcVariantCollectionImpl;

 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(
            indexedProp<&This::get__NewEnum>(L"_NewEnum", DISPID_NEWENUM),
            indexedProp<&This::get_Count>(L"Count", DISPID_LumCollection_Count),
            indexedProp<&This::get_Item, &This::putref_Item>(L"Item", DISPID_VALUE),
            method<&This::FindItem>(L"FindItem", DISPID_LumCollection_FindItem),
            indexedProp<&This::get_Key, &This::put_Key>(L"Key", DISPID_LumCollection_Key),
            method<&This::FindKey>(L"FindKey", DISPID_LumCollection_FindKey),
            method<&This::Add>(L"Add", DISPID_LumCollection_Add).optionalFrom(1).defaultFor(2, -1),
            method<&This::Remove>(L"Remove", DISPID_LumCollection_Remove),
            method<&This::Move>(L"Move", DISPID_LumCollection_Move),
            method<&This::Clear>(L"Clear", DISPID_LumCollection_Clear)));
  }

  HRESULT get__NewEnum(IUnknown** enumerator) override {
    if (enumerator == nullptr) return E_POINTER;
    *enumerator = nullptr;
    return callBoundary(this->context(L"get__NewEnum"),
                        [&] { *enumerator = this->collection().enumerate().detach(); });
  }
  HRESULT get_Count(LONG* count) override {
    if (count == nullptr) return E_POINTER;
    *count = this->collection().count();
    return S_OK;
  }
  HRESULT get_Item(LONG index, VARIANT* item) override {
    if (item == nullptr) return E_POINTER;
    VariantInit(item);
    return callBoundary(this->context(L"get_Item"),
                        [&] { this->collection().item(index).detachTo(item); });
  }
  HRESULT putref_Item(LONG index, VARIANT item) override {
    return callBoundary(this->context(L"putref_Item"),
                        [&] { this->collection().replace(index, item); });
  }
  HRESULT FindItem(VARIANT item, LONG* index) override {
    if (index == nullptr) return E_POINTER;
    *index = this->collection().findItem(item);
    return S_OK;
  }
  HRESULT get_Key(LONG index, BSTR* key) override {
    if (key == nullptr) return E_POINTER;
    *key = nullptr;
    return callBoundary(this->context(L"get_Key"),
                        [&] { *key = this->collection().key(index).detach(); });
  }
  HRESULT put_Key(LONG index, BSTR key) override {
    return callBoundary(this->context(L"put_Key"),
                        [&] { this->collection().setKey(index, lum::bstrView(key)); });
  }
  HRESULT FindKey(BSTR key, LONG* index) override {
    if (index == nullptr) return E_POINTER;
    *index = this->collection().findKey(lum::bstrView(key));
    return S_OK;
  }
  HRESULT Add(VARIANT item, BSTR key, LONG index) override {
    return callBoundary(this->context(L"Add"),
                        [&] { this->collection().add(item, lum::bstrView(key), index); });
  }
  HRESULT Remove(VARIANT indexOrKey) override {
    return callBoundary(this->context(L"Remove"), [&] {
      lum::Variant which;
      throwIfFailed(VariantCopyInd(which.ptr(), &indexOrKey));
      // No argument is no index: it must not become 0.
      if (which.type() == VT_EMPTY || which.type() == VT_ERROR) throw lcCOMError(E_INVALIDARG, 0);
      if (which.type() == VT_BSTR) {
        this->collection().removeKey(lum::bstrView(which.get().bstrVal));
        return;
      }
      if (FAILED(which.changeType(VT_I4))) throw lcCOMError(kCollectionBadIndex, 0);
      this->collection().remove(which.get().lVal);
    });
  }
  HRESULT Move(LONG from, LONG to) override {
    return callBoundary(this->context(L"Move"), [&] { this->collection().move(from, to); });
  }
  HRESULT Clear() override {
    return callBoundary(this->context(L"Clear"), [&] { this->collection().clear(); });
  }

 protected:
  lcVariantCollectionImpl() = default;
};
