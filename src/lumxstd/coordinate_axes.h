#pragma once
// LumCoordinateAxes: a graphic of two axes at an origin, which a display lets the user
// drag. Tools use it as an interactive point (the two-image tools' alignment points).

#include "components/framework/component.h"

namespace lumxstd {

class LUM_VISIBLE CLumCoordinateAxes final
    : public lcStdPersistAndChangeImpl<CLumCoordinateAxes, ILumCoordinateAxes> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumCoordinateAxes, L"CLumCoordinateAxes",
                                             L"Halvex.LumCoordinateAxes", 1,
                                             L"Coordinate axes graphic"};
  static constexpr auto ownMembers() {
    return lum::members(
        prop<&Self::selected_>(L"SelectedSpaceName", lumCoordinateAxes_SelectedSpaceName)
            .byDefault(L"."),
        prop<&Self::originX_>(L"OriginX", lumCoordinateAxes_OriginX),
        prop<&Self::originY_>(L"OriginY", lumCoordinateAxes_OriginY),
        prop<&Self::axisLength_>(L"AxisLength", lumCoordinateAxes_AxisLength).byDefault(20.0),
        method<&Self::SetOrigin>(L"SetOrigin", DISPID_LumCoordinateAxes_SetOrigin));
  }
  LUM_PROPERTY(SelectedSpaceName, BSTR, selected_)
  LUM_PROPERTY(OriginX, double, originX_)
  LUM_PROPERTY(OriginY, double, originY_)
  LUM_PROPERTY(AxisLength, double, axisLength_)

  HRESULT SetOrigin(double x, double y) override;

 private:
  lum::Bstr selected_;
  double originX_ = 0, originY_ = 0, axisLength_ = 0;
};

}  // namespace lumxstd
