#pragma once
// The base of all transform objects: maps between two planes, shared through counted
// handles and archived through them. Transforms are immutable once made (loading from
// an archive fills a new object before anyone shares it), so worker threads may use
// one transform together. A class archives its version, then the base part (empty),
// then its own values.

#include "std/archive/persistent.h"
#include "std/math/vector.h"
#include "std/math/xform_linear.h"
#include "std/util/ptr_handle.h"

class lc2XformBase;
using lc2XformHandle = lcPtrHandle<lc2XformBase>;

class LC_VISIBLE lc2XformBase : public lcRepBase, public lcPersistent {
 public:
  // Maps a point of the source plane into the destination plane.
  virtual lc2Vector mapPoint(const lc2Vector& point) const = 0;
  // True only for lc2XformLinearObject.
  virtual bool isLinear() const { return false; }
  // The affine map that agrees with this one at `point` to first order;
  // lc2XformDefs::NotImplemented unless the class provides it.
  virtual lc2XformLinear linearApprox(const lc2Vector& point) const;
  // This transform after `other` (`other` applied first). Unless both are linear the
  // result is an lc2XformComposed.
  virtual lc2XformHandle compose(const lc2XformHandle& other) const;
  // The transform that undoes this one; lc2XformDefs::NotImplemented unless the class
  // provides it.
  virtual lc2XformHandle inverse() const;
  // A new object equal to this one.
  virtual lc2XformHandle clone() const = 0;

 protected:
  lc2XformBase() = default;
  lc2XformBase(const lc2XformBase&) = default;
  lc2XformBase& operator=(const lc2XformBase&) = default;
};
