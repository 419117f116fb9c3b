#include "std/shapes/annulus.h"

#include <algorithm>
#include <cmath>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/shapes/boundary.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registeredAnnulus = lcRegisterArchivable<lcAnnulus>("lcAnnulus");
[[maybe_unused]] const bool registeredEllipseAnnulus =
    lcRegisterArchivable<lcEllipseAnnulus>("lcEllipseAnnulus");

lc2XformLinear at(const lc2Vector& centre) {
  return lc2XformLinear(lc2Matrix(1, 0, 0, 1), centre);
}
}  // namespace

lcAnnulus::lcAnnulus(const lc2Vector& centre, double innerRadius, double outerRadius)
    : lcSpanShape(true), rows_(at(centre)), inner_(innerRadius), outer_(outerRadius) {
  if (!(0.0 <= inner_ && inner_ <= outer_ && std::isfinite(outer_)))
    throw lcShapesError::BadRadius(L"radii must satisfy 0 <= inner <= outer");
}

lcShapeHandle lcAnnulus::map(const lc2XformLinear& xform) const {
  if (xform == lc2XformLinear()) return lcMakeHandle<lcAnnulus>(*this);
  const lc2XformLinear outerCircle(lc2Matrix(outer_, 0, 0, outer_), centre());
  return lcMakeHandle<lcEllipseAnnulus>(xform * outerCircle, outer_ > 0 ? inner_ / outer_ : 0.0);
}

void lcAnnulus::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "annulus", __LINE__);
  lcShape::archive(archive);
  double values[4] = {centre().x, centre().y, inner_, outer_};
  for (double& value : values)
    archive.transfer(value);
  *this = lcAnnulus({values[0], values[1]}, values[2], values[3]);
}

lcEllipseAnnulus::lcEllipseAnnulus(const lc2XformLinear& unitCircle, double secondScale)
    : lcSpanShape(true), rows_(unitCircle), scale_(secondScale) {
  if (!(scale_ >= 0.0 && std::isfinite(scale_)))
    throw lcShapesError::BadRadius(L"the second scale must be finite and >= 0");
}

void lcEllipseAnnulus::rowSpans(double y, lcRealSpans& spans) const {
  rows_.addRing(y, std::min(1.0, scale_), std::max(1.0, scale_), spans);
}

lcExtent lcEllipseAnnulus::extent() const {
  return rows_.box(std::max(1.0, scale_));
}

lcShapeHandle lcEllipseAnnulus::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcEllipseAnnulus>(xform * unitCircle(), scale_);
}

void lcEllipseAnnulus::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "ellannulus", __LINE__);
  lcShape::archive(archive);
  lc2XformLinear e = unitCircle();
  double scale = scale_;
  e.archive(archive);
  archive.transfer(scale);
  if (archive.isLoading()) *this = lcEllipseAnnulus(e, scale);
}

lcBoundary lcAnnulus::boundary() const {
  return lcRingBoundary(rows_.unitCircle, inner_, outer_);
}

lcShapeHandle lcEllipseAnnulus::reversed() const {
  return lcMakeHandle<lcEllipseAnnulus>(lcFlipEllipse(unitCircle()), scale_);
}

lcBoundary lcEllipseAnnulus::boundary() const {
  return lcRingBoundary(unitCircle(), std::min(1.0, scale_), std::max(1.0, scale_));
}
