#pragma once
// LumAffineTransform: the part of an image that an affine rectangle covers, resampled
// into an upright image whose size is the rectangle's side lengths times two scalings,
// with an optional mask of the samples that lay wholly inside the image.

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "lumxip/ip/affine_transform.h"

LUM_PARAMETERS(lcAffineTransformFields, LUM_AFFINE_TRANSFORM_PROPERTIES);

class LUM_VISIBLE CLumAffineTransform final
    : public lcStdPersistAndChangeImpl<CLumAffineTransform, ILumAffineTransform>,
      public lcAffineTransformFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumAffineTransform,
                                             L"CLumAffineTransform",
                                             L"Halvex.LumAffineTransform",
                                             1,
                                             L"Resamples an affine rectangle of an image",
                                             nullptr,
                                             L"LumAffineTransformStateIDs"};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        LUM_MEMBER_ROWS(LUM_AFFINE_TRANSFORM_PROPERTIES),
        lum::members(
            method<&Self::Execute>(L"Execute", DISPID_LumAffineTransform_Execute).optionalFrom(1)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_AFFINE_TRANSFORM_PROPERTIES)

  HRESULT Execute(ILumImage* input, ILumRegion* region, ILumImage** outputMask,
                  ILumImage** output) override;
};
