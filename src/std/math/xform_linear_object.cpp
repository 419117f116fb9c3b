#include "std/math/xform_linear_object.h"

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/except/exception.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered =
    lcRegisterArchivable<lc2XformLinearObject>("lc2XformLinear");
}  // namespace

lc2XformHandle lcMakeXform(const lc2XformLinear& value) {
  return lcMakeHandle<lc2XformLinearObject>(value);
}

lc2XformHandle lc2XformLinearObject::compose(const lc2XformHandle& other) const {
  if (!other) throw lcBadPointer(L"composing with an empty transform handle");
  if (other->isLinear()) return lcMakeXform(value_ * other->linearApprox(lc2Vector{}));
  return lc2XformBase::compose(other);
}

lc2XformHandle lc2XformLinearObject::inverse() const {
  return lcMakeXform(value_.inverse());
}

lc2XformHandle lc2XformLinearObject::clone() const {
  return lcMakeXform(value_);
}

void lc2XformLinearObject::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "xflinear", __LINE__);
  lc2XformBase::archive(archive);
  value_.archive(archive);
}
