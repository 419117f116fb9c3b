#pragma once
// Regions of the core object library: an axis-aligned rectangle (LumRectangle) and an
// affine rectangle (LumRectangleAffine), each over a core shape in the space its
// selected space name names.

#include "components/framework/component.h"
#include "std/shapes/affine_rectangle.h"
#include "std/shapes/rect.h"

namespace lumxstd {

template <class T, class Itf>
class LUM_VISIBLE lcRegionImpl : public lcStdPersistAndChangeImpl<T, Itf> {
  using Base = lcStdPersistAndChangeImpl<T, Itf>;

 public:
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(Base::inheritedMembers(),
                          lum::members(prop<&lcRegionImpl::selected_>(L"SelectedSpaceName",
                                                                      lumRegion_SelectedSpaceName)
                                           .byDefault(L"@")));
  }
  HRESULT get_SelectedSpaceName(BSTR* name) override {
    return this->template getProperty<&lcRegionImpl::selected_>(name);
  }
  HRESULT put_SelectedSpaceName(BSTR name) override {
    return this->template putProperty<&lcRegionImpl::selected_>(name);
  }

  HRESULT Map(ILumTransform2D* transform, ILumRegion** mapped) override;
  HRESULT GetBoundingRect(double* x0, double* y0, double* x1, double* y1) override;
  HRESULT GetPixelAlignedBoundingBox(LONG* x0, LONG* y0, LONG* x1, LONG* y1) override;
  // Encodings come with region masks.
  HRESULT GetRunLengthEncoding(BYTE, BYTE, LONG* offsetX, LONG* offsetY, LONG* width, LONG* height,
                               VARIANT* rows, VARIANT_BOOL* valid) override;

 private:
  lum::Bstr selected_;
};

class LUM_VISIBLE CLumRectangle final : public lcRegionImpl<CLumRectangle, ILumRectangle> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumRectangle, L"CLumRectangle",
                                             L"Halvex.LumRectangle", 1,
                                             L"Axis-aligned rectangle region"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::x_>(L"X", lumRectangle_X),
                        prop<&Self::y_>(L"Y", lumRectangle_Y),
                        prop<&Self::width_>(L"Width", lumRectangle_Width),
                        prop<&Self::height_>(L"Height", lumRectangle_Height));
  }
  LUM_PROPERTY(X, double, x_)
  LUM_PROPERTY(Y, double, y_)
  LUM_PROPERTY(Width, double, width_)
  LUM_PROPERTY(Height, double, height_)

  lcShapeHandle shape() const;
  void setShape(const lcRect& rect);

 private:
  double x_, y_, width_, height_;
};

class LUM_VISIBLE CLumRectangleAffine final
    : public lcRegionImpl<CLumRectangleAffine, ILumRectangleAffine> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumRectangleAffine, L"CLumRectangleAffine",
                                             L"Halvex.LumRectangleAffine", 1,
                                             L"Affine rectangle region"};
  static constexpr auto ownMembers() { return lum::members(); }

  HRESULT GetUnitSquareTransform(ILumTransform2DLinear** unitSquare) override;
  HRESULT SetUnitSquareTransform(ILumTransform2DLinear* unitSquare) override;

  // U as the core archive's bytes of the rectangle ("UnitSquare").
  void persistCustom(ILumArchive& archive, LONG mode);

  lcShapeHandle shape() const;
  void setShape(const lcAffineRectangle& rectangle);

 private:
  lcAffineRectangle rectangle_;
};

// A region object for a shape: LumRectangle for an lcRect, LumRectangleAffine for an
// lcAffineRectangle, LumCircle, LumEllipse, LumCircularAnnulus, LumEllipticalAnnulus,
// LumEllipticalAnnulusSection and LumPolygon for the circle family and lcGenPoly;
// E_NOTIMPL for other shapes.
LUM_VISIBLE ComPtr<ILumRegion> makeRegionObject(const lcShape& shape, std::wstring_view space);

}  // namespace lumxstd
