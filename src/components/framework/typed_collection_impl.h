#pragma once
// lcTypedCollectionImpl: an ordered collection of objects answering one interface
// `Item`, with the typed members every such collection has: _NewEnum, Count, Item (read
// and replace, 0-based), FindItem, Remove, Move, Clear and Add (optional index, -1 or
// absent: at the end). The class gives kClass and kCollectionPolicy, and ownMembers()
// when it has members of its own.

#include "components/framework/collection_impl.h"

template <class T, class Itf, class Item>
class lcTypedCollectionImpl : public lcCollectionImpl<T, Itf> {
  using Base = lcCollectionImpl<T, Itf>;
  using This = lcTypedCollectionImpl;

 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(indexedProp<&This::get__NewEnum>(L"_NewEnum", DISPID_NEWENUM),
                     indexedProp<&This::get_Count>(L"Count", DISPID_LumCollection_Count),
                     indexedProp<&This::get_Item, &This::putref_Item>(L"Item", DISPID_VALUE),
                     method<&This::FindItem>(L"FindItem", DISPID_LumCollection_FindItem),
                     method<&This::Remove>(L"Remove", DISPID_LumCollection_Remove),
                     method<&This::Move>(L"Move", DISPID_LumCollection_Move),
                     method<&This::Clear>(L"Clear", DISPID_LumCollection_Clear),
                     method<&This::Add>(L"Add", DISPID_LumCollection_Add)
                         .optionalFrom(1)
                         .defaultFor(1, -1)));
  }
  static constexpr auto ownMembers() { return lum::members(); }

  HRESULT get__NewEnum(IUnknown** enumerator) override {
    if (HRESULT hr = lcClearOutPointers(enumerator); FAILED(hr)) return hr;
    return callBoundary(this->context(L"get__NewEnum"),
                        [&] { *enumerator = this->collection().enumerate().detach(); });
  }
  HRESULT get_Count(LONG* count) override {
    if (count == nullptr) return E_POINTER;
    *count = this->collection().count();
    return S_OK;
  }
  HRESULT get_Item(LONG index, Item** item) override {
    if (HRESULT hr = lcClearOutPointers(item); FAILED(hr)) return hr;
    return callBoundary(this->context(L"get_Item"), [&] {
      const lum::Variant held = this->collection().item(index);
      throwIfFailed(
          held.get().punkVal->QueryInterface(iid_of<Item>, reinterpret_cast<void**>(item)));
    });
  }
  HRESULT FindItem(Item* item, LONG* index) override {
    if (index == nullptr) return E_POINTER;
    *index = -1;
    return callBoundary(this->context(L"FindItem"),
                        [&] { *index = this->collection().findItem(*asVariant(item).ptr()); });
  }
  HRESULT Remove(LONG index) override {
    return callBoundary(this->context(L"Remove"), [&] { this->collection().remove(index); });
  }
  HRESULT Move(LONG from, LONG to) override {
    return callBoundary(this->context(L"Move"), [&] { this->collection().move(from, to); });
  }
  HRESULT Clear() override {
    return callBoundary(this->context(L"Clear"), [&] { this->collection().clear(); });
  }
  HRESULT putref_Item(LONG index, Item* item) override {
    return callBoundary(this->context(L"putref_Item"),
                        [&] { this->collection().replace(index, *asVariant(item).ptr()); });
  }
  HRESULT Add(Item* item, LONG index) override {
    return callBoundary(this->context(L"Add"),
                        [&] { this->collection().add(*asVariant(item).ptr(), {}, index); });
  }

 protected:
  lcTypedCollectionImpl() = default;

 private:
  static lum::Variant asVariant(Item* item) { return lum::Variant(static_cast<IDispatch*>(item)); }
};
