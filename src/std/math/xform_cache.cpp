#include "std/math/xform_cache.h"

#include "std/except/exception.h"
#include "std/math/xform_linear_object.h"
#include "std/pelbuf/pel_errors.h"

namespace {
const lc2XformHandle& sharedIdentity() {
  static const lc2XformHandle identity = lcMakeXform(lc2XformLinear());
  return identity;
}
}  // namespace

lc2XformCache::lc2XformCache() : xform_(sharedIdentity()), inverse_(sharedIdentity()) {}

lc2XformCache::lc2XformCache(lc2XformHandle xform) : xform_(std::move(xform)) {
  if (!xform_) throw lcBadPointer(L"empty transform handle");
  isLinear_ = xform_->isLinear();
  if (isLinear_) linear_ = xform_->linearApprox(lc2Vector{});
  try {
    inverse_ = xform_->inverse();
  } catch (const lcException&) {
    // No inverse: inverse() asks the transform again and so throws its own error.
  }
}

lc2XformHandle lc2XformCache::inverse() const {
  return inverse_ ? inverse_ : xform_->inverse();
}

const lc2XformLinear& lc2XformCache::linear() const {
  if (!isLinear_) throw lcPel::NonlinearXform();
  return linear_;
}
