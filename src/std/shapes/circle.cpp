#include "std/shapes/circle.h"

#include <algorithm>
#include <cmath>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/shapes/boundary.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lcCircle>("lcCircle");

// The chord at y: half-width sqrt((r - |dy|)(r + |dy|)), never beyond r.
bool chord(const lc2Vector& centre, double radius, double y, double& lo, double& hi) {
  const double dy = std::abs(y - centre.y);
  if (!(dy <= radius)) return false;
  const double half = std::min(radius, std::sqrt((radius - dy) * (radius + dy)));
  lo = centre.x - half, hi = centre.x + half;
  return true;
}
}  // namespace

lc2XformLinear lcCircle::unitCircle() const {
  return lc2XformLinear(lc2Matrix(radius_, 0.0, 0.0, radius_), centre_);
}

void lcCircle::rowSpans(double y, lcRealSpans& spans) const {
  double lo = 0.0, hi = 0.0;
  if (chord(centre_, radius_, y, lo, hi)) spans.add(lo, hi);
}

lcExtent lcCircle::extent() const {
  return {centre_.x - radius_, centre_.y - radius_, centre_.x + radius_, centre_.y + radius_};
}

lcShapeHandle lcCircle::map(const lc2XformLinear& xform) const {
  if (xform == lc2XformLinear()) return lcMakeHandle<lcCircle>(*this);
  return lcMakeHandle<lcEllipse2>(xform * unitCircle());
}

void lcCircle::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "circle", __LINE__);
  lcShape::archive(archive);
  double values[3] = {centre_.x, centre_.y, radius_};
  for (double& value : values)
    archive.transfer(value);
  *this = lcCircle({values[0], values[1]}, values[2]);
}

void lcCircle::sample(const lcSampleParams& params, lcBoundarySamples& samples) const {
  if (radius_ > 0.0) return lcShape::sample(params, samples);
  lcStartSamples(params, samples);
  if (!params.tangents) samples.points.push_back(centre_);
}

lcBoundary lcCircle::boundary() const {
  return {{lcEllipseContour(unitCircle())}};
}

void lcCircle::pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                         lcPixelRowSink& sink) const {
  stretchRows(y0, y1, x0, x1, sink, [this](double y, double& lo, double& hi) {
    return chord(centre_, radius_, y, lo, hi);
  });
}
