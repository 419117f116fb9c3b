#pragma once
// LumIPOneImageOperators: the ordered chain of one-image operators a one-image tool runs.
// It holds each operator once, raises collection events, and passes an operator's change
// on as its own change with state -2 and the operator's index.

#include "components/framework/typed_collection_impl.h"
#include "lumxip/ip/one_image.h"

class LUM_VISIBLE CLumIPOneImageOperators final
    : public lcTypedCollectionImpl<CLumIPOneImageOperators, ILumIPOneImageOperators,
                                   ILumIPOneImageOperatorParams> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageOperators, L"CLumIPOneImageOperators", L"Halvex.LumIPOneImageOperators", 1,
      L"Ordered chain of one-image operators"};
  static constexpr lcCollectionPolicy kCollectionPolicy{&IID_ILumIPOneImageOperatorParams};
};
