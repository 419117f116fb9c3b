#pragma once
// Helpers for tests of collections: making one, and reading it through ILumCollection.

#include <gtest/gtest.h>

#include "lumxip/HalvexCore.h"

inline ComPtr<ILumCollection> makeCollection() {
  ComPtr<ILumCollection> collection;
  EXPECT_EQ(CoCreateInstance(CLSID_LumCollection, nullptr, CLSCTX_ALL, iid_of<ILumCollection>,
                             collection.putVoid()),
            S_OK);
  return collection;
}

inline lum::Variant asItem(IUnknown* object) {
  return lum::Variant(object);
}

inline LONG countOf(ILumCollection* c) {
  LONG n = -1;
  c->get_Count(&n);
  return n;
}

inline lum::Variant itemAt(ILumCollection* c, LONG index) {
  lum::Variant item;
  EXPECT_EQ(c->get_Item(index, item.put()), S_OK);
  return item;
}

// The item-change information of a -2 change event.
inline ComPtr<ILumEventInfo> infoOf(const lum::Variant& value) {
  ComPtr<ILumEventInfo> info;
  if (value.type() == VT_DISPATCH && value.get().pdispVal)
    value.get().pdispVal->QueryInterface(iid_of<ILumEventInfo>, info.putVoid());
  return info;
}

inline LONG senderIndexOf(ILumEventInfo* info) {
  LONG index = -1;
  info->get_SenderIndex(&index);
  return index;
}
