#include "std/math/xform_composed.h"

#include <algorithm>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/except/exception.h"
#include "std/math/xform_linear_object.h"

namespace {

constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lc2XformComposed>("lc2XformComposed");

bool hasEmpty(const std::vector<lc2XformHandle>& list) {
  return std::any_of(list.begin(), list.end(), [](const lc2XformHandle& x) { return !x; });
}

// Appends `xform` to `list`, or its elements when it is a chain itself.
void appendFlat(std::vector<lc2XformHandle>& list, const lc2XformHandle& xform) {
  if (const auto* composed = dynamic_cast<const lc2XformComposed*>(xform.get()))
    list.insert(list.end(), composed->list().begin(), composed->list().end());
  else
    list.push_back(xform);
}

// How many transforms mapping a point through `list` applies, stopping counting past
// the limit.
uint64_t lengthOf(const std::vector<lc2XformHandle>& list) {
  uint64_t length = 0;
  for (const lc2XformHandle& element : list) {
    const auto* composed = dynamic_cast<const lc2XformComposed*>(element.get());
    length += composed ? composed->length() : 1;
    if (length > lc2XformComposed::kMaxLength) return lc2XformComposed::kMaxLength + 1;
  }
  return length;
}

}  // namespace

lc2XformComposed::lc2XformComposed() : list_{lcMakeXform(lc2XformLinear())} {}

lc2XformComposed::lc2XformComposed(std::vector<lc2XformHandle> list) : list_(std::move(list)) {
  if (hasEmpty(list_)) throw lcBadPointer(L"empty transform handle in a chain");
  length_ = lengthOf(list_);
}

lc2XformHandle lc2XformComposed::chain(const lc2XformHandle& second, const lc2XformHandle& first) {
  if (!second || !first) throw lcBadPointer(L"composing with an empty transform handle");
  std::vector<lc2XformHandle> list;
  appendFlat(list, second);
  appendFlat(list, first);
  return lcMakeHandle<lc2XformComposed>(std::move(list));
}

lc2Vector lc2XformComposed::mapPoint(const lc2Vector& point) const {
  lc2Vector mapped = point;
  for (auto element = list_.rbegin(); element != list_.rend(); ++element)
    mapped = (*element)->mapPoint(mapped);
  return mapped;
}

lc2XformLinear lc2XformComposed::linearApprox(const lc2Vector& point) const {
  lc2XformLinear product;
  lc2Vector at = point;
  for (auto element = list_.rbegin(); element != list_.rend(); ++element) {
    product = (*element)->linearApprox(at) * product;
    at = (*element)->mapPoint(at);
  }
  return product;
}

lc2XformHandle lc2XformComposed::inverse() const {
  std::vector<lc2XformHandle> inverses;
  inverses.reserve(list_.size());
  for (auto element = list_.rbegin(); element != list_.rend(); ++element)
    inverses.push_back((*element)->inverse());
  return lcMakeHandle<lc2XformComposed>(std::move(inverses));
}

lc2XformHandle lc2XformComposed::clone() const {
  return lcMakeHandle<lc2XformComposed>(*this);
}

void lc2XformComposed::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "xfcomp", __LINE__);
  lc2XformBase::archive(archive);
  std::vector<lc2XformHandle> list = list_;
  archive.transfer(list);
  if (!archive.isLoading()) return;  // storing writes nothing back: others may be reading
  if (hasEmpty(list)) throw lcArchive::BadContent(L"empty transform handle in a chain");
  const uint64_t length = lengthOf(list);
  if (length > kMaxLength) throw lcArchive::BadContent(L"transform chain too long");
  list_ = std::move(list);
  length_ = length;
}
