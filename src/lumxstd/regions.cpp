#include "lumxstd/regions.h"

#include "lumxstd/round_regions.h"

#include "components/framework/core_bytes.h"
#include "lumxstd/transform_objects.h"
#include "std/archive/memory_archive.h"
#include "std/rlebuf/region_encoding.h"
#include "std/shapes/shape_errors.h"

namespace lumxstd {

template <class T, class Itf>
HRESULT lcRegionImpl<T, Itf>::Map(ILumTransform2D* transform, ILumRegion** mapped) {
  if (mapped == nullptr) return E_POINTER;
  *mapped = nullptr;
  if (transform == nullptr) return E_POINTER;
  return callBoundary(this->context(L"Map"), [&] {
    const lc2XformHandle xform = xformOf(transform);
    if (!xform->isLinear()) throw lcCOMError(hresultFrom(0x8004E200), 0);
    const lcShapeHandle shape = this->self().shape()->map(xform->linearApprox({0, 0}));
    lum::Bstr space;
    {
      lcLockGuard guard(this->core().lock());
      space = selected_;
    }
    *mapped = makeRegionObject(*shape, space.view()).detach();
  });
}

template <class T, class Itf>
HRESULT lcRegionImpl<T, Itf>::GetBoundingRect(double* x0, double* y0, double* x1, double* y1) {
  if (!x0 || !y0 || !x1 || !y1) return E_POINTER;
  return callBoundary(this->context(L"GetBoundingRect"), [&] {
    const lcRect box = this->self().shape()->boundingBox();
    *x0 = box.x(), *y0 = box.y(), *x1 = box.x() + box.width(), *y1 = box.y() + box.height();
  });
}

template <class T, class Itf>
HRESULT lcRegionImpl<T, Itf>::GetPixelAlignedBoundingBox(LONG* x0, LONG* y0, LONG* x1, LONG* y1) {
  if (!x0 || !y0 || !x1 || !y1) return E_POINTER;
  return callBoundary(this->context(L"GetPixelAlignedBoundingBox"), [&] {
    const lcPelRect box = this->self().shape()->pixelWindow();
    *x0 = box.x0, *y0 = box.y0, *x1 = box.x1, *y1 = box.y1;
  });
}

template <class T, class Itf>
HRESULT lcRegionImpl<T, Itf>::GetRunLengthEncoding(BYTE inside, BYTE outside, LONG* offsetX,
                                                   LONG* offsetY, LONG* width, LONG* height,
                                                   VARIANT* rows, VARIANT_BOOL* valid) {
  if (!offsetX || !offsetY || !width || !height || !rows || !valid) return E_POINTER;
  *offsetX = *offsetY = *width = *height = 0;
  VariantInit(rows);
  *valid = VARIANT_FALSE;
  return callBoundary(this->context(L"GetRunLengthEncoding"), [&] {
    lcRLEBuffer encoding;
    try {
      encoding = lcEncodeRegion(*this->self().shape(), inside, outside);
    } catch (const lcShapesError::InfiniteExtent&) {
      return;  // too large to encode: not valid
    }
    lum::Variant bytes = bytesToVariant(encoding.bytes());
    *offsetX = encoding.offsetX(), *offsetY = encoding.offsetY();
    *width = encoding.width(), *height = encoding.height();
    bytes.detachTo(rows);
    *valid = VARIANT_TRUE;
  });
}

template class lcRegionImpl<CLumRectangle, ILumRectangle>;
template class lcRegionImpl<CLumRectangleAffine, ILumRectangleAffine>;
template class lcRegionImpl<CLumCircle, ILumCircle>;
template class lcRegionImpl<CLumEllipse, ILumEllipse>;
template class lcRegionImpl<CLumCircularAnnulus, ILumCircularAnnulus>;
template class lcRegionImpl<CLumEllipticalAnnulus, ILumEllipticalAnnulus>;
template class lcRegionImpl<CLumEllipticalAnnulusSection, ILumEllipticalAnnulusSection>;
template class lcRegionImpl<CLumPolygon, ILumPolygon>;

// ---- LumRectangle ---------------------------------------------------------------------

lcShapeHandle CLumRectangle::shape() const {
  lcLockGuard guard(const_cast<CLumRectangle*>(this)->core().lock());
  return lcMakeHandle<lcRect>(x_, y_, width_, height_);
}

void CLumRectangle::setShape(const lcRect& rect) {
  lcLockGuard guard(core().lock());
  x_ = rect.x(), y_ = rect.y(), width_ = rect.width(), height_ = rect.height();
}

// ---- LumRectangleAffine ---------------------------------------------------------------

lcShapeHandle CLumRectangleAffine::shape() const {
  lcLockGuard guard(const_cast<CLumRectangleAffine*>(this)->core().lock());
  return lcMakeHandle<lcAffineRectangle>(rectangle_);
}

void CLumRectangleAffine::setShape(const lcAffineRectangle& rectangle) {
  lcLockGuard guard(core().lock());
  rectangle_ = rectangle;
}

HRESULT CLumRectangleAffine::GetUnitSquareTransform(ILumTransform2DLinear** unitSquare) {
  if (unitSquare == nullptr) return E_POINTER;
  *unitSquare = nullptr;
  return callBoundary(context(L"GetUnitSquareTransform"), [&] {
    lc2XformLinear u;
    {
      lcLockGuard guard(core().lock());
      u = rectangle_.unitSquare();
    }
    *unitSquare = makeLinearTransformObject(u).detach();
  });
}

HRESULT CLumRectangleAffine::SetUnitSquareTransform(ILumTransform2DLinear* unitSquare) {
  if (unitSquare == nullptr) return E_POINTER;
  return callBoundary(context(L"SetUnitSquareTransform"), [&] {
    const lc2XformLinear u = xformOf(unitSquare)->linearApprox({0, 0});
    {
      lcLockGuard guard(core().lock());
      if (rectangle_.unitSquare() == u) return;
      rectangle_ = lcAffineRectangle(u);
    }
    core().fireChange(lumRectangleAffine_UnitSquare, lumChangeSetByClient);
  });
}

void CLumRectangleAffine::persistCustom(ILumArchive& archive, LONG mode) {
  lcAffineRectangle rectangle;
  {
    lcLockGuard guard(core().lock());
    rectangle = rectangle_;
  }
  if (persistCoreBytes(archive, mode, L"UnitSquare",
                       [&](lcArchive& core) { rectangle.archive(core); }))
    setShape(rectangle);
}

// ---- making ---------------------------------------------------------------------------

namespace {
template <class Region>
ComPtr<Region> makeRegion() {
  ComPtr<Region> region = lum::makeComObject<Region>();
  throwIfFailed(region->FinalConstruct());
  return region;
}

// The region of class Region when `shape` is a Shape.
template <class Region, class Shape>
bool makeIf(const lcShape& shape, ComPtr<ILumRegion>& result) {
  auto* typed = dynamic_cast<const Shape*>(&shape);
  if (typed == nullptr) return false;
  auto region = makeRegion<Region>();
  region->setShape(*typed);
  result = region;
  return true;
}
}  // namespace

ComPtr<ILumRegion> makeRegionObject(const lcShape& shape, std::wstring_view space) {
  ComPtr<ILumRegion> result;
  const bool made = makeIf<CLumRectangle, lcRect>(shape, result) ||
                    makeIf<CLumRectangleAffine, lcAffineRectangle>(shape, result) ||
                    makeIf<CLumCircle, lcCircle>(shape, result) ||
                    makeIf<CLumEllipse, lcEllipse2>(shape, result) ||
                    makeIf<CLumCircularAnnulus, lcAnnulus>(shape, result) ||
                    makeIf<CLumEllipticalAnnulus, lcEllipseAnnulus>(shape, result) ||
                    makeIf<CLumEllipticalAnnulusSection, lcEllipseAnnulusSection>(shape, result) ||
                    makeIf<CLumPolygon, lcGenPoly>(shape, result);
  if (!made)
    throw lcCOMError::withDescription(E_NOTIMPL, L"A region of this shape is not available.");
  throwIfFailed(result->put_SelectedSpaceName(lum::Bstr(space).get()));
  if (auto persist = result.as<ILumPersistArchive>()) persist->put_HasChanged(VARIANT_FALSE);
  return result;
}

}  // namespace lumxstd
