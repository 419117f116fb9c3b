#pragma once
// Lists of this library that are read "by index or key" (string collections, sub-records)
// resolve the VARIANT the same way collections do: a string is a key, anything else an
// index; a bad index or an unknown key gives 0x8004C180.

#include <string_view>

#include "components/framework/collection_sink_impl.h"
#include "components/framework/com_error.h"

namespace lumxstd {

// The index `which` names among `count` entries; `findKey(key)` gives the index of the
// first entry with that key or -1. Throws lcCOMError.
template <class FindKey>
LONG indexOrKey(const VARIANT& which, LONG count, FindKey&& findKey) {
  lum::Variant value;
  throwIfFailed(VariantCopyInd(value.ptr(), &which));
  LONG index = -1;
  if (value.type() == VT_BSTR)
    index = findKey(lum::bstrView(value.get().bstrVal));
  else if (SUCCEEDED(value.changeType(VT_I4)))
    index = value.get().lVal;
  if (index < 0 || index >= count) throw lcCOMError(kCollectionBadIndex, 0);
  return index;
}

}  // namespace lumxstd
