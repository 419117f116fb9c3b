#pragma once
// Regions of the circle family (LumCircle, LumEllipse, LumCircularAnnulus,
// LumEllipticalAnnulus, LumEllipticalAnnulusSection) and the polygon (LumPolygon), each
// over its core shape. Ellipses are kept as centre, radii and rotation; a mapped
// ellipse is brought back to that form (see lcInAxesForm).

#include "components/framework/member_checks.h"
#include "lumxstd/regions.h"
#include "std/shapes/annulus.h"
#include "std/shapes/circle.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/ellipse_annulus_section.h"
#include "std/shapes/gen_poly.h"

namespace lumxstd {

// The centre and axes rows every ellipse region declares: CenterX, CenterY, RadiusX,
// RadiusY (>= 0, default 1), Rotation.
#define LUM_ELLIPSE_AXES_MEMBERS                                                              \
  prop<&Self::cx_>(L"CenterX", lumRegion_CenterX),                                            \
      prop<&Self::cy_>(L"CenterY", lumRegion_CenterY),                                        \
      prop<&Self::rx_>(L"RadiusX", lumRegion_RadiusX).byDefault(1.0).checkedBy(atLeast(0.0)), \
      prop<&Self::ry_>(L"RadiusY", lumRegion_RadiusY).byDefault(1.0).checkedBy(atLeast(0.0)), \
      prop<&Self::rotation_>(L"Rotation", lumRegion_Rotation)
#define LUM_ELLIPSE_AXES_PROPERTIES  \
  LUM_PROPERTY(CenterX, double, cx_) \
  LUM_PROPERTY(CenterY, double, cy_) \
  LUM_PROPERTY(RadiusX, double, rx_) \
  LUM_PROPERTY(RadiusY, double, ry_) \
  LUM_PROPERTY(Rotation, double, rotation_)

class LUM_VISIBLE CLumCircle final : public lcRegionImpl<CLumCircle, ILumCircle> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumCircle, L"CLumCircle", L"Halvex.LumCircle", 1,
                                             L"Circle region"};
  static constexpr auto ownMembers() {
    return lum::members(
        prop<&Self::cx_>(L"CenterX", lumRegion_CenterX),
        prop<&Self::cy_>(L"CenterY", lumRegion_CenterY),
        prop<&Self::radius_>(L"Radius", lumRegion_Radius).byDefault(1.0).checkedBy(atLeast(0.0)));
  }
  LUM_PROPERTY(CenterX, double, cx_)
  LUM_PROPERTY(CenterY, double, cy_)
  LUM_PROPERTY(Radius, double, radius_)

  lcShapeHandle shape() const;
  void setShape(const lcCircle& circle);

 private:
  double cx_ = 0.0, cy_ = 0.0, radius_ = 1.0;
};

class LUM_VISIBLE CLumEllipse final : public lcRegionImpl<CLumEllipse, ILumEllipse> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumEllipse, L"CLumEllipse", L"Halvex.LumEllipse",
                                             1, L"Ellipse region"};
  static constexpr auto ownMembers() { return lum::members(LUM_ELLIPSE_AXES_MEMBERS); }
  LUM_ELLIPSE_AXES_PROPERTIES

  lcShapeHandle shape() const;
  void setShape(const lcEllipse2& ellipse);

 private:
  double cx_ = 0.0, cy_ = 0.0, rx_ = 1.0, ry_ = 1.0, rotation_ = 0.0;
};

class LUM_VISIBLE CLumCircularAnnulus final
    : public lcRegionImpl<CLumCircularAnnulus, ILumCircularAnnulus> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumCircularAnnulus, L"CLumCircularAnnulus",
                                             L"Halvex.LumCircularAnnulus", 1,
                                             L"Circular ring region"};
  static constexpr auto ownMembers() {
    return lum::members(
        prop<&Self::cx_>(L"CenterX", lumRegion_CenterX),
        prop<&Self::cy_>(L"CenterY", lumRegion_CenterY),
        prop<&Self::radius_>(L"Radius", lumRegion_Radius).byDefault(1.0).checkedBy(atLeast(0.0)),
        prop<&Self::second_>(L"SecondRadius", lumRegion_SecondRadius)
            .byDefault(2.0)
            .checkedBy(atLeast(0.0)));
  }
  LUM_PROPERTY(CenterX, double, cx_)
  LUM_PROPERTY(CenterY, double, cy_)
  LUM_PROPERTY(Radius, double, radius_)
  LUM_PROPERTY(SecondRadius, double, second_)

  lcShapeHandle shape() const;
  void setShape(const lcAnnulus& annulus);

 private:
  double cx_ = 0.0, cy_ = 0.0, radius_ = 1.0, second_ = 2.0;
};

class LUM_VISIBLE CLumEllipticalAnnulus final
    : public lcRegionImpl<CLumEllipticalAnnulus, ILumEllipticalAnnulus> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumEllipticalAnnulus, L"CLumEllipticalAnnulus",
                                             L"Halvex.LumEllipticalAnnulus", 1,
                                             L"Elliptical ring region"};
  static constexpr auto ownMembers() {
    return lum::members(LUM_ELLIPSE_AXES_MEMBERS,
                        prop<&Self::scale_>(L"RadialScale", lumRegion_RadialScale)
                            .byDefault(2.0)
                            .checkedBy(atLeast(0.0)));
  }
  LUM_ELLIPSE_AXES_PROPERTIES
  LUM_PROPERTY(RadialScale, double, scale_)

  lcShapeHandle shape() const;
  void setShape(const lcEllipseAnnulus& annulus);

 private:
  double cx_ = 0.0, cy_ = 0.0, rx_ = 1.0, ry_ = 1.0, rotation_ = 0.0, scale_ = 2.0;
};

class LUM_VISIBLE CLumEllipticalAnnulusSection final
    : public lcRegionImpl<CLumEllipticalAnnulusSection, ILumEllipticalAnnulusSection> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumEllipticalAnnulusSection, L"CLumEllipticalAnnulusSection",
      L"Halvex.LumEllipticalAnnulusSection", 1, L"Elliptical ring section region"};
  static constexpr auto ownMembers() {
    return lum::members(
        LUM_ELLIPSE_AXES_MEMBERS,
        prop<&Self::scale_>(L"RadialScale", lumRegion_RadialScale)
            .byDefault(2.0)
            .checkedBy(atLeast(0.0)),
        prop<&Self::start_>(L"StartAngle", lumRegion_StartAngle),
        prop<&Self::end_>(L"EndAngle", lumRegion_EndAngle).byDefault(3.141592653589793),
        prop<&Self::angleFromStart_>(L"AngleFromStart", lumRegion_AngleFromStart).byDefault(true),
        prop<&Self::radialFromBase_>(L"RadialFromBase", lumRegion_RadialFromBase).byDefault(true));
  }
  LUM_ELLIPSE_AXES_PROPERTIES
  LUM_PROPERTY(RadialScale, double, scale_)
  LUM_PROPERTY(StartAngle, double, start_)
  LUM_PROPERTY(EndAngle, double, end_)
  LUM_PROPERTY(AngleFromStart, VARIANT_BOOL, angleFromStart_)
  LUM_PROPERTY(RadialFromBase, VARIANT_BOOL, radialFromBase_)

  lcShapeHandle shape() const;
  // Takes the section in axes form.
  void setShape(const lcEllipseAnnulusSection& section);

 private:
  double cx_ = 0.0, cy_ = 0.0, rx_ = 1.0, ry_ = 1.0, rotation_ = 0.0, scale_ = 2.0;
  double start_ = 0.0, end_ = 3.141592653589793;
  lcBool angleFromStart_{true}, radialFromBase_{true};
};

class LUM_VISIBLE CLumPolygon final : public lcRegionImpl<CLumPolygon, ILumPolygon> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumPolygon, L"CLumPolygon", L"Halvex.LumPolygon",
                                             1, L"Polygon region"};
  static constexpr auto ownMembers() { return lum::members(); }

  HRESULT get_VertexCount(LONG* count) override;
  HRESULT GetVertex(LONG index, double* x, double* y) override;
  HRESULT AddVertex(double x, double y) override;
  HRESULT SetVertices(VARIANT coordinates) override;
  HRESULT GetVertices(VARIANT* coordinates) override;

  // The polygon as the core archive's bytes ("Vertices").
  void persistCustom(ILumArchive& archive, LONG mode);

  lcShapeHandle shape() const;
  void setShape(const lcGenPoly& polygon);

 private:
  // Stores `vertices` and raises lumPolygon_Vertices when they differ.
  void changeVertices(std::vector<lc2Vector> vertices);

  lcPtrHandle<lcGenPoly> polygon_ = lcMakeHandle<lcGenPoly>();
};

#undef LUM_ELLIPSE_AXES_MEMBERS
#undef LUM_ELLIPSE_AXES_PROPERTIES

}  // namespace lumxstd
