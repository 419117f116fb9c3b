#pragma once
// A chain of transforms applied one after the other: a point is mapped by the last
// element of the list first and by the first element last (archived source "xfcomp").

#include <cstdint>
#include <vector>

#include "std/math/xform_base.h"

class LC_VISIBLE lc2XformComposed final : public lc2XformBase {
 public:
  // The most transforms one chain may apply to a point, counting the elements of chains
  // inside it (an archive may nest chains and share them, which would otherwise let a
  // few bytes build a chain that takes years to evaluate). A longer one loaded from an
  // archive is BadContent.
  static constexpr uint64_t kMaxLength = 4096;

  // A list of one identity linear transform.
  lc2XformComposed();
  // lcBadPointer for an empty handle in the list.
  explicit lc2XformComposed(std::vector<lc2XformHandle> list);

  // `second` after `first`. Composed operands contribute their elements, so that
  // chains stay one level deep.
  static lc2XformHandle chain(const lc2XformHandle& second, const lc2XformHandle& first);

  const std::vector<lc2XformHandle>& list() const { return list_; }
  // Transforms applied per point, chains inside counted by their own length.
  uint64_t length() const { return length_; }

  lc2Vector mapPoint(const lc2Vector& point) const override;
  // The product of the elements' approximations, each taken where the point has got to.
  lc2XformLinear linearApprox(const lc2Vector& point) const override;
  // The elements' inverses in reverse order.
  lc2XformHandle inverse() const override;
  // A new chain sharing the same elements.
  lc2XformHandle clone() const override;
  // Version, base part, then the list of handles.
  void archive(lcArchive& archive) override;

 private:
  std::vector<lc2XformHandle> list_;
  uint64_t length_ = 1;  // transforms applied per point, at most kMaxLength + 1
};
