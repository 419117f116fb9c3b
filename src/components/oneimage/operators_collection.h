#pragma once
// LumIPOneImageOperators: the ordered chain of one-image operators a one-image tool runs.
// It holds each operator once, raises collection events, and passes an operator's change
// on as its own change with state -2 and the operator's index.

#include "components/framework/collection_impl.h"
#include "lumxip/ip/one_image.h"

class LUM_VISIBLE CLumIPOneImageOperators final
    : public lcCollectionImpl<CLumIPOneImageOperators, ILumIPOneImageOperators> {
  using This = CLumIPOneImageOperators;

 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageOperators, L"CLumIPOneImageOperators", L"Halvex.LumIPOneImageOperators", 1,
      L"Ordered chain of one-image operators"};
  static constexpr lcCollectionPolicy kCollectionPolicy{&IID_ILumIPOneImageOperatorParams};
  static constexpr auto ownMembers() {
    return lum::members(
        indexedProp<&This::get__NewEnum>(L"_NewEnum", DISPID_NEWENUM),
        indexedProp<&This::get_Count>(L"Count", DISPID_LumCollection_Count),
        indexedProp<&This::get_Item, &This::putref_Item>(L"Item", DISPID_VALUE),
        method<&This::FindItem>(L"FindItem", DISPID_LumCollection_FindItem),
        method<&This::Remove>(L"Remove", DISPID_LumCollection_Remove),
        method<&This::Move>(L"Move", DISPID_LumCollection_Move),
        method<&This::Clear>(L"Clear", DISPID_LumCollection_Clear),
        method<&This::Add>(L"Add", DISPID_LumCollection_Add).optionalFrom(1).defaultFor(1, -1));
  }

  HRESULT get__NewEnum(IUnknown** enumerator) override;
  HRESULT get_Count(LONG* count) override;
  HRESULT get_Item(LONG index, ILumIPOneImageOperatorParams** item) override;
  HRESULT FindItem(ILumIPOneImageOperatorParams* item, LONG* index) override;
  HRESULT Remove(LONG index) override;
  HRESULT Move(LONG from, LONG to) override;
  HRESULT Clear() override;
  HRESULT putref_Item(LONG index, ILumIPOneImageOperatorParams* item) override;
  HRESULT Add(ILumIPOneImageOperatorParams* item, LONG index) override;
};
