#include "std/math/xform_linear.h"

#include "std/archive/archive.h"

lc2XformLinear lc2XformLinear::inverse() const {
  const lc2Matrix inverted = matrix_.inverse();
  return lc2XformLinear(inverted, -(inverted * translation_));
}

void lc2XformLinear::archive(lcArchive& archive) {
  // Read into copies, so that a failed load leaves this value as it was.
  lc2Vector translation = translation_;
  lc2Matrix matrix = matrix_;
  translation.archive(archive);
  matrix.archive(archive);
  // Storing writes nothing back: a shared transform may be read by other threads meanwhile.
  if (!archive.isLoading()) return;
  translation_ = translation;
  matrix_ = matrix;
}
