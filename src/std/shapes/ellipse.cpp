#include "std/shapes/ellipse.h"

#include <cmath>
#include <numbers>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/math/angle.h"
#include "std/shapes/boundary.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lcEllipse2>("lcEllipse2");
}  // namespace

lc2XformLinear lcEllipseFromAxes(const lcEllipseAxes& axes) {
  const double c = std::cos(axes.rotation), s = std::sin(axes.rotation);
  return lc2XformLinear(
      lc2Matrix(axes.radiusX * c, -axes.radiusY * s, axes.radiusX * s, axes.radiusY * c),
      axes.centre);
}

lcEllipseAxes lcAxesOfEllipse(const lc2XformLinear& unitCircle) {
  // The axes are the eigenvectors of E E^T, the radii the roots of its eigenvalues.
  const lc2Matrix& m = unitCircle.matrix();
  const double s00 = m.a() * m.a() + m.b() * m.b(), s11 = m.c() * m.c() + m.d() * m.d();
  const double s01 = m.a() * m.c() + m.b() * m.d();
  const double mean = (s00 + s11) / 2, spread = std::hypot((s00 - s11) / 2, s01);
  lcEllipseAxes axes;
  axes.centre = unitCircle.translation();
  axes.radiusX = std::sqrt(mean + spread);
  axes.radiusY = std::sqrt(std::max(0.0, mean - spread));
  double rotation = 0.5 * std::atan2(2 * s01, s00 - s11);
  if (rotation >= std::numbers::pi / 2) rotation -= std::numbers::pi;
  axes.rotation = rotation;
  return axes;
}

lcShapeHandle lcEllipse2::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcEllipse2>(xform * unitCircle());
}

void lcEllipse2::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "ellipse2", __LINE__);
  lcShape::archive(archive);
  lc2XformLinear e = unitCircle();
  e.archive(archive);
  if (archive.isLoading()) *this = lcEllipse2(e);
}

lcShapeHandle lcEllipse2::reversed() const {
  return lcMakeHandle<lcEllipse2>(lcFlipEllipse(unitCircle()));
}

lcBoundary lcEllipse2::boundary() const {
  return {{lcEllipseContour(unitCircle())}};
}

void lcEllipse2::pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                           lcPixelRowSink& sink) const {
  stretchRows(y0, y1, x0, x1, sink,
              [this](double y, double& lo, double& hi) { return rows_.stretch(y, 1.0, lo, hi); });
}
