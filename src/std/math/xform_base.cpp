#include "std/math/xform_base.h"

#include "std/math/math_errors.h"
#include "std/math/xform_composed.h"

lc2XformLinear lc2XformBase::linearApprox(const lc2Vector&) const {
  throw lc2XformDefs::NotImplemented(L"linear approximation");
}

lc2XformHandle lc2XformBase::compose(const lc2XformHandle& other) const {
  return lc2XformComposed::chain(clone(), other);
}

lc2XformHandle lc2XformBase::inverse() const {
  throw lc2XformDefs::NotImplemented(L"inverse");
}
