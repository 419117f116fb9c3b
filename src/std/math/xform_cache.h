#pragma once
// A transform together with what readers ask of it most: its inverse, whether it is
// linear and, when it is, its linear value. Everything is worked out when the transform
// is set and never changes afterwards, so threads may read one cache together.

#include "std/math/xform_base.h"
#include "std/math/xform_linear.h"

class LC_VISIBLE lc2XformCache {
 public:
  // The identity (one object shared by every default cache).
  lc2XformCache();
  // lcBadPointer for an empty handle.
  explicit lc2XformCache(lc2XformHandle xform);

  const lc2XformHandle& xform() const { return xform_; }
  // The inverse transform, or the error of the transform's own inverse (for example
  // lcMathError::Singular) when it has none.
  lc2XformHandle inverse() const;
  bool isLinear() const { return isLinear_; }
  // The transform's linear value; lcPel::NonlinearXform when it is not linear.
  const lc2XformLinear& linear() const;

 private:
  lc2XformHandle xform_;
  lc2XformHandle inverse_;  // empty when the transform has no inverse
  bool isLinear_ = true;
  lc2XformLinear linear_;  // the approximation at the origin, when linear
};
