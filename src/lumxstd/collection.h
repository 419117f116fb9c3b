#pragma once
// LumCollection ("Halvex.LumCollection"): an ordered, keyed collection of any values of
// the core object library. Objects are refused when already present; collection events
// are raised, and changes of the objects it holds are passed on as state -2.

#include "components/framework/collection_impl.h"

namespace lumxstd {

class CLumCollection final : public lcVariantCollectionImpl<CLumCollection> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumCollection, L"CLumCollection",
                                             L"Halvex.LumCollection", 1,
                                             L"Ordered collection of values and objects"};
  static constexpr lcCollectionPolicy kCollectionPolicy{};
  static constexpr auto ownMembers() { return lum::members(); }
};

}  // namespace lumxstd
