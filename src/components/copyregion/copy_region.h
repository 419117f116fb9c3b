#pragma once
// LumCopyRegion: copies (or fills) the pixels of a region of an input image into a
// destination image or a new image, aligned by the images' corners or a pair of points,
// and reports where either image clipped the copy.

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "lumxip/ip/copy_region.h"

LUM_PARAMETERS(lcCopyRegionFields, LUM_COPY_REGION_PROPERTIES);

// What a copy reports besides its output image.
struct lcCopyRegionReport {
  bool sourceClipped = false;
  bool destinationClipped = false;
  ComPtr<ILumRegion> destinationRegion;  // none without a region
  ComPtr<ILumImage> output;              // none when only the report was asked for
};

class LUM_VISIBLE CLumCopyRegion final
    : public lcStdPersistAndChangeImpl<CLumCopyRegion, ILumCopyRegion>,
      public lcCopyRegionFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumCopyRegion,
                                             L"CLumCopyRegion",
                                             L"Halvex.LumCopyRegion",
                                             1,
                                             L"Copies a region of one image into another",
                                             nullptr,
                                             L"LumCopyRegionStateIDs"};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        LUM_MEMBER_ROWS(LUM_COPY_REGION_PROPERTIES),
        lum::members(
            method<&Self::Execute>(L"Execute", DISPID_LumCopyRegion_Execute).optionalFrom(1),
            method<&Self::ComputeDestinationRegion>(L"ComputeDestinationRegion",
                                                    DISPID_LumCopyRegion_ComputeDestinationRegion)
                .optionalFrom(1)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_COPY_REGION_PROPERTIES)

  HRESULT Execute(ILumImage* input, ILumRegion* region, ILumImage* destination,
                  VARIANT_BOOL* sourceClipped, VARIANT_BOOL* destinationClipped,
                  ILumRegion** destinationRegion, ILumImage** output) override;
  HRESULT ComputeDestinationRegion(ILumImage* input, ILumRegion* region, ILumImage* destination,
                                   VARIANT_BOOL* sourceClipped, VARIANT_BOOL* destinationClipped,
                                   ILumRegion** destinationRegion) override;

  // The copy (writePixels) or only its report; throws.
  static lcCopyRegionReport run(const lcCopyRegionFields& settings, ILumImage* input,
                                ILumRegion* region, ILumImage* destination, bool writePixels);
};
