#pragma once
// LumStringCollection: ordered strings with keys, what a tool's exposed input and output
// properties are. Kept apart from LumCollection: a plain list of texts needs neither
// item events nor listening to items.

#include <vector>

#include "components/framework/component.h"

namespace lumxstd {

class LUM_VISIBLE CLumStringCollection final
    : public lcStdPersistAndChangeImpl<CLumStringCollection, ILumStringCollection> {
  using This = CLumStringCollection;

 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumStringCollection, L"CLumStringCollection",
                                             L"Halvex.LumStringCollection", 1,
                                             L"Ordered strings with keys"};
  static constexpr auto ownMembers() {
    return lum::members(indexedProp<&This::get__NewEnum>(L"_NewEnum", DISPID_NEWENUM),
                        indexedProp<&This::get_Count>(L"Count", DISPID_LumCollection_Count),
                        indexedProp<&This::get_Item>(L"Item", DISPID_VALUE),
                        indexedProp<&This::get_Key>(L"Key", DISPID_LumCollection_Key),
                        method<&This::FindKey>(L"FindKey", DISPID_LumCollection_FindKey),
                        method<&This::Add>(L"Add", DISPID_LumCollection_Add).optionalFrom(1),
                        method<&This::Remove>(L"Remove", DISPID_LumCollection_Remove),
                        method<&This::Clear>(L"Clear", DISPID_LumCollection_Clear));
  }

  HRESULT get__NewEnum(IUnknown** enumerator) override;
  HRESULT get_Count(LONG* count) override;
  HRESULT get_Item(VARIANT indexOrKey, BSTR* item) override;
  HRESULT get_Key(LONG index, BSTR* key) override;
  HRESULT FindKey(BSTR key, LONG* index) override;
  HRESULT Add(BSTR item, BSTR key) override;
  HRESULT Remove(VARIANT indexOrKey) override;
  HRESULT Clear() override;

  // Entry i as "Item<i>" and, when it has a key, "Key<i>".
  void persistCustom(ILumArchive& archive, LONG mode);

 private:
  struct Entry {
    lum::Bstr item;
    lum::Bstr key;
  };
  LONG findKey(std::wstring_view key) const;  // call under the lock
  LONG indexOf(const VARIANT& indexOrKey) const;
  void changed();

  std::vector<Entry> entries_;
};

}  // namespace lumxstd
