#include "lumxstd/transform_objects.h"

#include "components/framework/core_bytes.h"
#include "std/archive/memory_archive.h"
#include "std/math/xform_linear_object.h"

namespace lumxstd {
namespace {

// A transform of another library, mapped through its interface.
class ForeignXform final : public lc2XformBase {
 public:
  explicit ForeignXform(ComPtr<ILumTransform2D> transform) : transform_(std::move(transform)) {}
  lc2Vector mapPoint(const lc2Vector& point) const override {
    lc2Vector mapped;
    throwIfFailed(transform_->MapPoint(point.x, point.y, &mapped.x, &mapped.y));
    return mapped;
  }
  lc2XformLinear linearApprox(const lc2Vector& point) const override {
    ComPtr<ILumTransform2DLinear> linear;
    throwIfFailed(transform_->GetLinearApproximation(point.x, point.y, linear.put()));
    return xformOf(linear.get())->linearApprox(point);
  }
  lc2XformHandle clone() const override { return lcMakeHandle<ForeignXform>(transform_); }

 private:
  ComPtr<ILumTransform2D> transform_;
};

// Writes or reads a core transform as the bytes of a core archive ("Transform").
void persistXform(ILumArchive& archive, LONG mode, lc2XformHandle& xform) {
  lc2XformHandle value = xform;
  if (!persistCoreBytes(archive, mode, L"Transform",
                        [&](lcArchive& core) { core.transfer(value); }))
    return;
  if (!value) throw lcArchive::BadContent(L"an empty transform");
  xform = std::move(value);
}

}  // namespace

// ---- linear ---------------------------------------------------------------------------

lc2XformLinear CLumTransform2DLinear::value() const {
  lcLockGuard guard(const_cast<CLumTransform2DLinear*>(this)->core().lock());
  return value_;
}

void CLumTransform2DLinear::setValue(const lc2XformLinear& value) {
  {
    lcLockGuard guard(core().lock());
    if (value_ == value) return;
    value_ = value;
  }
  core().fireChange(lumStateSeveralChanged, lumChangeSetByClient);
}

HRESULT CLumTransform2DLinear::get_IsLinear(VARIANT_BOOL* linear) {
  if (linear == nullptr) return E_POINTER;
  *linear = VARIANT_TRUE;
  return S_OK;
}

HRESULT CLumTransform2DLinear::MapPoint(double x, double y, double* mappedX, double* mappedY) {
  if (mappedX == nullptr || mappedY == nullptr) return E_POINTER;
  const lc2Vector p = value().mapPoint({x, y});
  *mappedX = p.x;
  *mappedY = p.y;
  return S_OK;
}

HRESULT CLumTransform2DLinear::GetLinearApproximation(double, double,
                                                      ILumTransform2DLinear** linear) {
  if (linear == nullptr) return E_POINTER;
  *linear = nullptr;
  return callBoundary(context(L"GetLinearApproximation"),
                      [&] { *linear = makeLinearTransformObject(value()).detach(); });
}

HRESULT CLumTransform2DLinear::GetValues(double* a, double* b, double* c, double* d, double* tx,
                                         double* ty) {
  if (!a || !b || !c || !d || !tx || !ty) return E_POINTER;
  const lc2XformLinear v = value();
  *a = v.matrix().a(), *b = v.matrix().b(), *c = v.matrix().c(), *d = v.matrix().d();
  *tx = v.translation().x, *ty = v.translation().y;
  return S_OK;
}

HRESULT CLumTransform2DLinear::SetValues(double a, double b, double c, double d, double tx,
                                         double ty) {
  return callBoundary(context(L"SetValues"), [&] {
    setValue(lc2XformLinear(lc2Matrix(a, b, c, d), {tx, ty}));
  });
}

lc2XformHandle CLumTransform2DLinear::xform() const {
  return lcMakeXform(value());
}

void CLumTransform2DLinear::persistCustom(ILumArchive& archive, LONG mode) {
  lc2XformHandle xform = this->xform();
  persistXform(archive, mode, xform);
  if (mode & lumPersistWriting) return;
  if (!xform->isLinear()) throw lcArchive::BadType(L"a linear transform was expected");
  lcLockGuard guard(core().lock());
  value_ = xform->linearApprox({0, 0});
}

// ---- any ------------------------------------------------------------------------------

void CLumTransform2D::setXform(lc2XformHandle xform) {
  lcLockGuard guard(core().lock());
  xform_ = std::move(xform);
}

lc2XformHandle CLumTransform2D::xform() const {
  lcLockGuard guard(const_cast<CLumTransform2D*>(this)->core().lock());
  return xform_ ? xform_ : lcMakeXform(lc2XformLinear());
}

HRESULT CLumTransform2D::get_IsLinear(VARIANT_BOOL* linear) {
  if (linear == nullptr) return E_POINTER;
  *linear = xform()->isLinear() ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT CLumTransform2D::MapPoint(double x, double y, double* mappedX, double* mappedY) {
  if (mappedX == nullptr || mappedY == nullptr) return E_POINTER;
  return callBoundary(context(L"MapPoint"), [&] {
    const lc2Vector p = xform()->mapPoint({x, y});
    *mappedX = p.x;
    *mappedY = p.y;
  });
}

HRESULT CLumTransform2D::GetLinearApproximation(double x, double y,
                                                ILumTransform2DLinear** linear) {
  if (linear == nullptr) return E_POINTER;
  *linear = nullptr;
  return callBoundary(context(L"GetLinearApproximation"), [&] {
    *linear = makeLinearTransformObject(xform()->linearApprox({x, y})).detach();
  });
}

void CLumTransform2D::persistCustom(ILumArchive& archive, LONG mode) {
  lc2XformHandle xform = this->xform();
  persistXform(archive, mode, xform);
  if (!(mode & lumPersistWriting)) setXform(std::move(xform));
}

// ---- making and unwrapping ------------------------------------------------------------

ComPtr<ILumTransform2DLinear> makeLinearTransformObject(const lc2XformLinear& value) {
  ComPtr<CLumTransform2DLinear> object = lum::makeComObject<CLumTransform2DLinear>();
  throwIfFailed(object->FinalConstruct());
  object->setValue(value);
  object->core().setHasChanged(false);
  return object;
}

ComPtr<ILumTransform2D> makeTransformObject(const lc2XformHandle& xform) {
  if (!xform || xform->isLinear())
    return makeLinearTransformObject(xform ? xform->linearApprox({0, 0}) : lc2XformLinear());
  ComPtr<CLumTransform2D> object = lum::makeComObject<CLumTransform2D>();
  throwIfFailed(object->FinalConstruct());
  object->setXform(xform);
  return object;
}

lc2XformHandle xformOf(ILumTransform2D* transform) {
  if (transform == nullptr) throw lcCOMError(E_POINTER, 0);
  ComPtr<ILumTransformHandle> ours;
  if (SUCCEEDED(transform->QueryInterface(iid_of<ILumTransformHandle>, ours.putVoid())))
    return ours->xform();
  VARIANT_BOOL linear = VARIANT_FALSE;
  throwIfFailed(transform->get_IsLinear(&linear));
  if (!linear) return lcMakeHandle<ForeignXform>(ComPtr<ILumTransform2D>(transform));
  ComPtr<ILumTransform2DLinear> form;
  throwIfFailed(transform->GetLinearApproximation(0, 0, form.put()));
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  throwIfFailed(form->GetValues(&a, &b, &c, &d, &tx, &ty));
  return lcMakeXform(lc2XformLinear(lc2Matrix(a, b, c, d), {tx, ty}));
}

}  // namespace lumxstd
