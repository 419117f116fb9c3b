#include "lumxstd/round_regions.h"

#include <algorithm>

#include "components/framework/core_bytes.h"
#include "platform/safearray.h"

namespace lumxstd {

namespace {

constexpr HRESULT kBadIndex = hresultFrom(0x8004C180);

// The fields' copy under the object's lock.
template <class T, class F>
auto underLock(const T& object, F&& read) {
  lcLockGuard guard(const_cast<T&>(object).core().lock());
  return read();
}

}  // namespace

lcShapeHandle CLumCircle::shape() const {
  return underLock(*this, [&] {
    return lcShapeHandle(lcMakeHandle<lcCircle>(lc2Vector{cx_, cy_}, radius_));
  });
}

void CLumCircle::setShape(const lcCircle& circle) {
  lcLockGuard guard(core().lock());
  cx_ = circle.centre().x, cy_ = circle.centre().y, radius_ = circle.radius();
}

lcShapeHandle CLumEllipse::shape() const {
  return underLock(*this, [&] {
    return lcShapeHandle(lcMakeHandle<lcEllipse2>(lcEllipseAxes{{cx_, cy_}, rx_, ry_, rotation_}));
  });
}

void CLumEllipse::setShape(const lcEllipse2& ellipse) {
  const lcEllipseAxes axes = ellipse.axes();
  lcLockGuard guard(core().lock());
  cx_ = axes.centre.x, cy_ = axes.centre.y, rx_ = axes.radiusX, ry_ = axes.radiusY;
  rotation_ = axes.rotation;
}

lcShapeHandle CLumCircularAnnulus::shape() const {
  return underLock(*this, [&] {
    return lcShapeHandle(lcMakeHandle<lcAnnulus>(lc2Vector{cx_, cy_}, std::min(radius_, second_),
                                                 std::max(radius_, second_)));
  });
}

void CLumCircularAnnulus::setShape(const lcAnnulus& annulus) {
  lcLockGuard guard(core().lock());
  cx_ = annulus.centre().x, cy_ = annulus.centre().y;
  radius_ = annulus.innerRadius(), second_ = annulus.outerRadius();
}

lcShapeHandle CLumEllipticalAnnulus::shape() const {
  return underLock(*this, [&] {
    return lcShapeHandle(lcMakeHandle<lcEllipseAnnulus>(
        lcEllipseFromAxes({{cx_, cy_}, rx_, ry_, rotation_}), scale_));
  });
}

void CLumEllipticalAnnulus::setShape(const lcEllipseAnnulus& annulus) {
  const lcEllipseAxes axes = lcAxesOfEllipse(annulus.unitCircle());
  lcLockGuard guard(core().lock());
  cx_ = axes.centre.x, cy_ = axes.centre.y, rx_ = axes.radiusX, ry_ = axes.radiusY;
  rotation_ = axes.rotation, scale_ = annulus.secondScale();
}

lcShapeHandle CLumEllipticalAnnulusSection::shape() const {
  return underLock(*this, [&] {
    return lcShapeHandle(lcMakeHandle<lcEllipseAnnulusSection>(
        lcEllipseFromAxes({{cx_, cy_}, rx_, ry_, rotation_}), scale_, start_, end_,
        angleFromStart_.value, radialFromBase_.value));
  });
}

void CLumEllipticalAnnulusSection::setShape(const lcEllipseAnnulusSection& given) {
  const lcEllipseAnnulusSection section = lcInAxesForm(given);
  const lcEllipseAxes axes = lcAxesOfEllipse(section.unitCircle());
  lcLockGuard guard(core().lock());
  cx_ = axes.centre.x, cy_ = axes.centre.y, rx_ = axes.radiusX, ry_ = axes.radiusY;
  rotation_ = axes.rotation, scale_ = section.secondScale();
  start_ = section.startAngle(), end_ = section.endAngle();
  angleFromStart_ = lcBool{section.angleFromStart()};
  radialFromBase_ = lcBool{section.radialFromBase()};
}

// ---- LumPolygon -----------------------------------------------------------------------

lcShapeHandle CLumPolygon::shape() const {
  return underLock(*this, [&] { return lcShapeHandle(polygon_); });
}

void CLumPolygon::setShape(const lcGenPoly& polygon) {
  auto copy = lcMakeHandle<lcGenPoly>(polygon);
  lcLockGuard guard(core().lock());
  polygon_ = std::move(copy);
}

void CLumPolygon::changeVertices(std::vector<lc2Vector> vertices) {
  auto changed = lcMakeHandle<lcGenPoly>(std::move(vertices));
  {
    lcLockGuard guard(core().lock());
    if (polygon_->vertices() == changed->vertices()) return;
    polygon_ = std::move(changed);
  }
  core().fireChange(lumPolygon_Vertices, lumChangeSetByClient);
}

HRESULT CLumPolygon::get_VertexCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = static_cast<LONG>(underLock(*this, [&] { return polygon_->vertices().size(); }));
  return S_OK;
}

HRESULT CLumPolygon::GetVertex(LONG index, double* x, double* y) {
  if (!x || !y) return E_POINTER;
  *x = *y = 0;
  return callBoundary(context(L"GetVertex"), [&] {
    const lcPtrHandle<lcGenPoly> polygon = underLock(*this, [&] { return polygon_; });
    if (index < 0 || static_cast<size_t>(index) >= polygon->vertices().size())
      throw lcCOMError(kBadIndex, 0);
    *x = polygon->vertices()[index].x, *y = polygon->vertices()[index].y;
  });
}

HRESULT CLumPolygon::AddVertex(double x, double y) {
  return callBoundary(context(L"AddVertex"), [&] {
    std::vector<lc2Vector> vertices = underLock(*this, [&] { return polygon_->vertices(); });
    vertices.push_back({x, y});
    changeVertices(std::move(vertices));
  });
}

HRESULT CLumPolygon::SetVertices(VARIANT coordinates) {
  return callBoundary(context(L"SetVertices"), [&] {
    lum::Variant values;
    throwIfFailed(VariantCopyInd(values.ptr(), &coordinates));
    if (values.type() != (VT_ARRAY | VT_R8) || values.get().parray == nullptr ||
        values.get().parray->cDims != 1)
      throw lcCOMError::withDescription(E_INVALIDARG, L"Vertices are an array of doubles.");
    const SAFEARRAY* array = values.get().parray;
    const size_t count = array->rgsabound[0].cElements;
    if (count % 2 != 0)
      throw lcCOMError::withDescription(E_INVALIDARG, L"Vertices need an even count of values.");
    const auto* xy = static_cast<const double*>(array->pvData);
    std::vector<lc2Vector> vertices(count / 2);
    for (size_t i = 0; i < vertices.size(); ++i)
      vertices[i] = {xy[2 * i], xy[2 * i + 1]};
    changeVertices(std::move(vertices));
  });
}

HRESULT CLumPolygon::GetVertices(VARIANT* coordinates) {
  if (coordinates == nullptr) return E_POINTER;
  VariantInit(coordinates);
  return callBoundary(context(L"GetVertices"), [&] {
    const lcPtrHandle<lcGenPoly> polygon = underLock(*this, [&] { return polygon_; });
    const std::vector<lc2Vector>& vertices = polygon->vertices();
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(2 * vertices.size()));
    if (array == nullptr) throw std::bad_alloc();
    auto* xy = static_cast<double*>(array->pvData);
    for (size_t i = 0; i < vertices.size(); ++i)
      xy[2 * i] = vertices[i].x, xy[2 * i + 1] = vertices[i].y;
    coordinates->vt = VT_ARRAY | VT_R8;
    coordinates->parray = array;
  });
}

void CLumPolygon::persistCustom(ILumArchive& archive, LONG mode) {
  lcGenPoly polygon = *underLock(*this, [&] { return polygon_; });
  if (persistCoreBytes(archive, mode, L"Vertices", [&](lcArchive& core) { polygon.archive(core); }))
    setShape(polygon);
}

}  // namespace lumxstd
