#pragma once
// Transform objects of the core object library: thin wrappers over the core transform
// handles, so that composition and inverses come from the core library.
//   LumTransform2DLinear  a linear map (ILumTransform2DLinear): six values
//   LumTransform2D        any transform, linear or not (ILumTransform2D)

#include "components/framework/component.h"
#include "std/math/xform_base.h"

// Hands out the core transform an object of this library wraps.
LUM_INTERFACE_ID(ILumTransformHandle, IUnknown, IID_ILumTransformHandle);
struct LUM_VISIBLE ILumTransformHandle : IUnknown {
  virtual lc2XformHandle xform() const = 0;
};

namespace lumxstd {

class LUM_VISIBLE CLumTransform2DLinear final
    : public lcStdPersistAndChangeImpl<CLumTransform2DLinear, ILumTransform2DLinear,
                                       DIID_ILumChangeEvent, ILumTransformHandle> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumTransform2DLinear, L"CLumTransform2DLinear",
                                             L"Halvex.LumTransform2DLinear", 1,
                                             L"Linear two-dimensional transform"};
  static constexpr auto ownMembers() { return lum::members(); }

  HRESULT get_IsLinear(VARIANT_BOOL* linear) override;
  HRESULT MapPoint(double x, double y, double* mappedX, double* mappedY) override;
  HRESULT GetLinearApproximation(double x, double y, ILumTransform2DLinear** linear) override;
  HRESULT GetValues(double* a, double* b, double* c, double* d, double* tx, double* ty) override;
  HRESULT SetValues(double a, double b, double c, double d, double tx, double ty) override;
  lc2XformHandle xform() const override;

  // Kept as the core archive's bytes of the transform ("Transform").
  void persistCustom(ILumArchive& archive, LONG mode);

  lc2XformLinear value() const;
  void setValue(const lc2XformLinear& value);

 private:
  lc2XformLinear value_;
};

class LUM_VISIBLE CLumTransform2D final
    : public lcStdPersistAndChangeImpl<CLumTransform2D, ILumTransform2D, DIID_ILumChangeEvent,
                                       ILumTransformHandle> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumTransform2D, L"CLumTransform2D",
                                             L"Halvex.LumTransform2D", 1,
                                             L"Two-dimensional transform"};
  static constexpr auto ownMembers() { return lum::members(); }

  HRESULT get_IsLinear(VARIANT_BOOL* linear) override;
  HRESULT MapPoint(double x, double y, double* mappedX, double* mappedY) override;
  HRESULT GetLinearApproximation(double x, double y, ILumTransform2DLinear** linear) override;
  lc2XformHandle xform() const override;
  void persistCustom(ILumArchive& archive, LONG mode);

  void setXform(lc2XformHandle xform);

 private:
  lc2XformHandle xform_;
};

// A transform object for `xform`: LumTransform2DLinear when it is linear.
LUM_VISIBLE ComPtr<ILumTransform2D> makeTransformObject(const lc2XformHandle& xform);
LUM_VISIBLE ComPtr<ILumTransform2DLinear> makeLinearTransformObject(const lc2XformLinear& value);
// The core transform behind any transform object: this library's own hand theirs out;
// others are asked for their linear form, or wrapped so that mapping goes through them.
// Throws lcCOMError for a null object.
LUM_VISIBLE lc2XformHandle xformOf(ILumTransform2D* transform);

}  // namespace lumxstd
