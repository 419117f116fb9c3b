#pragma once
// The linear transform object: an lc2XformLinear value that can be shared and archived
// through handles (archived source "xflinear").

#include "std/math/xform_base.h"

class LC_VISIBLE lc2XformLinearObject final : public lc2XformBase {
 public:
  // The identity.
  lc2XformLinearObject() = default;
  explicit lc2XformLinearObject(const lc2XformLinear& value) : value_(value) {}

  const lc2XformLinear& value() const { return value_; }

  lc2Vector mapPoint(const lc2Vector& point) const override { return value_.mapPoint(point); }
  bool isLinear() const override { return true; }
  lc2XformLinear linearApprox(const lc2Vector&) const override { return value_; }
  // With a linear `other` the result is linear: this value times other's.
  lc2XformHandle compose(const lc2XformHandle& other) const override;
  // lcMathError::Singular for a singular matrix.
  lc2XformHandle inverse() const override;
  lc2XformHandle clone() const override;
  // Version, base part, then the value (translation, then matrix).
  void archive(lcArchive& archive) override;

 private:
  lc2XformLinear value_;
};

// A new shared linear transform object holding `value`.
LC_CORE_API lc2XformHandle lcMakeXform(const lc2XformLinear& value);
