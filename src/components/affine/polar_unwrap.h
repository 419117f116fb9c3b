#pragma once
// LumPolarUnwrap: the part of an image that an elliptical annulus section covers,
// unwrapped into an upright image (x along the angular span, y across the ring), and the
// mappings of points between the input and the output.

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "lumxip/ip/polar_unwrap.h"

LUM_PARAMETERS(lcPolarUnwrapFields, LUM_POLAR_UNWRAP_PROPERTIES);

class LUM_VISIBLE CLumPolarUnwrap final
    : public lcStdPersistAndChangeImpl<CLumPolarUnwrap, ILumPolarUnwrap>,
      public lcPolarUnwrapFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumPolarUnwrap,
                                             L"CLumPolarUnwrap",
                                             L"Halvex.LumPolarUnwrap",
                                             1,
                                             L"Unwraps an annulus section of an image",
                                             nullptr,
                                             L"LumPolarUnwrapStateIDs"};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        LUM_MEMBER_ROWS(LUM_POLAR_UNWRAP_PROPERTIES),
        lum::members(
            method<&Self::Execute>(L"Execute", DISPID_LumPolarUnwrap_Execute),
            method<&Self::GetInputPointFromOutputPoint>(
                L"GetInputPointFromOutputPoint",
                DISPID_LumPolarUnwrap_GetInputPointFromOutputPoint),
            method<&Self::GetOutputPointFromInputPoint>(
                L"GetOutputPointFromInputPoint", DISPID_LumPolarUnwrap_GetOutputPointFromInputPoint)
                .optionalFrom(4)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_POLAR_UNWRAP_PROPERTIES)

  HRESULT Execute(ILumImage* input, ILumRegion* region, ILumImage** output) override;
  HRESULT GetInputPointFromOutputPoint(ILumImage* input, ILumRegion* region, double outputX,
                                       double outputY, double* inputX, double* inputY) override;
  HRESULT GetOutputPointFromInputPoint(ILumImage* input, ILumRegion* region, double inputX,
                                       double inputY, VARIANT revolution, double* outputX,
                                       double* outputY) override;

 private:
  lcPolarUnwrapFields fields();
};
